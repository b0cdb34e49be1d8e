// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

// Linear programs of a few unknowns under many constraints, as the fits of the film database
// pose them: minimise c·x subject to A·x <= b, with every unknown free in sign.
namespace tools {

class LinearProgram
{
public:
    // cost: c, one entry per unknown.
    explicit LinearProgram(std::vector<double> cost);

    // One constraint a·x <= bound; a has one entry per unknown. A row of zeros is kept only
    // when it holds (bound >= 0); otherwise the program has no solution.
    void Add(const std::vector<double> &a, double bound);

    std::size_t Unknowns() const { return cost_.size(); }
    std::size_t Constraints() const { return bounds_.size(); }

    // The x of least cost, or nullopt when no x meets every constraint, when the cost has no
    // lower bound, or when the solver does not converge.
    std::optional<std::vector<double>> Solve() const;

private:
    std::vector<double> cost_;
    std::vector<double> rows_; // row-major, Unknowns() entries per constraint
    std::vector<double> bounds_;
    bool contradiction_ = false;
};

} // namespace tools
