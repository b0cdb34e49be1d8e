// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/polyfit.h"

#include "tools/linprog.h"
#include "tools/reciprocity.h"
#include "tools/stdcompat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tools {

namespace {

constexpr int kFitPoints = 1000;
constexpr int kCheckPoints = 100000;
// The grid meets "never shorter" with this much to spare, so that the polynomial cannot dip
// below the metered time between two grid points (1e-4 of the time, against a dip of at
// most a few millionths over the grid's spacing of 0.7 % of the time).
constexpr double kLengtheningMargin = 1e-4;

// Chebyshev polynomials T0..Td at x, and their derivatives T'j = j·U(j-1).
void Chebyshev(double x, int degree, double *t, double *dt)
{
    double u0 = 1, u1 = 2 * x; // U0, U1
    t[0] = 1;
    dt[0] = 0;
    if (degree >= 1) {
        t[1] = x;
        dt[1] = 1;
    }
    for (int j = 2; j <= degree; ++j) {
        t[j] = 2 * x * t[j - 1] - t[j - 2];
        dt[j] = j * u1;
        const double u2 = 2 * x * u1 - u0;
        u0 = u1;
        u1 = u2;
    }
}

// sum a_j T_j(alpha t + beta) rewritten as sum c_k t^k. The sums cancel heavily on a long
// range, so they are formed in the widest floating type at hand.
std::vector<double> ChebyshevToPowers(const std::vector<double> &a, double alpha, double beta)
{
    using Wide = long double;
    const int n = static_cast<int>(a.size());
    std::vector<std::vector<Wide>> T(n, std::vector<Wide>(n, 0));
    T[0][0] = 1;
    if (n > 1)
        T[1][1] = 1;
    for (int j = 2; j < n; ++j)
        for (int k = 0; k < n; ++k)
            T[j][k] = (k > 0 ? 2 * T[j - 1][k - 1] : 0) - T[j - 2][k];
    std::vector<Wide> inX(n, 0);
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k)
            inX[k] += a[j] * T[j][k];
    // (alpha t + beta)^k by the binomial theorem.
    std::vector<Wide> inT(n, 0);
    for (int k = 0; k < n; ++k) {
        Wide binom = 1;
        for (int i = 0; i <= k; ++i) {
            inT[i] += inX[k] * binom * std::pow(Wide(alpha), i) * std::pow(Wide(beta), k - i);
            binom = binom * (k - i) / (i + 1);
        }
    }
    return std::vector<double>(inT.begin(), inT.end());
}

} // namespace

double GridTime(double a, double b, int i, int count)
{
    if (i == 0)
        return a;
    if (i == count - 1)
        return b;
    return a * std::exp(std::log(b / a) * i / (count - 1));
}

// The unknowns are the Chebyshev coefficients a0..ad on [From, To] (a well conditioned basis
// for the solver) and the largest relative error E, which is minimised. Every constraint is
// divided by the model's value there, so all are relative.
std::optional<std::vector<double>> FitConstrainedMinimax(const FitTarget &target, int degree)
{
    const double from = target.From, to = target.To;
    if (!(from < to))
        return std::vector<double>{0.0, target.Follow(to) / to};
    const int n = degree + 1;
    const double alpha = 2 / (to - from);
    const double beta = -(to + from) / (to - from);
    std::vector<double> cost(n + 1, 0.0);
    cost[n] = 1;
    LinearProgram lp(std::move(cost));
    std::vector<double> t(n), dt(n), row(n + 1);
    // p(time) / scale as a row of the program, and E with the given factor.
    auto value = [&](double time, double scale, double sign, double error) {
        Chebyshev(alpha * time + beta, degree, t.data(), dt.data());
        for (int j = 0; j < n; ++j)
            row[j] = sign * t[j] / scale;
        row[n] = error;
        return row;
    };
    for (int i = 0; i < kFitPoints; ++i) {
        const double time = GridTime(from, to, i, kFitPoints);
        const double f = target.Follow(time);
        lp.Add(value(time, f, 1, -1), 1);                                      // p - f <= E f
        lp.Add(value(time, f, -1, -1), -1);                                    // f - p <= E f
        lp.Add(value(time, f, -1, 0), -(time / f) * (1 + kLengtheningMargin)); // p >= t
        // Rising: p'(t) >= 0, scaled to the log-log slope t p' / f.
        for (int j = 0; j < n; ++j)
            row[j] = -dt[j] * alpha * time / f;
        row[n] = 0;
        lp.Add(row, 0);
    }
    for (const FilmPoint &pair : target.Pairs) {
        const double c = pair.Corrected;
        lp.Add(value(pair.Metered, c, 1, 0), 1 + target.PairTolerance);
        lp.Add(value(pair.Metered, c, -1, 0), -(1 - target.PairTolerance));
    }
    if (target.SlopeFrom < to) {
        // p(To) / p(SlopeFrom) between r^(Slope - tol) and r^(Slope + tol), as two rows linear
        // in the coefficients.
        const double r = to / target.SlopeFrom;
        const double scale = target.Follow(to);
        std::vector<double> top = value(to, scale, 1, 0);
        const std::vector<double> low = value(target.SlopeFrom, scale, 1, 0);
        for (double bound :
             {target.Slope - target.SlopeTolerance, target.Slope + target.SlopeTolerance}) {
            const double factor = std::pow(r, bound);
            const double sign = bound < target.Slope ? -1 : 1;
            for (int j = 0; j < n; ++j)
                row[j] = sign * (top[j] - factor * low[j]);
            row[n] = 0;
            lp.Add(row, 0);
        }
    }
    std::optional<std::vector<double>> x = lp.Solve();
    if (!x)
        return std::nullopt;
    x->resize(static_cast<std::size_t>(n));
    return ChebyshevToPowers(*x, alpha, beta);
}

