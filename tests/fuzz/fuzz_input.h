// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Helpers shared by the fuzz targets. Inputs are split into lines so that the seed files
// stay readable; every byte string is still a valid input.
namespace fuzz {

inline std::string_view AsText(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

// The input cut at each '\n', padded with empty fields up to `count`.
inline std::vector<std::string_view> Fields(std::string_view text, std::size_t count)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;
        fields.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    fields.push_back(text);
    fields.resize(count);
    return fields;
}

// A broken property: say which and abort, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char *what, std::string_view detail = {})
{
    std::fprintf(stderr, "property broken: %s [%.*s]\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

inline void Check(bool condition, const char *what, std::string_view detail = {})
{
    if (!condition)
        Fail(what, detail);
}

} // namespace fuzz
