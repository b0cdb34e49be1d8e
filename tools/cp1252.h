// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The program works in UTF-8; the files it shares with other programs (the film database,
// the exposure tables, the zone plate PDF) hold single-byte Windows-1252 text.
namespace tools {

// Characters that Windows-1252 cannot hold become '?'; invalid UTF-8 bytes likewise.
std::string Utf8ToCp1252(std::string_view utf8);

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, unused in Windows-1252, map to the C1 controls.
std::string Cp1252ToUtf8(std::string_view bytes);

} // namespace tools
