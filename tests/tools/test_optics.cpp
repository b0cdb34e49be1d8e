// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/optics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using namespace tools;

namespace {

constexpr char kSeparators[] = {'.', ','};
constexpr double kRayleigh = 1.9;
constexpr double kFresnel = 2;

// Inputs and expected texts are written with '.'; under a decimal comma every '.' becomes ','.
std::string L(std::string text, char decSep)
{
    std::replace(text.begin(), text.end(), '.', decSep);
    return text;
}

bool OnSurface(DiagramPoint p)
{
    return p.x >= 0 && p.x <= kDiagramWidth && p.y >= 0 && p.y <= kDiagramHeight;
}

} // namespace

TEST(PinholeDesign, OptimalDiameter)
{
    struct Case
    {
        const char *name, *focal, *focalUnit, *wave;
        double c;
        const char *resultUnit;
        const char *expected;
    };
    // sqrt(50 * 0.00055) = 0.165831; times 1.9 = 0.315079, times 2 = 0.331662.
    // 2 in = 50.8 mm: sqrt(50.8 * 0.00055) * 1.9 = 0.317590.
    const Case cases[] = {
        {"worked example", "50", "mm", "0.00055", kRayleigh, "mm", "0.315"},
        {"first Fresnel zone", "50", "mm", "0.00055", kFresnel, "mm", "0.332"},
        {"focal length in inches", "2", "in", "0.00055", kRayleigh, "mm", "0.318"},
        {"result in inches (0.0124 in)", "50", "mm", "0.00055", kRayleigh, "in", "0.012"},
        {"no focal length", "", "mm", "0.00055", kRayleigh, "mm", ""},
        {"focal length not a number", "5x", "mm", "0.00055", kRayleigh, "mm", ""},
        {"no wavelength", "50", "mm", "", kRayleigh, "mm", ""},
        {"zero wavelength", "50", "mm", "0", kRayleigh, "mm", ""},
        {"no constant", "50", "mm", "0.00055", 0, "mm", ""},
        {"focal length beyond a double in mm", "1e308", "in", "0.00055", kRayleigh, "mm", ""},
        {"diameter overflows", "1e300", "mm", "1e300", kRayleigh, "mm", ""},
    };
    for (char s : kSeparators) {
        for (const Case &c : cases) {
            EXPECT_EQ(OptimalDiameterText(L(c.focal, s), c.focalUnit, L(c.wave, s), c.c,
                                          c.resultUnit, 3, s),
                      L(c.expected, s))
                << c.name << " " << s;
        }
    }
}

TEST(PinholeDesign, OptimalFocalLength)
{
    struct Case
    {
        const char *name, *diam, *diamUnit;
        double c;
        const char *resultUnit;
        const char *expected;
    };
    // (0.3/1.9)^2 / 0.00055 = 45.32863; (0.3/2)^2 / 0.00055 = 40.90909; 45.32863 / 25.4 = 1.78459.
    const Case cases[] = {
        {"worked example", "0.3", "mm", kRayleigh, "mm", "45.329"},
        {"first Fresnel zone", "0.3", "mm", kFresnel, "mm", "40.909"},
        {"result in inches", "0.3", "mm", kRayleigh, "in", "1.785"},
        {"no diameter", "", "mm", kRayleigh, "mm", ""},
        {"unknown unit", "0.3", "MM", kRayleigh, "mm", ""},
        {"huge constant underflows to 0", "0.3", "mm", 1e308, "mm", "0"},
    };
    for (char s : kSeparators) {
        for (const Case &c : cases) {
            EXPECT_EQ(OptimalFocalLengthText(L(c.diam, s), c.diamUnit, L("0.00055", s), c.c,
                                             c.resultUnit, 3, s),
                      L(c.expected, s))
                << c.name << " " << s;
        }
        EXPECT_EQ(OptimalFocalLengthText(L("0.3", s), "mm", "", kRayleigh, "mm", 3, s), "");
    }
}

