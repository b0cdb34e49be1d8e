// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zoneplateprint.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tools;

namespace {

struct CheckCase
{
    const char *name;
    int n;
    double focalMM, waveMM, c;
    std::int32_t m;
    double dpi;
    double plateMM, ringMM, dots;
    bool tooFine;
    double clean; // smallest enlargement with 3 dots
};

// Worked by hand: d(i) = c * sqrt(i * f * lambda); ring = (d(N) - d(N-1)) / 2 * M; dots =
// ring / 25.4 * dpi; clean = the smallest whole K with K * dots(1) >= 3, judged on the dots
// rounded to two decimals as they are shown.
//   N=15, f=150, c=2: d15 = 2 sqrt(1.2375) = 2.224860, d14 = 2 sqrt(1.155) = 2.149419, ring
//     0.0377205 mm = 1.7821 dots at 1200 dpi (too fine); 3 / 1.7821 = 1.68 -> 2. At 72 dpi
//     0.10692 dots, 3 / 0.10692 = 28.06 -> 29.
//   N=3, f=100, c=2: d3 = 0.812404, d2 = 0.663325, ring 0.0745394 mm = 1.7608 dots at 600.
//   N=1: no ring, the disc d1 = 2 sqrt(0.055) = 0.469042 mm itself: 22.159 dots at 1200.
//   N=10001, f=1000, M=7: d = 148.331386 and 148.323970, ring 0.0259560 mm = 1.2263 dots;
//     at true size 0.17519 dots, 3 / 0.17519 = 17.13 -> 18.
//   A disc of 0.1 mm (c=1, f=100, lambda=0.0001) at 254 dpi is exactly 1 dot, 2 dots
//     enlarged twice (not too fine: the warning is for under 2), and 3 dots at 3 times.
//   A disc of 0.0999 mm (lambda 0.0000998001) at 254 dpi is 0.999 dots: 3 / 0.999 = 3.003,
//     yet 3 times is 2.997 dots, shown as 3.00, so 3 is enough.
//   A disc of 0.1996 mm (lambda 0.0003984016) is 1.996 dots, shown as 2.00: not too fine.
const CheckCase kChecks[] = {
    {"N15 at 1200 dpi", 15, 150, 0.00055, 2, 1, 1200, 2.224860, 0.0377205, 1.7821, true, 2},
    {"N15 enlarged twice", 15, 150, 0.00055, 2, 2, 1200, 4.449719, 0.0754410, 3.5641, false, 2},
    {"N15 at 72 dpi", 15, 150, 0.00055, 2, 1, 72, 2.224860, 0.0377205, 0.10692, true, 29},
    {"N3 at 600 dpi", 3, 100, 0.00055, 2, 1, 600, 0.812404, 0.0745394, 1.7608, true, 2},
    {"N1: the disc itself", 1, 100, 0.00055, 2, 1, 1200, 0.469042, 0.469042, 22.159, false, 1},
    {"N10001 enlarged 7 times", 10001, 1000, 0.00055, 2, 7, 1200, 1038.3197, 0.0259560, 1.2263,
     true, 18},
    {"exactly 1 dot", 1, 100, 0.0001, 1, 1, 254, 0.1, 0.1, 1, true, 3},
    {"exactly 2 dots", 1, 100, 0.0001, 1, 2, 254, 0.2, 0.2, 2, false, 3},
    {"3.00 dots as shown", 1, 100, 0.0000998001, 1, 1, 254, 0.0999, 0.0999, 0.999, true, 3},
    {"2.00 dots as shown", 1, 100, 0.0003984016, 1, 1, 254, 0.1996, 0.1996, 1.996, false, 2},
};

} // namespace

TEST(ZonePlatePrint, WorkedPlates)
{
    for (const CheckCase &c : kChecks) {
        SCOPED_TRACE(c.name);
        const ZonePlatePrintCheck check =
            CheckZonePlatePrint(CalculateZonePlate(c.n, c.focalMM, c.waveMM, c.c), c.m, c.dpi);
        EXPECT_NEAR(check.plateMM, c.plateMM, c.plateMM * 1e-6);
        EXPECT_NEAR(check.outerRingMM, c.ringMM, c.ringMM * 1e-5);
        EXPECT_NEAR(check.outerRingDots, c.dots, c.dots * 1e-4);
        EXPECT_EQ(check.tooFine, c.tooFine);
        ASSERT_TRUE(check.cleanEnlargement.has_value());
        EXPECT_EQ(*check.cleanEnlargement, c.clean);
    }
}

TEST(ZonePlatePrint, RingOfNoWidthHasNoCleanEnlargement)
{
    const TZonePlateValues flat = {100, 1.0, 1.0};
    const ZonePlatePrintCheck check = CheckZonePlatePrint(flat, 1, 1200);
    EXPECT_TRUE(check.tooFine);
    EXPECT_FALSE(check.cleanEnlargement.has_value());
    EXPECT_THROW(CheckZonePlatePrint({}, 1, 1200), std::invalid_argument);
    EXPECT_THROW(CheckZonePlatePrint({92}, 1, 1200), std::invalid_argument);
}

TEST(ZonePlatePrint, PrinterResolutionText)
{
    struct Case
    {
        const char *text;
        std::optional<int> dpi;
    };
    const Case cases[] = {
        {"1200", 1200}, {" 600 ", 600}, {"72", 72},  {"9600", 9600},
        {"71", {}},     {"9601", {}},   {"0", {}},   {"-1200", {}},
        {"", {}},       {"1200.5", {}}, {"12a", {}}, {"99999999999", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParsePrinterDpi(c.text), c.dpi) << c.text;
}

TEST(ZonePlatePrint, LineOfTheDialog)
{
    struct Case
    {
        const char *name;
        ZonePlatePrintCheck check;
        int dpi, mainUnit, places;
        char decSep;
        const char *line;
    };
    const Case cases[] = {
        {"fine",
         {2.224860, 0.075441, 3.5641, false, 2},
         1200,
         0,
         3,
         '.',
         "On paper: plate 2.225 mm across, outer ring 3.56 dots at 1200 dpi."},
        {"too fine, decimal comma",
         {2.224860, 0.0377205, 1.7821, true, 2},
         1200,
         0,
         3,
         ',',
         "On paper: plate 2,225 mm across, outer ring 1,78 dots at 1200 dpi. Too fine to print: "
         "enlarge at least 2 times."},
        // 25.4 mm is 1 in; trailing zeros of the dots are kept.
        {"inches",
         {25.4, 0.1, 1.2, true, 3},
         300,
         1,
         2,
         '.',
         "On paper: plate 1 in across, outer ring 1.20 dots at 300 dpi. Too fine to print: "
         "enlarge at least 3 times."},
        {"no enlargement helps",
         {2, 0, 0, true, std::nullopt},
         1200,
         0,
         3,
         '.',
         "On paper: plate 2 mm across, outer ring 0.00 dots at 1200 dpi. Too fine to print."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PrintCheckText(c.check, c.dpi, c.mainUnit, c.places, c.decSep), c.line) << c.name;
}
