// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exposure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace tools;

namespace {

constexpr char kSeparators[] = {'.', ','};

// Expected texts are written with a decimal point; under a comma the point becomes a comma.
std::string Loc(std::string text, char sep)
{
    for (char &c : text)
        if (c == '.')
            c = sep;
    return text;
}

using Column = std::vector<std::string>;

Column TableColumn(double n, int mode, char sep)
{
    const ExposureResult r = ComputeExposureTimes(n, nullptr);
    EXPECT_FALSE(r.FormulaBroken);
    EXPECT_EQ(r.FirstOutOfRangeRow, 0);
    Column texts;
    for (double t : r.Times)
        texts.push_back(FormatExposureTime(mode, t, sep));
    return texts;
}

} // namespace

TEST(ExposureTime, EveryThresholdInBothModes)
{
    struct Case
    {
        double t;
        const char *exact;   // mode 0
        const char *rounded; // mode 1
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {36000000, "-", "-"},                 // ten thousand hours
        {35999999, "9999 h 60 m", "10000 h"}, // 3599 s left: 59.98 minutes, no carry
        {7199, "1 h 60 m", "2 h"},
        {5400, "1 h 30 m", "2 h"}, // half an hour rounds up in mode 1
        {3810, "1 h 4 m", "1 h"},  // 3.5 minutes: halves to even
        {3750, "1 h 2 m", "1 h"},  // 2.5 minutes: halves to even
        {3660, "1 h 1 m", "1 h"},
        {3659.9, "1 h", "1 h"}, // 59.9 s left: less than a minute
        {3600, "1 h", "1 h"},
        {3599.9, "59 m 60 s", "60 m"},
        {90, "1 m 30 s", "2 m"},
        {63.5, "1 m 4 s", "1 m"},
        {62.5, "1 m 2 s", "1 m"},
        {60.9, "1 m", "1 m"},
        {60, "1 m", "1 m"},
        {59.96, "60 s", "60 s"},
        {2.5, "2.5 s", "3 s"},
        {2.25, "2.3 s", "2 s"}, // one decimal, halves away from zero
        {1.04, "1 s", "1 s"},
        {1, "1 s", "1 s"},
        {0.8, "1 s", "1 s"},
        {0.75, "1 s", "1 s"},
        {0.7499, "1/2", "1/2"},
        {0.375, "1/2", "1/2"},
        {0.3749, "1/4", "1/4"},
        {0.1875, "1/4", "1/4"},
        {0.1874, "1/8", "1/8"},
        // 0.0958333333 exactly, not 23/240 = 0.09583333333...: the time between is 1/8.
        {0.09583333331, "1/8", "1/8"},
        {0.0958333332, "1/15", "1/15"},
        {0.05, "1/15", "1/15"},
        {0.0499, "1/30", "1/30"},
        {0.025, "1/30", "1/30"},
        {0.0249, "1/60", "1/60"},
        // 0.0123333333 exactly, not 37/3000 = 0.01233333333...
        {0.01233333331, "1/60", "1/60"},
        {0.0123333332, "1/125", "1/125"},
        {0.006, "1/125", "1/125"},
        {0.0059, "1/250", "1/250"},
        {0.003, "1/250", "1/250"},
        {0.0029, "1/500", "1/500"},
        {0.0015, "1/500", "1/500"},
        {0.0014, "1/1000", "1/1000"},
        {0.00075, "1/1000", "1/1000"},
        {0.0007, "1/2000", "1/2000"},
        {0.000375, "1/2000", "1/2000"},
        {0.0003, "-", "-"},
        {0, "-", "-"},
        {-0.5, "-", "-"}, // only from a polynomial falling below zero
        {-3600, "-", "-"},
        {nan, "-", "-"},
        {inf, "-", "-"},
    };
    for (char sep : kSeparators) {
        for (const Case &c : cases) {
            EXPECT_EQ(FormatExposureTime(0, c.t, sep), Loc(c.exact, sep)) << c.t << " s, " << sep;
            EXPECT_EQ(FormatExposureTime(1, c.t, sep), Loc(c.rounded, sep)) << c.t << " s, " << sep;
        }
    }
}

TEST(ExposureTable, RowsForFNumbers22And100And250)
{
    const Column same = {"1/1000", "1/500", "1/250", "1/125", "1/60", "1/30", "1/15", "1/8", "1/4",
                         "1/2",    "1 s",   "2 s",   "4 s",   "8 s",  "15 s", "30 s", "1 m", "2 m"};
    // Factor (100/22)^2 = 20.66: row 8 is 2.58 s, row 13 82.64 s.
    const Column exact100 = {"1/60",      "1/30",      "1/15",     "1/8",      "1/4",
                             "1/2",       "1.4 s",     "2.6 s",    "5.2 s",    "10.3 s",
                             "20.7 s",    "41.3 s",    "1 m 23 s", "2 m 45 s", "5 m 10 s",
                             "10 m 20 s", "20 m 40 s", "41 m 19 s"};
    const Column rounded100 = {"1/60", "1/30", "1/15", "1/8", "1/4", "1/2", "1 s",  "3 s",  "5 s",
                               "10 s", "21 s", "41 s", "1 m", "3 m", "5 m", "10 m", "21 m", "41 m"};
    // Factor (250/22)^2 = 129.13: row 16 is 3873.97 s (4.57 minutes over the hour).
    const Column exact250 = {"1/8",     "1/4",      "1/2",      "1 s",       "2.2 s",
                             "4.3 s",   "8.6 s",    "16.1 s",   "32.3 s",    "1 m 5 s",
                             "2 m 9 s", "4 m 18 s", "8 m 37 s", "17 m 13 s", "32 m 17 s",
                             "1 h 5 m", "2 h 9 m",  "4 h 18 m"};
    const Column rounded250 = {"1/8", "1/4", "1/2", "1 s", "2 s",  "4 s",  "9 s", "16 s", "32 s",
                               "1 m", "2 m", "4 m", "9 m", "17 m", "32 m", "1 h", "2 h",  "4 h"};
    struct Case
    {
        double n;
        int mode;
        const Column &expected;
    };
    const Case cases[] = {{22, 0, same},        {22, 1, same},      {100, 0, exact100},
                          {100, 1, rounded100}, {250, 0, exact250}, {250, 1, rounded250}};
    for (char sep : kSeparators) {
        for (const Case &c : cases) {
            Column expected;
            for (const std::string &text : c.expected)
                expected.push_back(Loc(text, sep));
            EXPECT_EQ(TableColumn(c.n, c.mode, sep), expected)
                << "N " << c.n << ", mode " << c.mode << ", " << sep;
        }
    }
    // At f 22 the resulting times are the metered ones, to the bit.
    EXPECT_EQ(ComputeExposureTimes(22, nullptr).Times, ExposureBaseTimes);
}

