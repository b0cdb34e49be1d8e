// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace tools;

namespace {

// The table as the window shows it: every diameter cell, then the f number.
struct PlateCase
{
    const char *name;
    int n;
    double focalMM, waveMM, c;
    int mainUnit, places;
    char decSep;
    std::vector<const char *> firstCells; // the first rows of the table
    const char *lastCell;
    const char *fNumber;
};

// Worked by hand: d_i = c * sqrt(i * f * lambda); F = f / (d1 * sqrt((N + 1) / 2)).
// N = 3, f = 100, c = 2: d1 = 2 * sqrt(0.055) = 0.46904, F = 100 / (0.46904 * sqrt 2) = 150.76.
// N = 17, f = 150: d17 = 2 * sqrt(17 * 0.0825) = 2.36854, F = 150 / (0.57446 * 3) = 87.04.
// f = 100 in = 2540 mm: d1 = 2 * sqrt(1.397) = 2.36390 mm = 0.09307 in; F = 759.8.
const PlateCase kPlates[] = {
    {"N3 c2", 3, 100, 0.00055, 2, 0, 3, '.', {"0.469", "0.663", "0.812"}, "0.812", "151"},
    {"N3 c1.9", 3, 100, 0.00055, 1.9, 0, 3, '.', {"0.446", "0.630", "0.772"}, "0.772", "159"},
    {"N1 single disc", 1, 100, 0.00055, 2, 0, 3, '.', {"0.469"}, "0.469", "213"},
    {"N15 f150", 15, 150, 0.00055, 2, 0, 3, '.', {"0.574", "0.812"}, "2.225", "92"},
    {"N17 f150", 17, 150, 0.00055, 2, 0, 3, '.', {"0.574"}, "2.369", "87"},
    {"f 100 in shown in inches",
     3,
     2540,
     0.00055,
     2,
     1,
     3,
     '.',
     {"0.093", "0.132", "0.161"},
     "0.161",
     "760"},
    {"no decimals: whole numbers", 3, 2540, 0.00055, 2, 0, 0, '.', {"2", "3", "4"}, "4", "760"},
    {"trailing zeros kept", 1, 100, 0.00055, 2, 0, 6, '.', {"0.469042"}, "0.469042", "213"},
    {"decimal comma", 3, 100, 0.00055, 2, 0, 3, ',', {"0,469", "0,663"}, "0,812", "151"},
};

} // namespace

TEST(ZonePlate, WorkedPlatesGiveTheTableOfTheWindow)
{
    for (const PlateCase &p : kPlates) {
        const TZonePlateValues values = CalculateZonePlate(p.n, p.focalMM, p.waveMM, p.c);
        ASSERT_EQ(values.size(), static_cast<std::size_t>(p.n) + 1) << p.name;
        for (std::size_t row = 0; row < p.firstCells.size(); ++row)
            EXPECT_EQ(ZoneTableCellText(values[row + 1], p.mainUnit, p.places, p.decSep),
                      p.firstCells[row])
                << p.name << " row " << row + 1;
        EXPECT_EQ(ZoneTableCellText(values.back(), p.mainUnit, p.places, p.decSep), p.lastCell)
            << p.name;
        EXPECT_EQ(ZonePlateFNumberText(values), p.fNumber) << p.name;
    }
}

TEST(ZonePlate, FNumberIsThatOfOneDiscWithTheOpenArea)
{
    // Every zone has the area of the central disc; the (N + 1) / 2 odd zones are open.
    for (int n : {1, 3, 5, 99, 1001}) {
        const double f = 80, lambda = 0.0005, c = 1.9;
        const TZonePlateValues v = CalculateZonePlate(n, f, lambda, c);
        const double expected = f / (c * std::sqrt(f * lambda) * std::sqrt((n + 1) / 2.0));
        EXPECT_NEAR(v[0], expected, expected * 1e-14) << n;
        for (int i = 1; i <= n; ++i)
            ASSERT_NEAR(v[i], v[1] * std::sqrt(static_cast<double>(i)), v[i] * 1e-14) << i;
    }
}

TEST(ZonePlate, ZoneCountOutsideTheBoundIsRefused)
{
    EXPECT_THROW(CalculateZonePlate(0, 100, 0.00055, 2), std::invalid_argument);
    EXPECT_THROW(CalculateZonePlate(-3, 100, 0.00055, 2), std::invalid_argument);
    EXPECT_THROW(CalculateZonePlate(kMaxZones + 2, 100, 0.00055, 2), std::invalid_argument);
    EXPECT_EQ(CalculateZonePlate(kMaxZones, 100, 0.00055, 2).size(),
              static_cast<std::size_t>(kMaxZones) + 1);
    EXPECT_TRUE(IsOddZoneCount(kMaxZones)); // the bound itself is a count the user may choose
}

