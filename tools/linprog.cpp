// SPDX-License-Identifier: GPL-3.0-or-later
// The program min c·x, A·x <= b (x free, n unknowns, m constraints, m much larger than n) is
// solved through its dual: min b·y subject to Aᵀ·y = -c, y >= 0, a program in standard form
// with only n equations. The revised simplex method keeps the inverse of an n × n basis, so a
// step costs a pass over the m columns; at the optimum the simplex multipliers of the dual are
// the x sought (they satisfy the basic constraints with equality, and the reduced costs
// b_j - A_j·x >= 0 are exactly the constraints A_j·x <= b_j).
#include "tools/linprog.h"

#include <algorithm>
#include <cmath>

namespace tools {

namespace {

constexpr double kCostTolerance = 1e-10; // a reduced cost below -this improves the cost
constexpr double kPivotTolerance =
    1e-9; // entries of a column below this part of its largest are taken as zero
constexpr int kRefactorEvery = 40; // steps between fresh inversions of the basis
constexpr int kDegenerateBeforeBland = 60;
constexpr int kMaxSteps = 200000;

using Matrix = std::vector<std::vector<double>>;

// Gauss-Jordan with partial pivoting; false for a singular matrix.
bool Invert(Matrix a, Matrix &inverse)
{
    const std::size_t n = a.size();
    inverse.assign(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        inverse[i][i] = 1;
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (std::abs(a[pivot][col]) < 1e-300)
            return false;
        std::swap(a[pivot], a[col]);
        std::swap(inverse[pivot], inverse[col]);
        const double d = a[col][col];
        for (std::size_t c = 0; c < n; ++c) {
            a[col][c] /= d;
            inverse[col][c] /= d;
        }
        for (std::size_t r = 0; r < n; ++r) {
            if (r == col || a[r][col] == 0)
                continue;
            const double f = a[r][col];
            for (std::size_t c = 0; c < n; ++c) {
                a[r][c] -= f * a[col][c];
                inverse[r][c] -= f * inverse[col][c];
            }
        }
    }
    return true;
}

// The dual in standard form: columns 0 .. m-1 are the constraints' rows, columns m .. m+n-1
// the artificial columns ±e_i of the first phase.
class DualSimplex
{
public:
    DualSimplex(const std::vector<double> &rows, const std::vector<double> &bounds,
                const std::vector<double> &cost)
        : n_(cost.size()), m_(bounds.size()), rows_(rows), bounds_(bounds)
    {
        rhs_.resize(n_);
        sign_.resize(n_);
        for (std::size_t i = 0; i < n_; ++i) {
            rhs_[i] = -cost[i];
            sign_[i] = rhs_[i] >= 0 ? 1.0 : -1.0;
        }
    }

    std::optional<std::vector<double>> Run()
    {
        basis_.resize(n_);
        for (std::size_t i = 0; i < n_; ++i)
            basis_[i] = m_ + i;
        MarkBasis();
        if (!Refactor())
            return std::nullopt;
        phase_ = 1;
        if (!Iterate())
            return std::nullopt;
        double infeasibility = 0;
        for (std::size_t k = 0; k < n_; ++k)
            if (basis_[k] >= m_)
                infeasibility += values_[k];
        double scale = 1;
        for (double h : rhs_)
            scale = std::max(scale, std::abs(h));
        if (infeasibility > 1e-9 * scale)
            return std::nullopt; // the dual has no solution: neither has the program
        DriveOutArtificials();
        phase_ = 2;
        if (!Iterate())
            return std::nullopt;
        return Multipliers();
    }

private:
    double Cost(std::size_t j) const
    {
        if (phase_ == 1)
            return j >= m_ ? 1.0 : 0.0;
        return j >= m_ ? 0.0 : bounds_[j];
    }

    std::vector<double> Column(std::size_t j) const
    {
        std::vector<double> col(n_, 0.0);
        if (j >= m_)
            col[j - m_] = sign_[j - m_];
        else
            std::copy_n(rows_.begin() + static_cast<std::ptrdiff_t>(j * n_), n_, col.begin());
        return col;
    }

    bool Refactor()
    {
        Matrix b(n_, std::vector<double>(n_));
        for (std::size_t k = 0; k < n_; ++k) {
            const std::vector<double> col = Column(basis_[k]);
            for (std::size_t i = 0; i < n_; ++i)
                b[i][k] = col[i];
        }
        if (!Invert(std::move(b), inverse_))
            return false;
        values_.assign(n_, 0.0);
        for (std::size_t k = 0; k < n_; ++k) {
            for (std::size_t i = 0; i < n_; ++i)
                values_[k] += inverse_[k][i] * rhs_[i];
            values_[k] = std::max(values_[k], 0.0); // rounding below zero
        }
        return true;
    }

    // π = B⁻ᵀ·c_B
    std::vector<double> Multipliers() const
    {
        std::vector<double> pi(n_, 0.0);
        for (std::size_t k = 0; k < n_; ++k) {
            const double c = Cost(basis_[k]);
            if (c != 0)
                for (std::size_t i = 0; i < n_; ++i)
                    pi[i] += c * inverse_[k][i];
        }
        return pi;
    }

