// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/filmfit.h"

#include "tools/numtext.h"
#include "tools/reciprocity.h"
#include "tools/stdcompat.h"
#include "tools/stringtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tools {

namespace {

constexpr int kMaxDegree = 14;
// The lowest degree within this error is taken; higher degrees gain little and need longer
// formula texts.
constexpr double kErrorTarget = 0.02;
// The fit aims inside the rules, so that rounding the coefficients to text cannot push a pair
// or the slope over its limit.
constexpr double kPairAim = 0.95 * kFitPairLimit;
constexpr double kSlopeAim = 0.5 * kFitSlopeLimit;
// Rounded coefficients may move the polynomial by this part of the model's value at most.
constexpr double kRoundingShift = 1e-6;
constexpr int kRoundingCheckPoints = 2000;
constexpr int kFollowCheckPoints = 400;

std::string Number(double value, int decimals)
{
    char buf[64];
    auto r = compat::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

std::string Percent(double ratio)
{
    return Number(100 * ratio, 2) + " %";
}

std::vector<FilmPoint> AllPairs(const FilmModelData &model, const std::vector<FilmPoint> &examples)
{
    std::vector<FilmPoint> pairs = model.Points;
    pairs.insert(pairs.end(), examples.begin(), examples.end());
    return pairs;
}

// The formula text of the fewest significant digits that keeps the polynomial where the
// exact coefficients put it.
std::string FaithfulText(const std::vector<double> &coeffs, const FitTarget &target)
{
    for (int digits = 4; digits < 17; ++digits) {
        const std::string text = FormulaText(coeffs, digits);
        const std::vector<double> rounded = ParseFilmFormula(text).value_or(coeffs);
        bool faithful = true;
        for (int i = 0; i < kRoundingCheckPoints && faithful; ++i) {
            const double t = GridTime(target.From, target.To, i, kRoundingCheckPoints);
            const double shift = EvaluatePolynomial(rounded, t) - EvaluatePolynomial(coeffs, t);
            faithful = std::abs(shift) <= kRoundingShift * target.Follow(t);
        }
        if (faithful)
            return text;
    }
    return FormulaText(coeffs, 0);
}

// A fit that may go into the database beats one that may not; then the smaller error wins.
bool Better(const FilmFit &a, const FilmFit &b)
{
    if (a.Faults.empty() != b.Faults.empty())
        return a.Faults.empty();
    return a.Error.Max < b.Error.Max;
}

CheckGrid GridOf(const FilmModelData &model, const std::vector<FilmPoint> &pairs)
{
    std::vector<double> pairTimes;
    for (const FilmPoint &p : pairs)
        pairTimes.push_back(p.Metered);
    return MakeCheckGrid([&model](double t) { return ModelTime(model, t); }, model.MinTime,
                         model.MaxTime, pairTimes);
}

FilmFit Check(const FilmModelData &model, const std::vector<FilmPoint> &pairs,
              const CheckGrid &grid, std::string formula)
{
    FilmFit fit;
    fit.Formula = std::move(formula);
    fit.MinTime = model.MinTime;
    fit.MaxTime = model.MaxTime;
    auto fault = [&](std::string what) { fit.Faults.push_back(std::move(what)); };
    if (fit.Formula.size() > kFormulaLength)
        fault("the formula needs " + std::to_string(fit.Formula.size()) +
              " characters, more than " + std::to_string(kFormulaLength));
    std::optional<std::vector<double>> coeffs = ParseFilmFormula(fit.Formula);
    if (!coeffs) {
        fault("the formula text breaks the rules of the database");
        fit.Error.Max = INFINITY;
        return fit;
    }
    fit.Coeffs = *coeffs;
    fit.Degree = static_cast<int>(fit.Coeffs.size()) - 1;
    const double to = model.MaxTime;

    const PolynomialCheck check = CheckPolynomial(fit.Coeffs, grid);
    fit.Error = check.Error;
    if (!(fit.Error.Max <= kFitErrorLimit))
        fault("strays " + Percent(fit.Error.Max) + " from the maker's model at " +
              Number(fit.Error.At, 3) + " s");
    if (!(check.LeastLengthening >= 1))
        fault("gives less than the metered time somewhere in its range");
    if (!check.Rises)
        fault("falls somewhere in its range");

    const FilmModel entry = MakeFilmModel(fit.Coeffs, model.MinTime, to);
    fit.Slope = entry.Slope;
    fit.MakerSlope = ModelSlope(model);
    if (!(std::abs(fit.Slope - fit.MakerSlope) <= kFitSlopeLimit))
        fault("is carried on past " + Number(to, 0) + " s at the slope " + Number(fit.Slope, 3) +
              ", the maker's is " + Number(fit.MakerSlope, 3));
    for (const FilmPoint &p : pairs) {
        // A pair outside a narrowed range is no part of the entry.
        if (p.Metered < model.MinTime || p.Metered > to)
            continue;
        const double corrected = CorrectedTime(entry, p.Metered);
        if (!(std::abs(corrected / p.Corrected - 1) <= kFitPairLimit))
            fault("gives " + Number(corrected, 2) + " s for " + Number(p.Metered, 2) +
                  " s metered, the maker " + Number(p.Corrected, 2) + " s");
    }
    if (model.Power > 0) {
        const double followTo = kFitFollowSpan * to;
        for (int i = 1; i < kFollowCheckPoints; ++i) {
            const double t = GridTime(to, followTo, i, kFollowCheckPoints);
            const double ratio = CorrectedTime(entry, t) / ModelTime(model, t);
            if (!(std::abs(ratio - 1) <= kFitFollowLimit)) {
                fault("carried on, strays " + Percent(std::abs(ratio - 1)) +
                      " from the maker's law at " + Number(t, 0) + " s");
                break;
            }
        }
    }
    return fit;
}

} // namespace

FilmFit CheckEntry(const FilmModelData &model, const std::vector<FilmPoint> &examples,
                   std::string formula)
{
    const std::vector<FilmPoint> pairs = AllPairs(model, examples);
    return Check(model, pairs, GridOf(model, pairs), std::move(formula));
}

FilmFit FitFilm(const FilmModelData &model, const std::vector<FilmPoint> &examples,
                const std::atomic<bool> *stop)
{
    const std::vector<FilmPoint> pairs = AllPairs(model, examples);
    const CheckGrid grid = GridOf(model, pairs);
    double factor = 0;
    if (IsConstantFactor(model, factor))
        return Check(model, pairs, grid, FormulaText({0.0, factor}, 0));

    FitTarget target;
    target.Follow = [&model](double t) { return ModelTime(model, t); };
    target.From = model.MinTime;
    target.To = model.MaxTime;
    for (const FilmPoint &p : pairs)
        if (p.Metered >= model.MinTime && p.Metered <= model.MaxTime)
            target.Pairs.push_back(p);
    target.PairTolerance = kPairAim;
    target.SlopeFrom = ContinuationStart(model.MinTime, model.MaxTime);
    target.Slope = ModelSlope(model);
    target.SlopeTolerance = kSlopeAim;

    std::optional<FilmFit> best;
    for (int degree = 1; degree <= kMaxDegree; ++degree) {
        if (stop && stop->load()) {
            FilmFit stopped;
            stopped.Faults.push_back("stopped");
            return stopped;
        }
        const std::optional<std::vector<double>> coeffs = FitConstrainedMinimax(target, degree);
        if (!coeffs)
            continue; // no polynomial of this degree meets the conditions
        FilmFit fit = Check(model, pairs, grid, FaithfulText(*coeffs, target));
        if (fit.Formula.size() > kFormulaLength)
            break; // the texts only grow with the degree
        if (!best || Better(fit, *best))
            best = std::move(fit);
        if (best->Faults.empty() && best->Error.Max <= kErrorTarget)
            break;
    }
    if (!best) {
        FilmFit none;
        none.MinTime = model.MinTime;
        none.MaxTime = model.MaxTime;
        none.Error.Max = INFINITY;
        none.Faults.push_back("no polynomial meets the conditions");
        return none;
    }
    return *best;
}

std::string FitFaultText(const FilmFit &fit, char decSep)
{
    if (FitStraysTooFar(fit) && std::isfinite(fit.Error.Max))
        return FormatStr(2750, FitErrorPercentText(fit, decSep));
    return LoadStr(2751);
}

std::string FitErrorPercentText(const FilmFit &fit, char decSep)
{
    return FormatFloat("0.00", 100 * fit.Error.Max, decSep);
}

} // namespace tools
