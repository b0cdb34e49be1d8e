// SPDX-License-Identifier: GPL-3.0-or-later
#include "buildtools/filmfit/fitfilm.h"

#include "tools/reciprocity.h"
#include "tools/stdcompat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace filmfit {

namespace {

constexpr int kMaxDegree = 14;
// The lowest degree within this error is taken; higher degrees gain little and need longer
// formula texts.
constexpr double kErrorTarget = 0.02;
// The fit aims inside the rules, so that rounding the coefficients to text cannot push a pair
// or the slope over its limit.
constexpr double kPairAim = 0.95 * kPairLimit;
constexpr double kSlopeAim = 0.5 * kSlopeLimit;
// Rounded coefficients may move the polynomial by this part of the model's value at most.
constexpr double kRoundingShift = 1e-6;
constexpr int kRoundingCheckPoints = 2000;
constexpr int kFollowCheckPoints = 400;

std::string Number(double value, int decimals)
{
    char buf[64];
    auto r = tools::compat::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

std::string Percent(double ratio)
{
    return Number(100 * ratio, 2) + " %";
}

std::vector<MakerPoint> PublishedPairs(const FilmSource &film)
{
    std::vector<MakerPoint> pairs = film.Points;
    pairs.insert(pairs.end(), film.Examples.begin(), film.Examples.end());
    return pairs;
}

// The formula text of the fewest significant digits that keeps the polynomial where the
// exact coefficients put it.
std::string FaithfulText(const std::vector<double> &coeffs, const FitTarget &target)
{
    for (int digits = 4; digits < 17; ++digits) {
        const std::string text = FormulaText(coeffs, digits);
        const std::vector<double> rounded = tools::ParseFilmFormula(text).value_or(coeffs);
        bool faithful = true;
        for (int i = 0; i < kRoundingCheckPoints && faithful; ++i) {
            const double t = GridTime(target.From, target.To, i, kRoundingCheckPoints);
            const double shift =
                tools::EvaluatePolynomial(rounded, t) - tools::EvaluatePolynomial(coeffs, t);
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

} // namespace

FilmFit CheckEntry(const FilmSource &film, std::string formula)
{
    FilmFit fit;
    fit.Formula = std::move(formula);
    auto fault = [&](std::string what) { fit.Faults.push_back(std::move(what)); };
    if (fit.Formula.size() > kFormulaLength)
        fault("the formula needs " + std::to_string(fit.Formula.size()) +
              " characters, more than " + std::to_string(kFormulaLength));
    std::optional<std::vector<double>> coeffs = tools::ParseFilmFormula(fit.Formula);
    if (!coeffs) {
        fault("the formula text breaks the rules of the database");
        return fit;
    }
    fit.Coeffs = *coeffs;
    fit.Degree = static_cast<int>(fit.Coeffs.size()) - 1;
    const double from = film.MinTime, to = film.MaxTime;
    const std::vector<MakerPoint> pairs = PublishedPairs(film);

    std::vector<double> pairTimes;
    for (const MakerPoint &p : pairs)
        pairTimes.push_back(p.Metered);
    fit.Error = MeasureRelativeError(
        fit.Coeffs, [&](double t) { return MakerModel(film, t); }, from, to, pairTimes);
    if (!(fit.Error.Max <= kErrorLimit))
        fault("strays " + Percent(fit.Error.Max) + " from the maker's model at " +
              Number(fit.Error.At, 3) + " s");
    if (!(LeastLengthening(fit.Coeffs, from, to) >= 1))
        fault("gives less than the metered time somewhere in its range");
    if (!RisesThroughout(fit.Coeffs, from, to))
        fault("falls somewhere in its range");

    const tools::FilmModel model = tools::MakeFilmModel(fit.Coeffs, from, to);
    fit.Slope = model.Slope;
    fit.MakerSlope = MakerSlope(film);
    if (!(std::abs(fit.Slope - fit.MakerSlope) <= kSlopeLimit))
        fault("is carried on past " + Number(to, 0) + " s at the slope " + Number(fit.Slope, 3) +
              ", the maker's is " + Number(fit.MakerSlope, 3));
    for (const MakerPoint &p : pairs) {
        const double corrected = tools::CorrectedTime(model, p.Metered);
        if (!(std::abs(corrected / p.Corrected - 1) <= kPairLimit))
            fault("gives " + Number(corrected, 2) + " s for " + Number(p.Metered, 2) +
                  " s metered, the maker " + Number(p.Corrected, 2) + " s");
    }
    if (film.Power > 0 && to < kFollowUpTo) {
        for (int i = 1; i < kFollowCheckPoints; ++i) {
            const double t = GridTime(to, kFollowUpTo, i, kFollowCheckPoints);
            const double ratio = tools::CorrectedTime(model, t) / std::pow(t, film.Power);
            if (!(std::abs(ratio - 1) <= kFollowLimit)) {
                fault("carried on, strays " + Percent(std::abs(ratio - 1)) +
                      " from the maker's law at " + Number(t, 0) + " s");
                break;
            }
        }
    }
    return fit;
}

FilmFit FitFilm(const FilmSource &film)
{
    double factor = 0;
    if (IsConstantFactor(film, factor))
        return CheckEntry(film, FormulaText({0.0, factor}, 0));

    FitTarget target;
    target.Follow = [&film](double t) { return MakerModel(film, t); };
    target.From = film.MinTime;
    target.To = film.MaxTime;
    for (const MakerPoint &p : PublishedPairs(film))
        if (p.Metered >= film.MinTime && p.Metered <= film.MaxTime)
            target.Pairs.push_back(p);
    target.PairTolerance = kPairAim;
    target.SlopeFrom = tools::ContinuationStart(film.MinTime, film.MaxTime);
    target.Slope = MakerSlope(film);
    target.SlopeTolerance = kSlopeAim;

    std::optional<FilmFit> best;
    for (int degree = 1; degree <= kMaxDegree; ++degree) {
        const std::optional<std::vector<double>> coeffs = FitConstrainedMinimax(target, degree);
        if (!coeffs)
            continue; // no polynomial of this degree meets the conditions
        FilmFit fit = CheckEntry(film, FaithfulText(*coeffs, target));
        if (fit.Formula.size() > kFormulaLength)
            break; // the texts only grow with the degree
        if (!best || Better(fit, *best))
            best = std::move(fit);
        if (best->Faults.empty() && best->Error.Max <= kErrorTarget)
            break;
    }
    if (!best) {
        FilmFit none;
        none.Faults.push_back("no polynomial meets the conditions");
        return none;
    }
    return *best;
}

} // namespace filmfit