TEST(ExposureTable, ReciprocityCorrectionAndFirstRowBeyondTheModel)
{
    // At N = 22 the metered times are the base times: rows 11 to 18 are 1, 2, 4, 8, 15, 30,
    // 60 and 120 s. The polynomial 1 - 0.5 t + 0.25 t^2 turns 2 s into 1 s, 4 s into 3 s and
    // 8 s into 13 s.
    struct Case
    {
        const char *name;
        TFilmRecord film;
        double n;
        int firstOutOfRange;
        std::vector<std::pair<int, double>> rows; // row (1 to 18), resulting time
    };
    const Case cases[] = {
        {"MinTime and MaxTime exactly: corrected, not marked",
         {"F", "+1-0.5+0.25", 2, 8},
         22,
         15,
         {{11, 1}, {12, 1}, {13, 3}, {14, 13}}},
        {"beyond MaxTime from row 12 on", {"F", "+0+2", 1, 1.5}, 22, 12, {{10, 0.5}, {12, 4}}},
        {"no row beyond MaxTime", {"F", "+0+2", 1, 1000}, 22, 0, {{18, 240}}},
        {"judged on the metered time, not the corrected one",
         {"F", "+0+100", 1, 10},
         22,
         15,
         {{11, 100}, {14, 800}}},
        // N = 44: factor 4, so rows 12 to 15 are metered 8, 16, 32 and 60 s.
        {"the f-number factor comes first",
         {"F", "+0+2", 10, 40},
         44,
         15,
         {{12, 8}, {13, 32}, {14, 64}}},
        {"empty formula: corrected times are 0", {"F", "", 4, 1000}, 22, 0, {{12, 2}, {13, 0}}},
        {"decimal commas", {"F", "+0,5+1,5", 1, 1000}, 22, 0, {{11, 2}, {12, 3.5}}},
    };
    for (const Case &c : cases) {
        const ExposureResult r = ComputeExposureTimes(c.n, &c.film);
        EXPECT_FALSE(r.FormulaBroken) << c.name;
        EXPECT_EQ(r.FirstOutOfRangeRow, c.firstOutOfRange) << c.name;
        for (auto [row, time] : c.rows)
            EXPECT_EQ(r.Times[row - 1], time) << c.name << ", row " << row;
    }
}

TEST(ExposureTable, BrokenFormulaGivesNoTableAndNamesTheFilm)
{
    const TFilmRecord film{"Fil\xE9 400", "+1.5E-3", 1, 100};
    EXPECT_TRUE(ComputeExposureTimes(100, &film).FormulaBroken);
    EXPECT_EQ(BrokenFormulaMessage(film),
              "The reciprocity data of the film 'Fil\u00E9 400' are damaged; its exposure times "
              "cannot be computed. See Help for solution to this problem.");
}

TEST(ExposureTable, LabelsGetTheirUnitsAtStartUp)
{
    const ExposureLabels expected = {"1/1000", "1/500", "1/250", "1/125", "1/60", "1/30",
                                     "1/15",   "1/8",   "1/4",   "1/2",   "1 s",  "2 s",
                                     "4 s",    "8 s",   "15 s",  "30 s",  "1 m",  "2 m"};
    EXPECT_EQ(CompleteExposureTimeLabels(StoredExposureTimeLabels(), "s", "m", "h"), expected);
    // The unit texts come from the string table of the language in use.
    const ExposureLabels other =
        CompleteExposureTimeLabels(StoredExposureTimeLabels(), "Sek.", "Min.", "Std.");
    EXPECT_EQ(other[9], "1/2");
    EXPECT_EQ(other[10], "1 Sek.");
    EXPECT_EQ(other[16], "1 Min.");
}

TEST(ExposureTable, InputsAreCompleteFromF22WithAFilmWhenCorrecting)
{
    struct Case
    {
        double n;
        bool reciprocity;
        bool filmSelected;
        bool complete;
    };
    const Case cases[] = {
        {22, false, false, true}, {21.9, false, false, false}, {0, false, true, false},
        {22, true, false, false}, {22, true, true, true},      {250, false, true, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(InputsComplete(c.n, c.reciprocity, c.filmSelected), c.complete)
            << c.n << ' ' << c.reciprocity << ' ' << c.filmSelected;
}
