// SPDX-License-Identifier: GPL-3.0-or-later
// fillstrings --html|--json TEMPLATE OUTPUT: writes TEMPLATE with the program's texts put in,
// so that the web page carries every text of the string table the window carries, before any
// script runs. In the template, {{1302}} stands for the text of 1302 and {{1111/1302}} for the
// text of 1111 with its "%s" replaced by the text of 1302. A menu's "&" before its access key is
// dropped ("&&" stays one "&"). The texts are escaped for HTML or for a JSON string.
#include "tools/atomicfile.h"
#include "tools/stringtable.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

namespace {

std::string WithoutAccessKey(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string EscapeJson(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<int> Id(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    int id = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        id = id * 10 + (c - '0');
    }
    return id;
}

// The text a placeholder's inside ("1302" or "1111/1302") stands for; empty when an id has no
// text, which fails the build rather than leave a hole in the page.
std::optional<std::string> Text(std::string_view inside)
{
    const std::size_t slash = inside.find('/');
    const std::optional<int> id = Id(inside.substr(0, slash));
    if (!id || tools::LoadStr(*id).empty())
        return std::nullopt;
    if (slash == std::string_view::npos)
        return WithoutAccessKey(tools::LoadStr(*id));
    const std::optional<int> arg = Id(inside.substr(slash + 1));
    if (!arg || tools::LoadStr(*arg).empty())
        return std::nullopt;
    return WithoutAccessKey(tools::FormatStr(*id, WithoutAccessKey(tools::LoadStr(*arg))));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4 ||
        (std::string_view(argv[1]) != "--html" && std::string_view(argv[1]) != "--json")) {
        std::fputs("usage: fillstrings --html|--json TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    const bool json = std::string_view(argv[1]) == "--json";
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "fillstrings: cannot read %s\n", argv[2]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::string out;
    std::size_t at = 0;
    for (;;) {
        const std::size_t open = text.find("{{", at);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find("}}", open);
        if (close == std::string::npos)
            break;
        const std::string_view inside = std::string_view(text).substr(open + 2, close - open - 2);
        const std::optional<std::string> filled = Text(inside);
        if (!filled) {
            std::fprintf(stderr, "fillstrings: %s: no text for {{%.*s}}\n", argv[2],
                         static_cast<int>(inside.size()), inside.data());
            return 1;
        }
        out.append(text, at, open - at);
        out += json ? EscapeJson(*filled) : EscapeHtml(*filled);
        at = close + 2;
    }
    out.append(text, at);

    std::string error;
    if (!tools::WriteFileAtomically(argv[3], out, &error)) {
        std::fprintf(stderr, "fillstrings: cannot write %s: %s\n", argv[3], error.c_str());
        return 1;
    }
    return 0;
}
