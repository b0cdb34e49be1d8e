// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/optics.h"

#include "tools/numtext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tools {

namespace {

constexpr double kFNumberReference = 22;
constexpr int kExposureFactorPlaces = 1;
constexpr int kApexY = kDiagramHeight / 2;
const char *const kDegreeSign = "\u00b0";

// A length or number the calculation can use: finite and above 0. Everything else (empty or
// unreadable text, 0, a value that overflowed in the unit conversion, a negative value that
// only the command line can pass) counts as missing.
double Usable(double value)
{
    return std::isfinite(value) && value > 0 ? value : 0;
}

double Length(std::string_view text, std::string_view unit, char decSep)
{
    return Usable(LengthTextToMM(text, unit, decSep));
}

double Number(std::string_view text, char decSep)
{
    return Usable(TextToNumber(text, decSep));
}

// Results that overflowed have no digits to print; their field is emptied.
std::string ResultText(std::string_view unit, int places, double value, char decSep)
{
    return std::isfinite(value) ? FormatLength(unit, places, value, decSep) : std::string();
}

double RoundHalfEven(double value)
{
    const double rounded = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return rounded;
}

int ClampToHeight(double y)
{
    return static_cast<int>(std::clamp(y, 0.0, static_cast<double>(kDiagramHeight)));
}

} // namespace

std::string OptimalDiameterText(std::string_view focalText, std::string_view focalUnit,
                                std::string_view waveText, double c, std::string_view resultUnit,
                                int places, char decSep)
{
    const double f = Length(focalText, focalUnit, decSep);
    const double lambda = Number(waveText, decSep);
    if (f == 0 || lambda == 0 || Usable(c) == 0) {
        return {};
    }
    return ResultText(resultUnit, places, std::sqrt(f * lambda) * c, decSep);
}

std::string OptimalFocalLengthText(std::string_view diamText, std::string_view diamUnit,
                                   std::string_view waveText, double c, std::string_view resultUnit,
                                   int places, char decSep)
{
    const double d = Length(diamText, diamUnit, decSep);
    const double lambda = Number(waveText, decSep);
    if (d == 0 || lambda == 0 || Usable(c) == 0) {
        return {};
    }
    return ResultText(resultUnit, places, (d / c) * (d / c) / lambda, decSep);
}

std::string FNumberText(std::string_view diamText, std::string_view diamUnit,
                        std::string_view focalText, std::string_view focalUnit, char decSep)
{
    const double d = Length(diamText, diamUnit, decSep);
    const double f = Length(focalText, focalUnit, decSep);
    if (d == 0 || f == 0) {
        return {};
    }
    return ResultText("", 0, f / d, decSep);
}

std::string ExposureFactorText(std::string_view fNumberText, char decSep)
{
    // The factor follows the f number the user sees, not the exact ratio behind it.
    const double n = Number(fNumberText, decSep);
    if (n < kFNumberReference) {
        return {};
    }
    const double ratio = n / kFNumberReference;
    return ResultText("", kExposureFactorPlaces, ratio * ratio, decSep);
}

std::optional<ViewAngle> AngleOfView(std::string_view aText, std::string_view bText,
                                     std::string_view formatUnit, std::string_view focalText,
                                     std::string_view focalUnit, char decSep)
{
    const double a = Length(aText, formatUnit, decSep);
    const double b = Length(bText, formatUnit, decSep);
    const double f = Length(focalText, focalUnit, decSep);
    if (a == 0 || b == 0 || f == 0) {
        return std::nullopt;
    }
    // hypot is the diagonal sqrt(A*A + B*B) without overflow of the squares.
    const double diagonal = std::hypot(a, b);
    const double half = std::atan((diagonal / 2) / f);
    if (!std::isfinite(half)) {
        return std::nullopt;
    }
    return ViewAngle{half, 2 * half * 180 / std::numbers::pi};
}

std::string AngleText(double degrees, int angleUnit, int places, char decSep)
{
    if (!std::isfinite(degrees)) {
        return {};
    }
    if (angleUnit == 0) {
        return AngleToDMS(degrees, decSep);
    }
    std::string number = FormatLength("", places, degrees, decSep);
    // With no decimal places an angle below half a degree rounds to no digit at all; a lone
    // degree sign would say nothing, so it reads 0°.
    if (number.empty()) {
        number.assign(1, '0');
    }
    return number + kDegreeSign;
}

std::string AngleOfViewText(std::string_view aText, std::string_view bText,
                            std::string_view formatUnit, std::string_view focalText,
                            std::string_view focalUnit, int angleUnit, int places, char decSep)
{
    const std::optional<ViewAngle> angle =
        AngleOfView(aText, bText, formatUnit, focalText, focalUnit, decSep);
    return angle ? AngleText(angle->degrees, angleUnit, places, decSep) : std::string();
}

AngleDiagram AngleDiagramLines(double halfAngle)
{
    AngleDiagram diagram{};
    diagram.apex = {0, kApexY};
    // The normal lens: half angle atan(1/2), so the rays rise 115 pixels over the 230 of
    // the surface's width.
    diagram.normal = {DiagramPoint{kDiagramWidth, kApexY - kDiagramWidth / 2},
                      DiagramPoint{kDiagramWidth, kApexY + kDiagramWidth / 2}};

    double t = std::fabs(std::tan(halfAngle));
    if (std::isnan(t)) {
        t = 0;
    }
    // 132/0 is infinity, which takes the right-edge branch like any very narrow angle; the
    // comparison is made in floating point so that no huge x is ever turned into an int.
    const double x = RoundHalfEven(kApexY / t);
    if (x <= kDiagramWidth) {
        const int xi = static_cast<int>(x);
        diagram.chosen = {DiagramPoint{xi, 0}, DiagramPoint{xi, kDiagramHeight}};
    } else {
        const double rise = kDiagramWidth * t;
        diagram.chosen = {DiagramPoint{kDiagramWidth, ClampToHeight(RoundHalfEven(kApexY - rise))},
                          DiagramPoint{kDiagramWidth, ClampToHeight(RoundHalfEven(kApexY + rise))}};
    }
    return diagram;
}

MagnificationResult MagnificationTexts(std::string_view distText, std::string_view distUnit,
                                       std::string_view focalText, std::string_view focalUnit,
                                       std::string_view sizeText, std::string_view sizeUnit,
                                       std::string_view resultUnit, int places, char decSep)
{
    MagnificationResult result;
    const double u = Length(distText, distUnit, decSep);
    const double v = Length(focalText, focalUnit, decSep);
    const double s = Length(sizeText, sizeUnit, decSep);
    if (u == 0 || v == 0) {
        return result;
    }
    const double m = v / u;
    if (!std::isfinite(m)) {
        return result;
    }
    // A plain ratio: an empty unit name prints it unconverted.
    result.magnification = FormatLength("", places, m, decSep);
    if (s > 0 && m > 0) {
        result.sizeOnFilm = ResultText(resultUnit, places, s * m, decSep);
    }
    return result;
}

} // namespace tools
