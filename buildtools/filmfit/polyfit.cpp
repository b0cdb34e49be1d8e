// SPDX-License-Identifier: GPL-3.0-or-later
#include "buildtools/filmfit/polyfit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace filmfit {

namespace {

constexpr int kFitPoints = 1500;
constexpr int kCheckPoints = 100000;
constexpr int kLawsonRounds = 200;

// Metered times spread evenly in log(t): every decade of the range weighs the same.
double GridTime(double a, double b, int i, int count)
{
    if (i == 0)
        return a;
    if (i == count - 1)
        return b;
    return a * std::exp(std::log(b / a) * i / (count - 1));
}

// Least squares solution of A x = y (A: rows × cols, row-major) by Householder reflections,
// which stays accurate where the normal equations would square the condition.
std::vector<double> SolveLeastSquares(std::vector<double> A, std::vector<double> y, int rows,
                                      int cols)
{
    auto at = [&](int r, int c) -> double & { return A[static_cast<std::size_t>(r) * cols + c]; };
    for (int k = 0; k < cols; ++k) {
        double norm = 0;
        for (int r = k; r < rows; ++r)
            norm = std::hypot(norm, at(r, k));
        if (norm == 0)
            continue;
        double alpha = at(k, k) > 0 ? -norm : norm;
        std::vector<double> v(static_cast<std::size_t>(rows - k));
        for (int r = k; r < rows; ++r)
            v[r - k] = at(r, k);
        v[0] -= alpha;
        double vv = 0;
        for (double e : v)
            vv += e * e;
        if (vv == 0)
            continue;
        auto reflect = [&](auto &&get) {
            double dot = 0;
            for (int r = k; r < rows; ++r)
                dot += v[r - k] * get(r);
            double f = 2 * dot / vv;
            for (int r = k; r < rows; ++r)
                get(r) -= f * v[r - k];
        };
        for (int c = k; c < cols; ++c)
            reflect([&](int r) -> double & { return at(r, c); });
        reflect([&](int r) -> double & { return y[r]; });
    }
    std::vector<double> x(static_cast<std::size_t>(cols), 0.0);
    for (int k = cols - 1; k >= 0; --k) {
        double s = y[k];
        for (int c = k + 1; c < cols; ++c)
            s -= at(k, c) * x[c];
        x[k] = at(k, k) != 0 ? s / at(k, k) : 0;
    }
    return x;
}

// Chebyshev polynomials T0..Td at x.
void Chebyshev(double x, int degree, double *out)
{
    out[0] = 1;
    if (degree >= 1)
        out[1] = x;
    for (int j = 2; j <= degree; ++j)
        out[j] = 2 * x * out[j - 1] - out[j - 2];
}

// sum a_j T_j(alpha t + beta) rewritten as sum c_k t^k.
std::vector<double> ChebyshevToPowers(const std::vector<double> &a, double alpha, double beta)
{
    const int n = static_cast<int>(a.size());
    // Powers of x in T_j: the recurrence on coefficient arrays.
    std::vector<std::vector<double>> T(n, std::vector<double>(n, 0.0));
    T[0][0] = 1;
    if (n > 1)
        T[1][1] = 1;
    for (int j = 2; j < n; ++j)
        for (int k = 0; k < n; ++k)
            T[j][k] = (k > 0 ? 2 * T[j - 1][k - 1] : 0) - T[j - 2][k];
    std::vector<double> inX(n, 0.0);
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k)
            inX[k] += a[j] * T[j][k];
    // (alpha t + beta)^k by the binomial theorem.
    std::vector<double> inT(n, 0.0);
    for (int k = 0; k < n; ++k) {
        double binom = 1;
        for (int i = 0; i <= k; ++i) {
            inT[i] += inX[k] * binom * std::pow(alpha, i) * std::pow(beta, k - i);
            binom = binom * (k - i) / (i + 1);
        }
    }
    return inT;
}

} // namespace

