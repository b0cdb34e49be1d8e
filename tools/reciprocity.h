// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>
#include <vector>

// The reciprocity model of one film as the film database holds it: a polynomial in the
// metered time, written as a formula text, that describes the film over a range of metered
// times [MinTime, MaxTime]; and the rule that turns a metered time into the time to expose.
namespace tools {

// The coefficients c0, c1, ... of a formula: each a sign followed by a decimal number (digits
// with at most one decimal mark, "." or ","), with nothing between them. An empty formula
// gives no coefficients. A formula breaking these rules gives nullopt: a term without a
// leading sign or without digits, blanks, letters, exponent notation.
std::optional<std::vector<double>> ParseFilmFormula(std::string_view formula);

// c0 + c1·t + c2·t² + ...: the terms are added in order of k into a double that starts at 0,
// and the powers of t are built by repeated multiplication (t^k = t^(k-1)·t), so the result
// is the same on every platform (std::pow's last bit differs between C libraries).
// No coefficients give 0.
double EvaluatePolynomial(const std::vector<double> &coeffs, double t);

// A film's model ready to correct times: the polynomial, its range, and how it is carried on
// past MaxTime.
struct FilmModel
{
    std::vector<double> Coeffs;
    double MinTime = 0;
    double MaxTime = 0;
    // The polynomial at MaxTime and its log-log slope over the top of the range
    // (ContinuationStart to MaxTime); both NaN when the polynomial gives no positive value
    // there to carry on from.
    double TopTime = 0;
    double Slope = 0;
};

// Where the slope of the continuation is measured from: two stops below MaxTime, or MinTime
// when the range is shorter than that.
double ContinuationStart(double minTime, double maxTime);

// The model of a polynomial over [minTime, maxTime], its continuation worked out once.
FilmModel MakeFilmModel(std::vector<double> coeffs, double minTime, double maxTime);

// The time a film needs for the metered time t (seconds):
//   t below MinTime: t itself, the film needs no correction;
//   t up to MaxTime: the polynomial at t;
//   t beyond MaxTime: the polynomial carried on from MaxTime as a straight line in log-log
//     coordinates, P(MaxTime)·(t / MaxTime)^Slope. NaN (shown as "-") when the model has no
//     positive value to carry on from.
// A polynomial is only a model of its range: far outside it, it swings to absurd or negative
// values, while a film's reciprocity failure goes on as it did at the end of its data. (The
// continuation goes through std::pow, whose last bit may differ between C libraries; that
// shows only in a time lying exactly on a boundary of its text.)
double CorrectedTime(const FilmModel &model, double t);

// A curve of the model to draw: count metered times spread evenly in log(t) from `from` to
// `to` (both ends exact), each with its CorrectedTime.
struct TimePair
{
    double Metered = 0;
    double Corrected = 0;
};
std::vector<TimePair> SampleCorrectedTimes(const FilmModel &model, double from, double to,
                                           int count);

} // namespace tools