    double ReducedCost(std::size_t j, const std::vector<double> &pi) const
    {
        double d = Cost(j);
        if (j >= m_)
            return d - sign_[j - m_] * pi[j - m_];
        const double *a = &rows_[j * n_];
        for (std::size_t i = 0; i < n_; ++i)
            d -= a[i] * pi[i];
        return d;
    }

    std::vector<double> Direction(std::size_t j) const
    {
        const std::vector<double> col = Column(j);
        std::vector<double> u(n_, 0.0);
        for (std::size_t k = 0; k < n_; ++k)
            for (std::size_t i = 0; i < n_; ++i)
                u[k] += inverse_[k][i] * col[i];
        return u;
    }

    void Pivot(std::size_t leave, std::size_t enter, const std::vector<double> &u, double step)
    {
        for (std::size_t k = 0; k < n_; ++k)
            values_[k] = std::max(values_[k] - step * u[k], 0.0);
        values_[leave] = step;
        const double d = u[leave];
        for (double &e : inverse_[leave])
            e /= d;
        for (std::size_t k = 0; k < n_; ++k) {
            if (k == leave || u[k] == 0)
                continue;
            for (std::size_t i = 0; i < n_; ++i)
                inverse_[k][i] -= u[k] * inverse_[leave][i];
        }
        basis_[leave] = enter;
    }

    // Simplex steps until no column lowers the cost. Dantzig's rule (the most negative
    // reduced cost), and Bland's rule (the first such column) after a run of steps that
    // did not move, which cannot cycle.
    bool Iterate()
    {
        const std::size_t columns = phase_ == 1 ? m_ + n_ : m_;
        int degenerate = 0;
        for (int step = 1; step <= kMaxSteps; ++step) {
            if (step % kRefactorEvery == 0 && !Refactor())
                return false;
            const std::vector<double> pi = Multipliers();
            const bool bland = degenerate >= kDegenerateBeforeBland;
            std::size_t enter = columns;
            double best = -kCostTolerance;
            for (std::size_t j = 0; j < columns; ++j) {
                const double d = ReducedCost(j, pi);
                if (d < best && !basic_[j]) {
                    enter = j;
                    best = d;
                    if (bland)
                        break;
                }
            }
            if (enter == columns)
                return true; // optimal
            const std::vector<double> u = Direction(enter);
            std::size_t leave = n_;
            double ratio = 0;
            double largest = 0;
            for (double e : u)
                largest = std::max(largest, std::abs(e));
            for (std::size_t k = 0; k < n_; ++k) {
                if (u[k] <= kPivotTolerance * largest)
                    continue;
                const double r = values_[k] / u[k];
                if (leave == n_ || r < ratio - 1e-15 ||
                    (r <= ratio + 1e-15 && (bland ? basis_[k] < basis_[leave] : u[k] > u[leave]))) {
                    leave = k;
                    ratio = r;
                }
            }
            if (leave == n_)
                return false; // unbounded dual: the program has no solution
            degenerate = ratio <= 1e-15 ? degenerate + 1 : 0;
            Pivot(leave, enter, u, ratio);
            MarkBasis();
        }
        return false; // no convergence
    }

    // A flag per column, kept with the basis, so that pricing does not search the basis.
    void MarkBasis()
    {
        basic_.assign(m_ + n_, false);
        for (std::size_t j : basis_)
            basic_[j] = true;
    }

    // Artificial columns left in the basis at level zero are exchanged for real ones, so
    // that the second phase cannot raise them again.
    void DriveOutArtificials()
    {
        for (std::size_t k = 0; k < n_; ++k) {
            if (basis_[k] < m_)
                continue;
            for (std::size_t j = 0; j < m_; ++j) {
                if (basic_[j])
                    continue;
                const std::vector<double> u = Direction(j);
                if (std::abs(u[k]) > 1e-9) {
                    Pivot(k, j, u, 0);
                    MarkBasis();
                    break;
                }
            }
        }
    }

    std::size_t n_, m_;
    const std::vector<double> &rows_;
    const std::vector<double> &bounds_;
    std::vector<double> rhs_, sign_;
    std::vector<std::size_t> basis_;
    std::vector<bool> basic_;
    Matrix inverse_;
    std::vector<double> values_;
    int phase_ = 1;
};

} // namespace

LinearProgram::LinearProgram(std::vector<double> cost) : cost_(std::move(cost)) {}

void LinearProgram::Add(const std::vector<double> &a, double bound)
{
    // Each row scaled to a largest entry of 1: the same constraint, and pricing that
    // compares like with like.
    double scale = 0;
    for (double e : a)
        scale = std::max(scale, std::abs(e));
    if (scale == 0) {
        if (bound < 0)
            contradiction_ = true;
        return;
    }
    for (double e : a)
        rows_.push_back(e / scale);
    bounds_.push_back(bound / scale);
}

std::optional<std::vector<double>> LinearProgram::Solve() const
{
    if (contradiction_ || cost_.empty())
        return std::nullopt;
    return DualSimplex(rows_, bounds_, cost_).Run();
}

} // namespace tools
