// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The pinhole calculators: optimal diameter and focal length, f number and exposure factor,
// angle of view with its diagram, and magnification.
//
// The routines take the texts of the input fields with the unit names of the lists beside
// them and return the texts of the result fields, so that the window and the command-line
// program show the same results. Lengths are computed in millimetres. As everywhere in the
// program, an input that is empty, not a number or 0 counts as missing and empties the
// results that depend on it; so does a length too large for a double. A result too large for
// a double (or not a number at all) is emptied too: there is no sensible digit text for it.
namespace tools {

// d = sqrt(f * lambda) * c, printed in resultUnit with `places` decimal places.
// Empty without focal length or wavelength, or when c is not a positive number.
std::string OptimalDiameterText(std::string_view focalText, std::string_view focalUnit,
                                std::string_view waveText, double c, std::string_view resultUnit,
                                int places, char decSep);

// f = (d/c) * (d/c) / lambda, printed in resultUnit with `places` decimal places.
std::string OptimalFocalLengthText(std::string_view diamText, std::string_view diamUnit,
                                   std::string_view waveText, double c, std::string_view resultUnit,
                                   int places, char decSep);

// f/d as a whole number (pattern "#"): empty when either is missing, and when f/d is below
// 0.5, which rounds to nothing.
std::string FNumberText(std::string_view diamText, std::string_view diamUnit,
                        std::string_view focalText, std::string_view focalUnit, char decSep);

// The exposure factor against f 22, (N/22)^2 with one decimal place, read from the f number
// as shown (already a whole number). Empty below f 22 and without an f number.
std::string ExposureFactorText(std::string_view fNumberText, char decSep);

// The diagonal angle of view of a film format A x B and a focal length.
struct ViewAngle
{
    double halfAngle; // radians, between 0 and pi/2
    double degrees;   // the full angle
};

// Empty when a side or the focal length is missing.
std::optional<ViewAngle> AngleOfView(std::string_view aText, std::string_view bText,
                                     std::string_view formatUnit, std::string_view focalText,
                                     std::string_view focalUnit, char decSep);

// angleUnit 0: degrees, minutes and seconds (46°47'35"); otherwise decimal degrees with
// `places` decimal places and the degree sign (46.793°).
std::string AngleText(double degrees, int angleUnit, int places, char decSep);

// AngleOfView and AngleText in one: the text of the angle field, empty without inputs.
std::string AngleOfViewText(std::string_view aText, std::string_view bText,
                            std::string_view formatUnit, std::string_view focalText,
                            std::string_view focalUnit, int angleUnit, int places, char decSep);

// The angle diagram: a surface 230 x 264 pixels, x to the right, y downwards, the pinhole at
// the middle of the left edge. The white dotted lines show the angle of a normal lens (focal
// length equal to the format diagonal, half angle atan(1/2)); the navy lines the chosen angle.
inline constexpr int kDiagramWidth = 230;
inline constexpr int kDiagramHeight = 264;

struct DiagramPoint
{
    int x;
    int y;
    friend bool operator==(const DiagramPoint &, const DiagramPoint &) = default;
};

struct AngleDiagram
{
    DiagramPoint apex;                  // (0, 132)
    std::array<DiagramPoint, 2> normal; // ends of the white dotted lines, upper first
    std::array<DiagramPoint, 2> chosen; // ends of the navy lines, upper first
};

// Wide angles leave through the top and bottom edges at x = 132/tan(h), narrow ones through
// the right edge at y = 132 -/+ 230*tan(h), each rounded half to even. Every end lies on the
// surface, however small or large the half angle.
AngleDiagram AngleDiagramLines(double halfAngle);

// Magnification m = v/u and the size s*m of the subject on the film (from the exact ratio).
struct MagnificationResult
{
    std::string magnification; // empty without subject distance or focal length
    std::string sizeOnFilm;    // in resultUnit; empty also without subject size
};

MagnificationResult MagnificationTexts(std::string_view distText, std::string_view distUnit,
                                       std::string_view focalText, std::string_view focalUnit,
                                       std::string_view sizeText, std::string_view sizeUnit,
                                       std::string_view resultUnit, int places, char decSep);

} // namespace tools
