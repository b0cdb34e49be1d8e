// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Fitting of the database polynomials: c0 + c1·t + c2·t² + ... in the metered time t,
// close in relative terms to a maker's model over a range of metered times.
namespace filmfit {

using Model = std::function<double(double)>;

// The coefficients (constant term first) of the polynomial of the given degree whose
// largest relative error against model over [a, b] is (close to) the smallest possible.
// Weighted least squares on a fixed grid, reweighted by Lawson's method towards the minimax
// fit; the grid and the number of rounds are fixed, so the result is always the same.
std::vector<double> FitRelativeMinimax(const Model &model, double a, double b, int degree);

// The formula text of the database: every coefficient with its sign, in plain decimals
// (never exponent notation), with as many digits as reading it back exactly needs.
std::string FormulaText(const std::vector<double> &coeffs);

// Reads a formula text written by FormulaText; empty on a malformed text.
std::vector<double> ReadFormulaText(std::string_view text);

// The polynomial as the program evaluates it: terms added in order into a double that
// starts at 0, the powers of t by repeated multiplication.
double EvaluateAsProgram(const std::vector<double> &coeffs, double t);

struct FitError
{
    double Max = 0; // largest |p(t) - model(t)| / model(t)
    double At = 0;  // the metered time where it occurs
};

// The error over [a, b], on a grid much denser than the fitting grid, at both ends and at
// the extra points given (the published points).
FitError MeasureRelativeError(const std::vector<double> &coeffs, const Model &model, double a,
                              double b, const std::vector<double> &extra = {});

// True when the polynomial rises from a to b (on the dense grid), so that a longer metered
// time never gives a shorter corrected time.
bool RisesThroughout(const std::vector<double> &coeffs, double a, double b);

} // namespace filmfit
