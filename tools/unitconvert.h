// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

// The unit conversion tool: a length typed into one of its fields (millimetres, centimetres,
// inches) shown in all three, each printed by the caller as general number text.
namespace tools {

struct LengthInUnits
{
    double mm = 0;
    double cm = 0;
    double in = 0;
};

// text is read strictly as a number in the locale's format (ParseDecimal): nullopt when it is
// empty or not a number, and for a unit name outside the unit table. The typed unit keeps
// the number itself; typed in "mm" (x): cm = x / 10, in = x / 25.4; in "cm": mm = x * 10,
// in = x / 2.54; in "in": mm = x * 25.4, cm = x * 2.54. "m", which the tool has no field for,
// goes through millimetres. A result too large for a double is infinite: callers that cannot
// show it check for that.
std::optional<LengthInUnits> ConvertLength(std::string_view text, std::string_view unit,
                                           char decSep);

} // namespace tools
