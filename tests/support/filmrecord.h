// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/stdcompat.h"

#include <cstdint>
#include <string>
#include <utility>

namespace testsupport {

// One 528-byte record of films.dat laid out field by field: length byte and 255 bytes of name
// at 0, length byte and 255 bytes of formula at 256, the two doubles little-endian at 512 and
// 520. The bytes after a text's used length are filled with 'x': the reader must ignore them.
inline std::string FilmRecord(const std::string &name, const std::string &formula = "",
                              double minTime = 0, double maxTime = 0)
{
    std::string r(528, 'x');
    r[0] = static_cast<char>(name.size());
    r.replace(1, name.size(), name);
    r[256] = static_cast<char>(formula.size());
    r.replace(257, formula.size(), formula);
    for (auto [at, value] : {std::pair{512, minTime}, std::pair{520, maxTime}}) {
        const auto bits = tools::compat::bit_cast<std::uint64_t>(value);
        for (int i = 0; i < 8; ++i)
            r[at + i] = static_cast<char>(bits >> (8 * i));
    }
    return r;
}

} // namespace testsupport
