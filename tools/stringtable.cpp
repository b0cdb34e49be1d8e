// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/stringtable.h"

#include <charconv>
#include <map>

namespace tools {

extern const std::string_view kEmbeddedStringTable;

namespace {

using Table = std::map<int, std::string>;

bool ParseTable(std::string_view text, Table &out, std::string *error)
{
    int lineNo = 0;
    auto fail = [&](const char *what) {
        if (error)
            *error = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (!text.empty()) {
        ++lineNo;
        std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        line.remove_prefix(first);

        int id = 0;
        auto [p, ec] = std::from_chars(line.data(), line.data() + line.size(), id);
        if (ec != std::errc{} || id <= 0)
            return fail("expected a positive id");
        std::string_view rest = line.substr(static_cast<std::size_t>(p - line.data()));
        std::size_t q = rest.find_first_not_of(" \t");
        if (q == std::string_view::npos || rest[q] != '"')
            return fail("expected a quoted text after the id");
        rest.remove_prefix(q + 1);

        std::string value;
        bool closed = false;
        std::size_t i = 0;
        for (; i < rest.size(); ++i) {
            char c = rest[i];
            if (c == '"') {
                closed = true;
                ++i;
                break;
            }
            if (c == '\\') {
                if (++i == rest.size())
                    return fail("backslash at the end of the line");
                switch (rest[i]) {
                case '"':
                    value += '"';
                    break;
                case '\\':
                    value += '\\';
                    break;
                case 't':
                    value += '\t';
                    break;
                default:
                    return fail("unknown escape");
                }
                continue;
            }
            value += c;
        }
        if (!closed)
            return fail("unterminated text");
        if (rest.substr(i).find_first_not_of(" \t") != std::string_view::npos)
            return fail("characters after the closing quote");
        if (!out.emplace(id, std::move(value)).second)
            return fail("id given twice");
    }
    return true;
}

Table &CurrentTable()
{
    static Table table = [] {
        Table t;
        ParseTable(kEmbeddedStringTable, t, nullptr);
        return t;
    }();
    return table;
}

} // namespace

bool LoadStringTable(std::string_view text, std::string *error)
{
    Table t;
    if (!ParseTable(text, t, error))
        return false;
    CurrentTable() = std::move(t);
    return true;
}

void UseBuiltInStringTable()
{
    Table t;
    ParseTable(kEmbeddedStringTable, t, nullptr);
    CurrentTable() = std::move(t);
}

const std::string &LoadStr(int id)
{
    static const std::string empty;
    const Table &t = CurrentTable();
    auto it = t.find(id);
    return it == t.end() ? empty : it->second;
}

std::string FormatStr(int id, std::string_view arg)
{
    std::string s = LoadStr(id);
    std::size_t at = s.find("%s");
    if (at != std::string::npos)
        s.replace(at, 2, arg);
    return s;
}

std::string FormatStr(int id, std::initializer_list<std::string_view> args)
{
    std::string s = LoadStr(id);
    std::size_t from = 0;
    for (const std::string_view arg : args) {
        const std::size_t at = s.find("%s", from);
        if (at == std::string::npos)
            break;
        s.replace(at, 2, arg);
        from = at + arg.size();
    }
    return s;
}

} // namespace tools