TEST(PinholeDesign, HugeUserConstantPrintsEveryDigit)
{
    // 0.165831 * 1e308 = 1.658e307: finite, so all 308 integer digits are printed.
    const std::string text = OptimalDiameterText("50", "mm", "0.00055", 1e308, "mm", 3, '.');
    EXPECT_EQ(text.size(), 308u);
    EXPECT_EQ(text.substr(0, 5), "16583");
    EXPECT_TRUE(
        std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }));
}

TEST(PinholeDesign, FNumberAndExposureFactor)
{
    struct Case
    {
        const char *name, *diam, *focal, *focalUnit;
        const char *fNumber, *factor;
    };
    // 50/0.3 = 166.67 shows 167, and the factor is taken from the 167: (167/22)^2 = 57.62.
    // 50.8/0.3 = 169.33; 31^2/22^2 = 1.985 prints 2; (100/22)^2 = 20.66.
    const Case cases[] = {
        {"worked example", "0.3", "50", "mm", "167", "57.6"},
        {"focal length in inches", "0.3", "2", "in", "169", "59"},
        {"f 22 exactly", "1", "22", "mm", "22", "1"},
        {"f 31", "1", "31", "mm", "31", "2"},
        {"f 100", "1", "100", "mm", "100", "20.7"},
        {"below f 22", "1", "21", "mm", "21", ""},
        {"rounds up to f 22", "1", "21.5", "mm", "22", "1"},
        {"ratio below 0.5", "10", "4", "mm", "", ""},
        {"no diameter", "", "50", "mm", "", ""},
        {"no focal length", "0.3", "0", "mm", "", ""},
        {"ratio overflows", "1e-300", "1e300", "mm", "", ""},
    };
    for (char s : kSeparators) {
        for (const Case &c : cases) {
            const std::string fNumber =
                FNumberText(L(c.diam, s), "mm", L(c.focal, s), c.focalUnit, s);
            EXPECT_EQ(fNumber, c.fNumber) << c.name << " " << s;
            EXPECT_EQ(ExposureFactorText(fNumber, s), L(c.factor, s)) << c.name << " " << s;
        }
        EXPECT_EQ(ExposureFactorText("abc", s), "");
        EXPECT_EQ(ExposureFactorText("1e200", s), ""); // the square overflows
    }
}

TEST(AngleOfView, WorkedExamples)
{
    struct Case
    {
        const char *name, *a, *b, *formatUnit, *focal, *focalUnit;
        const char *decimal, *dms;
        DiagramPoint upper, lower;
    };
    // D = sqrt(24^2 + 36^2) = 43.2666; x = 132/tan(h), y = 132 -/+ 230*tan(h).
    // 50 mm: tan(h) = 0.43267, x = 305.1, y = 32.49 and 231.51.
    // 20 mm: tan(h) = 1.08167, x = 122.03.
    // 43.2666 mm (the diagonal): tan(h) = 0.5, y = 17 and 247, on the normal lens's lines.
    // 2 in = 50.8 mm: 46.1337 degrees = 46 deg 8 min 1.33 s; tan(h) = 0.42586, y = 34.05, 229.95.
    const Case cases[] = {
        {"normal lens 50 mm",
         "24",
         "36",
         "mm",
         "50",
         "mm",
         "46.793°",
         "46°47'35\"",
         {230, 32},
         {230, 232}},
        {"wide angle 20 mm",
         "24",
         "36",
         "mm",
         "20",
         "mm",
         "94.493°",
         "94°29'36\"",
         {122, 0},
         {122, 264}},
        {"focal length = diagonal",
         "24",
         "36",
         "mm",
         "43.2666",
         "mm",
         "53.13°",
         "53°7'48\"",
         {230, 17},
         {230, 247}},
        {"format in cm",
         "2.4",
         "3.6",
         "cm",
         "50",
         "mm",
         "46.793°",
         "46°47'35\"",
         {230, 32},
         {230, 232}},
        {"sides exchanged",
         "36",
         "24",
         "mm",
         "50",
         "mm",
         "46.793°",
         "46°47'35\"",
         {230, 32},
         {230, 232}},
        {"focal length in inches",
         "24",
         "36",
         "mm",
         "2",
         "in",
         "46.134°",
         "46°8'1\"",
         {230, 34},
         {230, 230}},
    };
    for (char s : kSeparators) {
        for (const Case &c : cases) {
            const auto angle =
                AngleOfView(L(c.a, s), L(c.b, s), c.formatUnit, L(c.focal, s), c.focalUnit, s);
            ASSERT_TRUE(angle) << c.name;
            EXPECT_EQ(AngleText(angle->degrees, 1, 3, s), L(c.decimal, s)) << c.name << " " << s;
            EXPECT_EQ(AngleText(angle->degrees, 0, 3, s), c.dms) << c.name << " " << s;
            const AngleDiagram diagram = AngleDiagramLines(angle->halfAngle);
            EXPECT_EQ(diagram.chosen[0], c.upper) << c.name;
            EXPECT_EQ(diagram.chosen[1], c.lower) << c.name;
            EXPECT_EQ(diagram.apex, (DiagramPoint{0, 132}));
            EXPECT_EQ(diagram.normal[0], (DiagramPoint{230, 17}));
            EXPECT_EQ(diagram.normal[1], (DiagramPoint{230, 247}));
            EXPECT_EQ(AngleOfViewText(L(c.a, s), L(c.b, s), c.formatUnit, L(c.focal, s),
                                      c.focalUnit, 0, 3, s),
                      c.dms);
        }
    }
}

