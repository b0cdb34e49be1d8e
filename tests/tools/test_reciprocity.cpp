// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exposure.h"
#include "tools/reciprocity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tools;

namespace {

const double kNone = std::nan("");

} // namespace

TEST(FilmContinuation, CarriesTheModelOnPastItsRange)
{
    struct Case
    {
        const char *name;
        std::vector<double> coeffs;
        double minTime, maxTime;
        double slope;           // expected; NaN: none
        std::vector<double> at; // metered times
        std::vector<double> corrected;
    };
    const Case cases[] = {
        // t²: a power law with the exponent 2 is carried on as t² itself.
        {"power law continued on its own exponent",
         {0, 0, 1},
         1,
         100,
         2,
         {100, 400, 1e4},
         {1e4, 16e4, 1e8}},
        {"identity stays identity", {0, 1}, 1, 100, 1, {100, 200, 36e6}, {100, 200, 36e6}},
        // t + t²/100 on [1, 100]: from 25 s (31.25 s) to 100 s (200 s) the time grows 6.4
        // times in two stops, so four times 100 s needs 6.4 times 200 s. The slope of the
        // whole range would be log(200 / 1.01) / log(100) = 1.15 instead.
        {"slope of the top two stops",
         {0, 1, 0.01},
         1,
         100,
         std::log(6.4) / std::log(4),
         {400, 1600},
         {1280, 8192}},
        // The range is one stop: the slope is taken from MinTime, 50 s (75 s) to 100 s (200 s).
        {"range shorter than two stops",
         {0, 1, 0.01},
         50,
         100,
         std::log(200 / 75.) / std::log(2),
         {200},
         {200 * 200 / 75.}},
        // A range of one time: the slope of t² there, 2.
        {"range of one time", {0, 0, 1}, 60, 60, 2, {60, 120}, {3600, 14400}},
        // 10 - t is negative at 20 s: exactly there the polynomial holds, beyond it no time.
        {"negative at MaxTime", {10, -1}, 1, 20, kNone, {20, 20.001, 1e4}, {-10, kNone, kNone}},
        // 1 - 2t + t² is 0 at 1 s, where the slope would start: positive at 4 s, but no slope.
        {"no positive value two stops down", {1, -2, 1}, 1, 4, kNone, {4, 5}, {9, kNone}},
        {"below MinTime: no correction", {0, 3}, 10, 100, 1, {9.99, 10}, {9.99, 30}},
    };
    for (const Case &c : cases) {
        const FilmModel model = MakeFilmModel(c.coeffs, c.minTime, c.maxTime);
        if (std::isnan(c.slope))
            EXPECT_TRUE(std::isnan(model.Slope)) << c.name;
        else
            EXPECT_NEAR(model.Slope, c.slope, 1e-12) << c.name;
        for (std::size_t i = 0; i < c.at.size(); ++i) {
            const double t = CorrectedTime(model, c.at[i]);
            if (std::isnan(c.corrected[i]))
                EXPECT_TRUE(std::isnan(t)) << c.name << " at " << c.at[i] << ": " << t;
            else
                EXPECT_NEAR(t, c.corrected[i], 1e-12 * std::abs(c.corrected[i]))
                    << c.name << " at " << c.at[i];
        }
    }
}

TEST(FilmContinuation, TheTableShowsTheContinuationInRedAndNoTimeAsADash)
{
    // N = 44: factor 4, so rows 11 to 18 are metered 4, 8, 16, 32, 60, 120, 240 and 480 s.
    struct Case
    {
        const char *name;
        TFilmRecord film;
        int firstRed;
        std::vector<std::pair<int, const char *>> rows; // row, exact text
    };
    const Case cases[] = {
        // 0.01 t²: 16 s gives 2.56 s, 32 s (the end of the data) 10.24 s; then t² goes on:
        // 60 s gives 36 s, 480 s 38 m 24 s.
        {"power law",
         {"F", "+0+0+0.01", 1, 32},
         15,
         {{13, "2.6 s"}, {14, "10.2 s"}, {15, "36 s"}, {18, "38 m 24 s"}}},
        {"identity", {"F", "+0+1", 1, 8}, 13, {{12, "8 s"}, {13, "16 s"}, {18, "8 m"}}},
        // 40 - t: 32 s give 8 s; at the end of the data, 45 s, it is negative: nothing to
        // carry on from.
        {"negative at MaxTime", {"F", "+40-1", 1, 45}, 15, {{14, "8 s"}, {15, "-"}, {18, "-"}}},
    };
    for (const Case &c : cases) {
        const ExposureResult r = ComputeExposureTimes(44, &c.film);
        EXPECT_EQ(r.FirstOutOfRangeRow, c.firstRed) << c.name;
        for (auto [row, text] : c.rows)
            EXPECT_EQ(FormatExposureTime(0, r.Times[row - 1], '.'), text)
                << c.name << ", row " << row;
    }
}
