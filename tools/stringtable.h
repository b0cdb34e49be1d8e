// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Every visible text of the program comes from one table of numbered texts (UTF-8).
// The table built into the program is loaded on first use; a translation may replace it.
namespace tools {

// Replaces the table by the entries of text (the format of resources/strings.txt).
// On a syntax error the table stays as it was and *error names the line.
bool LoadStringTable(std::string_view text, std::string *error = nullptr);

// Goes back to the table built into the program.
void UseBuiltInStringTable();

// The text of id, or empty text when the table has no such id.
const std::string &LoadStr(int id);

// The text of id with its first "%s" replaced by arg (for messages that name a value).
std::string FormatStr(int id, std::string_view arg);

// The text of id with its "%s" replaced by args in order; a "%s" inside an argument stays as it
// is, and surplus "%s" stay too.
std::string FormatStr(int id, std::initializer_list<std::string_view> args);

} // namespace tools