TEST(AngleOfView, MissingInputsGiveNoAngle)
{
    const char *const fields[][3] = {
        {"", "36", "50"},  {"24", "", "50"},      {"24", "36", ""}, {"0", "36", "50"},
        {"24", "36", "x"}, {"24", "36", "1e308"}, // in inches beyond a double: unreadable, not an
                                                  // angle of 0
    };
    for (const auto &f : fields) {
        EXPECT_EQ(AngleOfView(f[0], f[1], "mm", f[2], "in", '.'), std::nullopt)
            << f[0] << " x " << f[1] << " / " << f[2];
        EXPECT_EQ(AngleOfViewText(f[0], f[1], "mm", f[2], "in", 0, 3, '.'), "");
    }
}

TEST(AngleOfView, SquareOfSameDiagonalGivesSameAngle)
{
    // 12 x 16 has the diagonal 20, as has the square of side sqrt(200) = 14.142135623731.
    const auto rectangle = AngleOfView("12", "16", "mm", "30", "mm", '.');
    const auto square = AngleOfView("14.142135623731", "14.142135623731", "mm", "30", "mm", '.');
    ASSERT_TRUE(rectangle && square);
    EXPECT_NEAR(rectangle->degrees, square->degrees, 1e-9);
    EXPECT_EQ(AngleText(rectangle->degrees, 1, 3, '.'), AngleText(square->degrees, 1, 3, '.'));
}

TEST(AngleOfView, DecimalDegreesFollowThePlaces)
{
    EXPECT_EQ(AngleText(46.793003, 1, 0, '.'), "47°");
    EXPECT_EQ(AngleText(46.793003, 1, 1, ','), "46,8°");
    // No decimal places and an angle below half a degree: no lone degree sign.
    EXPECT_EQ(AngleText(0.3, 1, 0, '.'), "0°");
    EXPECT_EQ(AngleText(std::numeric_limits<double>::quiet_NaN(), 1, 3, '.'), "");
    // Sides of 1e308 mm: the diagonal overflows the squares but not hypot; nearly 180 degrees.
    const auto wide = AngleOfView("1e308", "1e308", "mm", "1", "mm", '.');
    ASSERT_TRUE(wide);
    EXPECT_NEAR(wide->degrees, 180, 1e-9);
}

