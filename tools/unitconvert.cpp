// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/unitconvert.h"

#include "tools/numtext.h"

namespace tools {

std::optional<LengthInUnits> ConvertLength(std::string_view text, std::string_view unit,
                                           char decSep)
{
    const std::optional<double> value = ParseDecimal(text, decSep);
    if (!value)
        return std::nullopt;
    const double x = *value;
    // Each field's own factors, as the tool has always computed them: going through
    // millimetres instead would change the last digit of some results.
    if (unit == "mm")
        return LengthInUnits{x, x / 10, x / 25.4};
    if (unit == "cm")
        return LengthInUnits{x * 10, x, x / 2.54};
    if (unit == "in")
        return LengthInUnits{x * 25.4, x * 2.54, x};
    const double factor = UnitFactor(unit);
    if (factor == 0)
        return std::nullopt;
    const double mm = x * factor;
    return LengthInUnits{mm, mm / 10, mm / 25.4};
}

} // namespace tools
