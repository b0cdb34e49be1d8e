// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting of film database entries (tools/filmfit.h), which the build and the program rely
// on to refuse an entry that would give a photographer a wrong time.
#include "tools/filmfit.h"
#include "tools/filmsource.h"
#include "tools/linprog.h"
#include "tools/polyfit.h"
#include "tools/reciprocity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace tools;

TEST(LinearProgram, SolvesOrRefuses)
{
    using Vec = std::vector<double>;
    struct Case
    {
        const char *name;
        Vec cost;
        std::vector<std::pair<Vec, double>> rows; // a·x <= b
        std::optional<Vec> expected;
    };
    const Case cases[] = {
        {"corner", {1, 1}, {{{-1, 0}, -1}, {{0, -1}, -2}, {{1, 1}, 10}}, Vec{1, 2}},
        {"maximum as minimum of the negative",
         {-1, -2},
         {{{1, 0}, 3}, {{1, 1}, 5}, {{0, -1}, 0}, {{-1, 0}, 0}},
         Vec{0, 5}},
        // Without x >= 0 the cost falls without end as x does (y = 5 - x).
        {"no lower bound", {-1, -2}, {{{1, 0}, 3}, {{1, 1}, 5}, {{0, -1}, 0}}, std::nullopt},
        // The constant c nearest to both 1 and 3 in the largest error E: c = 2, E = 1.
        {"minimax",
         {0, 1},
         {{{1, -1}, 1}, {{-1, -1}, -1}, {{1, -1}, 3}, {{-1, -1}, -3}},
         Vec{2, 1}},
        {"no x meets both", {1}, {{{1}, 1}, {{-1}, -2}}, std::nullopt},
        {"nothing below", {1}, {{{1}, 5}}, std::nullopt},
        {"row of zeros that holds", {1}, {{{0}, 1}, {{-1}, -4}}, Vec{4}},
        {"row of zeros that cannot hold", {1}, {{{0}, -1}, {{-1}, -4}}, std::nullopt},
    };
    for (const Case &c : cases) {
        LinearProgram lp(c.cost);
        for (const auto &[a, b] : c.rows)
            lp.Add(a, b);
        const std::optional<Vec> x = lp.Solve();
        ASSERT_EQ(x.has_value(), c.expected.has_value()) << c.name;
        for (std::size_t i = 0; x && i < x->size(); ++i)
            EXPECT_NEAR((*x)[i], (*c.expected)[i], 1e-9) << c.name << ", x" << i;
    }
}

TEST(FilmFit, FitsUnderItsConditions)
{
    auto law = [](double p) { return [p](double t) { return std::pow(t, p); }; };
    // Over [1, 100], without a slope condition.
    auto plain = [](Model model) {
        FitTarget target;
        target.Follow = std::move(model);
        target.From = 1;
        target.To = target.SlopeFrom = 100;
        return target;
    };
    // 1.5 t + 0.01 t² is a polynomial of degree 2: found exactly.
    const FitTarget exact = plain([](double t) { return 1.5 * t + 0.01 * t * t; });
    const auto c = FitConstrainedMinimax(exact, 2);
    ASSERT_TRUE(c);
    EXPECT_LT(MeasureRelativeError(*c, exact.Follow, 1, 100).Max, 1e-9);

    // t^0.9 lies below t: the fit stays at or above the metered time all the same.
    const auto b = FitConstrainedMinimax(plain(law(0.9)), 4);
    ASSERT_TRUE(b);
    EXPECT_GE(LeastLengthening(*b, 1, 100), 1.0);

    // t^1.3 on [1, 100] with the slope over the top two stops held to 1.3 ± 0.01 and the pair
    // 10 s → 20 s (law: 19.95 s) within 1 %.
    FitTarget held{law(1.3), 1, 100, {{10, 20}}, 0.01, 25, 1.3, 0.01};
    const auto h = FitConstrainedMinimax(held, 6);
    ASSERT_TRUE(h);
    const FilmModel model = MakeFilmModel(*h, 1, 100);
    EXPECT_NEAR(model.Slope, 1.3, 0.01 + 1e-9);
    EXPECT_NEAR(EvaluatePolynomial(*h, 10), 20, 0.2 + 1e-9);
    EXPECT_TRUE(RisesThroughout(*h, 1, 100));

    // A straight line cannot pass 1 s → 1 s, 2 s → 10 s and 3 s → 3 s.
    FitTarget bent{law(1), 1, 3, {{1, 1}, {2, 10}, {3, 3}}, 0.01, 3};
    EXPECT_FALSE(FitConstrainedMinimax(bent, 1));
}