std::vector<double> FitRelativeMinimax(const Model &model, double a, double b, int degree)
{
    const int cols = degree + 1;
    const double alpha = 2 / (b - a);
    const double beta = -(a + b) / (b - a);
    std::vector<double> t(kFitPoints), f(kFitPoints), basis(kFitPoints * cols);
    for (int i = 0; i < kFitPoints; ++i) {
        t[i] = GridTime(a, b, i, kFitPoints);
        f[i] = model(t[i]);
        Chebyshev(alpha * t[i] + beta, degree, &basis[static_cast<std::size_t>(i) * cols]);
    }
    std::vector<double> weight(kFitPoints, 1.0 / kFitPoints);
    std::vector<double> cheb;
    for (int round = 0; round < kLawsonRounds; ++round) {
        std::vector<double> A(basis.size()), y(kFitPoints);
        for (int i = 0; i < kFitPoints; ++i) {
            // Relative error: each row is divided by the value it should reach.
            double w = std::sqrt(weight[i]) / f[i];
            for (int c = 0; c < cols; ++c)
                A[static_cast<std::size_t>(i) * cols + c] =
                    w * basis[static_cast<std::size_t>(i) * cols + c];
            y[i] = w * f[i];
        }
        cheb = SolveLeastSquares(std::move(A), std::move(y), kFitPoints, cols);
        // Lawson: weight each point by its error, so the largest errors are pressed down.
        double sum = 0;
        for (int i = 0; i < kFitPoints; ++i) {
            double p = 0;
            for (int c = 0; c < cols; ++c)
                p += cheb[c] * basis[static_cast<std::size_t>(i) * cols + c];
            weight[i] *= std::abs(p - f[i]) / f[i];
            sum += weight[i];
        }
        if (sum == 0)
            break;
        for (double &w : weight)
            w /= sum;
    }
    return ChebyshevToPowers(cheb, alpha, beta);
}

std::string FormulaText(const std::vector<double> &coeffs)
{
    std::string text;
    for (double c : coeffs) {
        char buf[400];
        // Shortest fixed-notation text that reads back as the same double.
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, std::abs(c), std::chars_format::fixed);
        if (ec != std::errc{})
            return {};
        text += std::signbit(c) && c != 0 ? '-' : '+';
        text.append(buf, p);
    }
    return text;
}

std::vector<double> ReadFormulaText(std::string_view text)
{
    std::vector<double> coeffs;
    while (!text.empty()) {
        char sign = text[0];
        std::size_t end = text.find_first_of("+-", 1);
        std::string_view digits = text.substr(1, end == std::string_view::npos ? end : end - 1);
        double v = 0;
        auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v,
                                       std::chars_format::fixed);
        if ((sign != '+' && sign != '-') || digits.empty() || ec != std::errc{} ||
            p != digits.data() + digits.size())
            return {};
        coeffs.push_back(sign == '-' ? -v : v);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end);
    }
    return coeffs;
}

double EvaluateAsProgram(const std::vector<double> &coeffs, double t)
{
    double sum = 0, power = 1;
    for (std::size_t k = 0; k < coeffs.size(); ++k) {
        if (k > 0)
            power *= t;
        sum += coeffs[k] * power;
    }
    return sum;
}

FitError MeasureRelativeError(const std::vector<double> &coeffs, const Model &model, double a,
                              double b, const std::vector<double> &extra)
{
    FitError worst;
    worst.At = a;
    auto check = [&](double t) {
        if (t < a || t > b)
            return;
        double m = model(t);
        double e = std::abs(EvaluateAsProgram(coeffs, t) - m) / m;
        if (!(e <= worst.Max)) { // NaN counts as the worst
            worst.Max = std::isnan(e) ? INFINITY : e;
            worst.At = t;
        }
    };
    if (a == b) {
        check(a);
        return worst;
    }
    for (int i = 0; i < kCheckPoints; ++i)
        check(GridTime(a, b, i, kCheckPoints));
    for (double t : extra)
        check(t);
    return worst;
}

bool RisesThroughout(const std::vector<double> &coeffs, double a, double b)
{
    double previous = EvaluateAsProgram(coeffs, a);
    for (int i = 1; i < kCheckPoints && a < b; ++i) {
        const double p = EvaluateAsProgram(coeffs, GridTime(a, b, i, kCheckPoints));
        if (!(p >= previous))
            return false;
        previous = p;
    }
    return true;
}

} // namespace filmfit
