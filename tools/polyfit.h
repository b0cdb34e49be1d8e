// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filminput.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Fitting of the database polynomials: c0 + c1·t + c2·t² + ... in the metered time t, close
// in relative terms to a maker's model over a range of metered times, under the conditions a
// photographer relies on. Pure functions: no output, no exits.
namespace tools {

using Model = std::function<double(double)>;

// The model to follow and the conditions besides closeness.
struct FitTarget
{
    Model Follow; // the maker's model, positive on [From, To]
    double From = 0;
    double To = 0;
    // Published pairs that the polynomial meets within PairTolerance (relative).
    std::vector<FilmPoint> Pairs;
    double PairTolerance = 0;
    // The log-log chord of the polynomial from SlopeFrom to To lies within SlopeTolerance of
    // Slope (no condition when SlopeFrom >= To).
    double SlopeFrom = 0;
    double Slope = 0;
    double SlopeTolerance = 0;
};

// The coefficients (constant term first) of the polynomial of the given degree whose largest
// relative error against the model over [From, To] is least among those that never give less
// than the metered time, rise with it, and meet the pairs and the slope. The conditions are
// posed on a fixed grid spread evenly over the stops of the range and solved exactly as a
// linear program, so the result is always the same. nullopt when no polynomial of that degree
// meets the conditions. A range of a single time gives the factor that meets the model there.
std::optional<std::vector<double>> FitConstrainedMinimax(const FitTarget &target, int degree);

// The formula text of the database: every coefficient with its sign, in plain decimals (never
// exponent notation), rounded to the given number of significant digits, or with digits 0 the
// fewest that read back as the same double.
std::string FormulaText(const std::vector<double> &coeffs, int digits);

struct FitError
{
    double Max = 0; // largest |p(t) - model(t)| / model(t)
    double At = 0;  // the metered time where it occurs
};

// The dense grid of the checks over [a, b], much denser than the fitting grid, with the
// model's value at each time; made once for a film and used for each polynomial tried.
struct CheckGrid
{
    double From = 0;
    double To = 0;
    std::vector<double> Times;
    std::vector<double> Model;
    // Further times checked for the error (the published points), with the model's values.
    std::vector<double> ExtraTimes;
    std::vector<double> ExtraModel;
};

CheckGrid MakeCheckGrid(const Model &model, double a, double b,
                        const std::vector<double> &extra = {});

// What the checks find of one polynomial, evaluated as the program evaluates it
// (tools::EvaluatePolynomial):
struct PolynomialCheck
{
    // The error on the grid, at both ends and at the extra times within [a, b].
    FitError Error;
    // Whether it rises from a to b, so that a longer metered time never gives a shorter
    // corrected time.
    bool Rises = true;
    // The least p(t) / t: below 1 where the polynomial would shorten the metered time.
    double LeastLengthening = 0;
};

PolynomialCheck CheckPolynomial(const std::vector<double> &coeffs, const CheckGrid &grid);

// The same checks one at a time, on a grid of their own.
FitError MeasureRelativeError(const std::vector<double> &coeffs, const Model &model, double a,
                              double b, const std::vector<double> &extra = {});
bool RisesThroughout(const std::vector<double> &coeffs, double a, double b);
double LeastLengthening(const std::vector<double> &coeffs, double a, double b);

// Metered times spread evenly in log(t) from a to b, both ends exact.
double GridTime(double a, double b, int i, int count);

} // namespace tools