TEST(FilmFit, FormulaTextIsPlainDecimals)
{
    struct Case
    {
        std::vector<double> coeffs;
        int digits;
        const char *text;
    };
    const Case cases[] = {
        {{-0.25, 3}, 0, "-0.25+3"},
        {{0, 1.4142135623730951}, 0, "+0+1.4142135623730951"},
        {{1.23456789}, 4, "+1.235"},
        {{123456.7}, 3, "+123457"}, // whole digits are never dropped
        {{1.5e-20}, 4, "+0.000000000000000000015"},
        {{-2.5e-7, 1}, 2, "-0.00000025+1"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormulaText(c.coeffs, c.digits), c.text);
        EXPECT_TRUE(ParseFilmFormula(c.text)) << c.text;
    }
}

TEST(FilmFit, EntriesBreakingARuleAreRefused)
{
    const std::string law = "version 1\nfilm F\nsource s\npower 1.3\nrange 1 100\n";
    auto film = [](const std::string &source) {
        FilmSourceFile file;
        std::string error;
        EXPECT_TRUE(ParseFilmSource(source, file, error)) << error;
        return file.Films.empty() ? FilmSource{} : file.Films[0];
    };
    const std::string fitted = FitFilm(film(law).Model).Formula;
    struct Case
    {
        const char *name;
        std::string source;
        std::string formula;             // empty: the fitted one
        std::vector<std::string> faults; // the start of each fault, in order
    };
    const Case cases[] = {
        {"the fit", law, "", {}},
        {"the fit of a factor", "version 1\nfilm F\nsource s\nat 8 +1/2 stop\nrange 8 8\n", "", {}},
        {"the fit of a table",
         "version 1\nfilm F\nsource s\nat 1 +0 stop\nat 10 15 s\nat 100 200 s\nrange 1 100\n",
         "",
         {}},
        // t itself: 100 s should be 398 s; carried on at the slope 1 instead of 1.3.
        {"reciprocity law", law, "+0+1", {"strays", "is carried on", "carried on, strays"}},
        {"shorter",
         law,
         "+0+0.95+0.0016",
         {"strays", "gives less", "is carried on", "carried on, strays"}},
        {"falling", law, "+0+3-0.019", {"strays", "falls", "is carried on", "carried on, strays"}},
        // The law gives 19.95 s for 10 s.
        {"worked example missed", law + "example 10 25 s\n", fitted, {"gives 19."}},
        {"too long",
         law,
         "+0+1." + std::string(251, '0'),
         {"the formula needs 256", "strays", "is carried on", "carried on, strays"}},
        {"broken", law, "+1.5E-3", {"the formula text breaks"}},
    };
    for (const Case &c : cases) {
        const FilmSource source = film(c.source);
        const FilmFit fit = c.formula.empty()
                                ? FitFilm(source.Model, source.Examples)
                                : CheckEntry(source.Model, source.Examples, c.formula);
        std::string all;
        for (const std::string &f : fit.Faults)
            all += f + "; ";
        ASSERT_EQ(fit.Faults.size(), c.faults.size()) << c.name << ": " << all;
        for (std::size_t i = 0; i < c.faults.size(); ++i)
            EXPECT_EQ(fit.Faults[i].rfind(c.faults[i], 0), 0u) << c.name << ": " << all;
    }
}