TEST(ZonePlate, WholeNumberText)
{
    struct Case
    {
        const char *text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"15", 15},
        {" 15\t", 15},
        {"+7", 7},
        {"-3", -3},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt}, // beyond 32 bits
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {"12a", std::nullopt},
        {"0x10", std::nullopt},
        {"+-1", std::nullopt},
        {"--1", std::nullopt},
        {"+", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ZonePlate, ZoneCountChecksAndTheirMessages)
{
    struct Case
    {
        const char *text;
        ZoneCountCheck check;
        const char *message;
    };
    const Case cases[] = {
        {"3", ZoneCountCheck::Ok, ""},
        {"10001", ZoneCountCheck::Ok, ""},
        {"16", ZoneCountCheck::Even, "You must choose an odd number of zones."},
        {"0", ZoneCountCheck::Even, "You must choose an odd number of zones."},
        {"10003", ZoneCountCheck::OutOfRange,
         "The number of zones must be an odd number from 1 to 10001."},
        {"-1", ZoneCountCheck::OutOfRange,
         "The number of zones must be an odd number from 1 to 10001."},
        {"3,5", ZoneCountCheck::NotWholeNumber, "'3,5' is not a valid integer value"},
        {"4294967297", ZoneCountCheck::NotWholeNumber, "'4294967297' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        std::int32_t n = -99;
        EXPECT_EQ(CheckZoneCount(c.text, &n), c.check) << c.text;
        EXPECT_EQ(ZoneCountMessage(c.check, c.text), c.message) << c.text;
        if (c.check == ZoneCountCheck::Ok) {
            EXPECT_EQ(n, *ParseWholeNumber(c.text)) << c.text;
        }
    }
}

TEST(ZonePlate, ButtonsNeedThreePositiveInputs)
{
    struct Case
    {
        const char *zones, *focal, *wave;
        char decSep;
        bool enabled;
    };
    const Case cases[] = {
        {"3", "100", "0.00055", '.', true},
        {"3", "100", "0,00055", ',', true},
        {"", "100", "0.00055", '.', false}, // the state when the window opens
        {"3", "0", "0.00055", '.', false},
        {"3", "100", "", '.', false},
        {"3", "-100", "0.00055", '.', false},
        {"3", "100", "0,00055", '.', false}, // unreadable counts as 0
        {"2", "1e2", "5e-4", '.', true},     // evenness is checked on the click
    };
    for (const Case &c : cases)
        EXPECT_EQ(ZonePlateInputsPositive(c.zones, c.focal, c.wave, c.decSep), c.enabled)
            << c.zones << " | " << c.focal << " | " << c.wave;
}

TEST(ZonePlate, HeaderNamesTheUnit)
{
    EXPECT_EQ(ZoneTableHeaderText(0), "Zone diameter (mm)");
    EXPECT_EQ(ZoneTableHeaderText(1), "Zone diameter (in)");
}

TEST(ZonePlate, PageSideAndItsLimit)
{
    // 3240 points = 45 in; the page is 1.1 times the outermost diameter, so the largest plate
    // is 3240 / 1.1 / 72 * 25.4 = 1039.09 mm across (for M times the diameter).
    struct Case
    {
        const char *name;
        double outermostMM;
        std::int32_t m;
        double side; // 0: only the refusal is checked
        bool tooLarge;
    };
    const Case cases[] = {
        {"small plate: 72-point minimum", 0.812403840463596, 1, 72, false},
        {"just under 72 / 1.1 points", 23.0, 1, 72, false},
        {"above 72 / 1.1 points: 10 % margin", 50.8, 1, 158.4, false},
        {"enlargement multiplies", 25.4, 3, 237.6, false},
        {"1039 mm fits", 1039.0, 1, 0, false},
        {"1039.2 mm is refused", 1039.2, 1, 0, true},
        {"519.6 mm enlarged twice is refused", 519.6, 2, 0, true},
        {"519.5 mm enlarged twice fits", 519.5, 2, 0, false},
    };
    for (const Case &c : cases) {
        const TZonePlateValues values = {100.0, c.outermostMM / 2, c.outermostMM};
        const double side = ZonePlatePageSide(values, c.m);
        if (c.side > 0) {
            EXPECT_NEAR(side, c.side, 1e-9) << c.name;
        }
        EXPECT_EQ(PageTooLarge(side), c.tooLarge) << c.name;
    }
    EXPECT_FALSE(PageTooLarge(3240.0)); // strictly greater is refused
    EXPECT_TRUE(PageTooLarge(std::nextafter(3240.0, 4000.0)));
    EXPECT_TRUE(PageTooLarge(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(PageTooLarge(std::numeric_limits<double>::infinity()));
}