TEST(AngleDiagram, RoundingAndBranches)
{
    struct Case
    {
        const char *name;
        double tanHalf;
        DiagramPoint upper, lower;
    };
    const Case cases[] = {
        // 230 * 0.25 = 57.5: y = 74.5 and 189.5, halves to the even neighbours 74 and 190.
        {"halves to even", 0.25, {230, 74}, {230, 190}},
        // x = 132/0.5729 = 230.4 rounds to 230: through top and bottom, at the corners.
        {"x rounds down to 230", 132 / 230.4, {230, 0}, {230, 264}},
        {"very short focal length", 1e6, {0, 0}, {0, 264}},
        {"very long focal length", 1e-6, {230, 132}, {230, 132}},
        {"x beyond an int", 1e-300, {230, 132}, {230, 132}},
    };
    for (const Case &c : cases) {
        const AngleDiagram diagram = AngleDiagramLines(std::atan(c.tanHalf));
        EXPECT_EQ(diagram.chosen[0], c.upper) << c.name;
        EXPECT_EQ(diagram.chosen[1], c.lower) << c.name;
    }
}

TEST(AngleDiagram, EveryHalfAngleStaysOnTheSurface)
{
    const double halfAngles[] = {0,
                                 1e-300,
                                 1e-12,
                                 0.01,
                                 0.5,
                                 1.0,
                                 1.5,
                                 std::numbers::pi / 2,
                                 -0.4,
                                 3.0,
                                 1e10,
                                 std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};
    for (double h : halfAngles) {
        const AngleDiagram diagram = AngleDiagramLines(h);
        for (DiagramPoint p : diagram.chosen) {
            EXPECT_TRUE(OnSurface(p)) << h << ": " << p.x << "," << p.y;
        }
        // The two rays are mirror images about the axis through the apex.
        EXPECT_EQ(diagram.chosen[0].x, diagram.chosen[1].x) << h;
        EXPECT_EQ(diagram.chosen[0].y + diagram.chosen[1].y, kDiagramHeight) << h;
    }
}

TEST(Magnification, RatioAndSizeOnFilm)
{
    struct Case
    {
        const char *name, *dist, *distUnit, *focal, *size, *sizeUnit, *resultUnit;
        const char *magnification, *sizeOnFilm;
    };
    // 50 mm / 2000 mm = 0.025; 1800 mm * 0.025 = 45 mm = 1.7717 in.
    // 50 mm / 1000 m = 0.00005 prints 0, yet 100 m * 0.00005 = 5 mm from the exact ratio.
    const Case cases[] = {
        {"worked example", "2", "m", "50", "1.8", "m", "mm", "0.025", "45"},
        {"size in inches", "2", "m", "50", "1.8", "m", "in", "0.025", "1.772"},
        {"distance in cm", "200", "cm", "50", "180", "cm", "mm", "0.025", "45"},
        {"no subject size", "2", "m", "50", "", "m", "mm", "0.025", ""},
        {"no focal length", "2", "m", "", "1.8", "m", "mm", "", ""},
        {"no distance", "0", "m", "50", "1.8", "m", "mm", "", ""},
        {"closer than the focal length", "25", "mm", "50", "10", "mm", "mm", "2", "20"},
        {"too small to print", "1000", "m", "50", "100", "m", "mm", "0", "5"},
        {"ratio overflows", "1e-300", "mm", "1e300", "1", "mm", "mm", "", ""},
    };
    for (char s : kSeparators) {
        for (const Case &c : cases) {
            const MagnificationResult r =
                MagnificationTexts(L(c.dist, s), c.distUnit, L(c.focal, s), "mm", L(c.size, s),
                                   c.sizeUnit, c.resultUnit, 3, s);
            EXPECT_EQ(r.magnification, L(c.magnification, s)) << c.name << " " << s;
            EXPECT_EQ(r.sizeOnFilm, L(c.sizeOnFilm, s)) << c.name << " " << s;
        }
    }
    // A ratio that prints but a size that overflows: only the size is emptied.
    const MagnificationResult r =
        MagnificationTexts("1", "mm", "1e10", "mm", "1e300", "m", "mm", 3, '.');
    EXPECT_EQ(r.magnification, "10000000000");
    EXPECT_EQ(r.sizeOnFilm, "");
}
