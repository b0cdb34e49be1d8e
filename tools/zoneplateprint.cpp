// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zoneplateprint.h"

#include "tools/numtext.h"
#include "tools/stringtable.h"

#include <cmath>
#include <stdexcept>

namespace tools {

namespace {

constexpr double kMMPerInch = 25.4;

// Above this a double no longer tells neighbouring whole numbers apart.
constexpr double kLargestExactWhole = 9007199254740992.0; // 2^53

// Dots of the ring at enlargement m, in one formula wherever dots are counted.
double RingDots(double ringMM, double m, double dpi)
{
    return ringMM * m / kMMPerInch * dpi;
}

// The dots as the program shows them, rounded to two decimals by the printing routine itself,
// so that judgements and the shown number never disagree.
double ShownDots(double dots)
{
    return ParseDecimal(FormatFloat("0.00", dots, '.'), '.').value_or(dots);
}

std::optional<double> CleanEnlargement(double ringMM, double dpi)
{
    const double atTrueSize = RingDots(ringMM, 1, dpi);
    if (!(atTrueSize > 0) || !std::isfinite(atTrueSize))
        return std::nullopt;
    double k = std::ceil(kCleanDots / atTrueSize);
    if (!std::isfinite(k))
        return std::nullopt;
    if (k < 1)
        k = 1;
    // The quotient may land one off where the product of the next step is exact; settle on
    // the rounding the user sees.
    if (k < kLargestExactWhole) {
        while (k > 1 && ShownDots(RingDots(ringMM, k - 1, dpi)) >= kCleanDots)
            --k;
        while (ShownDots(RingDots(ringMM, k, dpi)) < kCleanDots)
            ++k;
    }
    return k;
}

} // namespace

ZonePlatePrintCheck CheckZonePlatePrint(const TZonePlateValues &values, std::int32_t m, double dpi)
{
    if (values.size() < 2)
        throw std::invalid_argument("a zone plate needs at least one zone");
    const std::size_t n = values.size() - 1;
    // One zone is a bare disc: no ring, the disc is the finest thing to draw.
    const double ringMM = n == 1 ? values[1] : (values[n] - values[n - 1]) / 2;

    ZonePlatePrintCheck check;
    check.plateMM = static_cast<double>(m) * values[n];
    check.outerRingMM = ringMM * m;
    check.outerRingDots = RingDots(ringMM, m, dpi);
    check.tooFine = ShownDots(check.outerRingDots) < kTooFineDots;
    check.cleanEnlargement = CleanEnlargement(ringMM, dpi);
    return check;
}

std::optional<int> ParsePrinterDpi(std::string_view text)
{
    const std::optional<std::int32_t> dpi = ParseWholeNumber(text);
    if (!dpi || *dpi < kMinPrinterDpi || *dpi > kMaxPrinterDpi)
        return std::nullopt;
    return *dpi;
}

std::string PrinterDpiRangeText()
{
    return FormatStr(1633, {std::to_string(kMinPrinterDpi), std::to_string(kMaxPrinterDpi)});
}

std::string DotsText(double dots, char decSep)
{
    return FormatFloat("0.00", dots, decSep);
}

std::string PrintCheckText(const ZonePlatePrintCheck &check, int dpi, int mainUnit, int places,
                           char decSep)
{
    const std::string_view unit = mainUnit == 1 ? "in" : "mm";
    const std::string plate =
        FormatLength(unit, places, check.plateMM, decSep) + " " + std::string(unit);
    const std::string dots = DotsText(check.outerRingDots, decSep);
    const std::string dpiText = std::to_string(dpi);
    if (!check.tooFine)
        return FormatStr(1630, {plate, dots, dpiText});
    if (!check.cleanEnlargement)
        return FormatStr(1632, {plate, dots, dpiText});
    return FormatStr(1631,
                     {plate, dots, dpiText, FormatLength("", 0, *check.cleanEnlargement, decSep)});
}

} // namespace tools