std::string FormulaText(const std::vector<double> &coeffs, int digits)
{
    std::string text;
    for (double c : coeffs) {
        text += std::signbit(c) && c != 0 ? '-' : '+';
        const double v = std::abs(c);
        char buf[400];
        std::to_chars_result r;
        if (digits <= 0 || v == 0) {
            r = tools::compat::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        } else {
            const int decimals =
                std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(v))));
            r = tools::compat::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        }
        if (r.ec != std::errc{})
            return {};
        std::string number(buf, r.ptr);
        if (number.find('.') != std::string::npos) {
            number.erase(number.find_last_not_of('0') + 1);
            if (number.back() == '.')
                number.pop_back();
        }
        text += number;
    }
    return text;
}

CheckGrid MakeCheckGrid(const Model &model, double a, double b, const std::vector<double> &extra)
{
    CheckGrid grid;
    grid.From = a;
    grid.To = b;
    const int count = a < b ? kCheckPoints : 1;
    grid.Times.reserve(count);
    for (int i = 0; i < count; ++i)
        grid.Times.push_back(GridTime(a, b, i, count));
    if (model) {
        grid.Model.reserve(count);
        for (double t : grid.Times)
            grid.Model.push_back(model(t));
        for (double t : extra) {
            if (t < a || t > b)
                continue;
            grid.ExtraTimes.push_back(t);
            grid.ExtraModel.push_back(model(t));
        }
    }
    return grid;
}

// One pass over the grid: each polynomial value serves all three checks.
PolynomialCheck CheckPolynomial(const std::vector<double> &coeffs, const CheckGrid &grid)
{
    PolynomialCheck check;
    check.Error.At = grid.From;
    check.LeastLengthening = INFINITY;
    auto error = [&](double t, double p, double m) {
        const double e = std::abs(p - m) / m;
        if (!(e <= check.Error.Max)) { // NaN counts as the worst
            check.Error.Max = std::isnan(e) ? INFINITY : e;
            check.Error.At = t;
        }
    };
    double previous = 0;
    for (std::size_t i = 0; i < grid.Times.size(); ++i) {
        const double t = grid.Times[i];
        const double p = EvaluatePolynomial(coeffs, t);
        if (!grid.Model.empty())
            error(t, p, grid.Model[i]);
        if (i > 0 && !(p >= previous))
            check.Rises = false;
        previous = p;
        const double ratio = p / t;
        check.LeastLengthening =
            std::isnan(ratio) ? -INFINITY : std::min(check.LeastLengthening, ratio);
    }
    for (std::size_t i = 0; i < grid.ExtraTimes.size(); ++i)
        error(grid.ExtraTimes[i], EvaluatePolynomial(coeffs, grid.ExtraTimes[i]),
              grid.ExtraModel[i]);
    return check;
}

FitError MeasureRelativeError(const std::vector<double> &coeffs, const Model &model, double a,
                              double b, const std::vector<double> &extra)
{
    return CheckPolynomial(coeffs, MakeCheckGrid(model, a, b, extra)).Error;
}

bool RisesThroughout(const std::vector<double> &coeffs, double a, double b)
{
    return CheckPolynomial(coeffs, MakeCheckGrid(nullptr, a, b)).Rises;
}

double LeastLengthening(const std::vector<double> &coeffs, double a, double b)
{
    return CheckPolynomial(coeffs, MakeCheckGrid(nullptr, a, b)).LeastLengthening;
}

} // namespace tools