// Every kind of model a photographer gives, fitted and then checked on a grid of its own, as
// the program will apply the entry: within 5 % of the model (and no worse than the fit says),
// never shorter than metered, rising, every pair within 2 %, carried on past MaxTime at the
// model's slope, and a power law followed within 15 % up to twenty times MaxTime.
TEST(FilmFit, EveryKindOfModelMeetsTheRules)
{
    auto law = [](const char *p, const char *from = "", const char *min = "",
                  const char *max = "") {
        FilmInput input;
        input.Power = p;
        input.From = from;
        input.RangeMin = min;
        input.RangeMax = max;
        return input;
    };
    auto pairs = [](std::vector<FilmPairInput> list, const char *min = "", const char *max = "") {
        FilmInput input;
        input.PowerLaw = false;
        input.Pairs = std::move(list);
        input.RangeMin = min;
        input.RangeMax = max;
        return input;
    };
    struct Case
    {
        const char *name;
        FilmInput input;
    };
    const Case cases[] = {
        {"power 1.1", law("1.1")},
        {"power 1.2", law("1.2")},
        {"power 1.3 from 10 s", law("1.3", "10")},
        {"power 1.4 from 1/4 s", law("1.4", "1/4")},
        {"power 1.5 narrowed to 2 s - 300 s", law("1.5", "", "2", "300")},
        {"power 1.6", law("1.6")},
        {"power 2.9 from 60 s, up to 10000 s", law("2.9", "60")},
        {"stops: Velvia 50", pairs({{"4", "+1/3"}, {"8", "+1/2"}, {"16", "+2/3"}, {"32", "+1"}})},
        {"stops: T-MAX 100", pairs({{"0.1", "+0"}, {"1", "+1/3"}, {"10", "15"}, {"100", "200"}})},
        {"stops, decimals", pairs({{"1", "+0.5"}, {"10", "+1.5"}, {"100", "+2.5"}})},
        {"seconds: Tri-X", pairs({{"1", "2"}, {"10", "50"}, {"100", "1200"}})},
        {"seconds, narrowed", pairs({{"1", "2"}, {"10", "50"}, {"100", "1200"}}, "2", "60")},
        {"no correction up to 120 s", pairs({{"120", "+0"}})},
        {"the same stops throughout", pairs({{"120", "+1/2"}, {"1000", "+1/2"}})},
    };
    for (const Case &c : cases) {
        const FilmInputCheck check = ReadFilmInput(c.input);
        ASSERT_EQ(check.Fault, FilmInputFault::None) << c.name;
        const FilmModelData &m = check.Model;
        const FilmFit fit = FitFilm(m);
        std::string faults;
        for (const std::string &f : fit.Faults)
            faults += f + "; ";
        EXPECT_TRUE(fit.Faults.empty()) << c.name << ": " << faults;
        EXPECT_EQ(fit.MinTime, m.MinTime) << c.name;
        EXPECT_EQ(fit.MaxTime, m.MaxTime) << c.name;
        EXPECT_LE(fit.Formula.size(), 255u) << c.name;

        const FilmModel entry =
            MakeFilmModel(ParseFilmFormula(fit.Formula).value_or(std::vector<double>{}),
                          fit.MinTime, fit.MaxTime);
        double worst = 0;
        double previous = 0;
        for (int i = 0; i <= 3000; ++i) {
            const double t = m.MinTime * std::pow(m.MaxTime / m.MinTime, i / 3000.0);
            const double p = CorrectedTime(entry, t);
            worst = std::max(worst, std::abs(p / ModelTime(m, t) - 1));
            EXPECT_GE(p, t * (1 - 1e-12)) << c.name << " at " << t << " s";
            EXPECT_GE(p, previous) << c.name << " at " << t << " s";
            previous = p;
        }
        EXPECT_LE(worst, 0.05) << c.name;
        EXPECT_LE(worst, fit.Error.Max + 1e-9) << c.name << ": the error told is the largest";
        for (const FilmPoint &p : m.Points) {
            if (p.Metered >= m.MinTime && p.Metered <= m.MaxTime) {
                EXPECT_NEAR(CorrectedTime(entry, p.Metered) / p.Corrected, 1, 0.02)
                    << c.name << " at " << p.Metered << " s";
            }
        }
        EXPECT_NEAR(entry.Slope, ModelSlope(m), 0.02) << c.name;
        for (double t = m.MaxTime; m.Power > 0 && t <= 20 * m.MaxTime; t *= 1.2)
            EXPECT_NEAR(CorrectedTime(entry, t) / ModelTime(m, t), 1, 0.15)
                << c.name << " at " << t << " s";
    }
}

// A fit that is asked to stop ends before its next degree.
TEST(FilmFit, StopsWhenAsked)
{
    const FilmInputCheck check = ReadFilmInput([] {
        FilmInput input;
        input.Power = "1.31";
        return input;
    }());
    const std::atomic<bool> stop{true};
    const FilmFit fit = FitFilm(check.Model, {}, &stop);
    ASSERT_EQ(fit.Faults.size(), 1u);
    EXPECT_EQ(fit.Faults[0], "stopped");
}
