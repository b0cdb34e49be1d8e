// SPDX-License-Identifier: GPL-3.0-or-later
// Film formulas on arbitrary text, and the polynomial they give.
//
// Input: the formula on the first line; the second line, when present, a metered time in
// seconds (C syntax) at which the polynomial is evaluated besides a few fixed times.
#include "fuzz_input.h"
#include "tools/films.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

using namespace tools;

namespace {

// The terms of a well-formed formula, read independently: each a sign and a number up to the
// next sign, with '.' or ',' as the mark.
std::optional<std::vector<double>> ReferenceTerms(std::string_view formula)
{
    std::vector<double> terms;
    std::size_t i = 0;
    while (i < formula.size()) {
        const bool negative = formula[i] == '-';
        if (formula[i] != '+' && !negative)
            return std::nullopt;
        const std::size_t end = formula.find_first_of("+-", i + 1);
        std::string number(
            formula.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
        std::replace(number.begin(), number.end(), ',', '.');
        if (number.empty() || number.find_first_not_of("0123456789.") != std::string::npos ||
            std::count(number.begin(), number.end(), '.') > 1 || number == ".")
            return std::nullopt;
        double value = 0;
        const auto [p, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                             std::chars_format::fixed);
        if (ec != std::errc{} || p != number.data() + number.size())
            return std::nullopt;
        terms.push_back(negative ? -value : value);
        i = end == std::string_view::npos ? formula.size() : end;
    }
    return terms;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto f = fuzz::Fields(fuzz::AsText(data, size), 2);
    const std::string_view formula = f[0];
    const std::optional<std::vector<double>> coeffs = ParseFilmFormula(formula);
    const std::optional<std::vector<double>> reference = ReferenceTerms(formula);
    fuzz::Check(coeffs.has_value() == reference.has_value(), "formula accepted as by the rules",
                formula);
    if (!coeffs)
        return 0;
    fuzz::Check(*coeffs == *reference, "coefficients read as by the rules", formula);
    const auto signs =
        std::count_if(formula.begin(), formula.end(), [](char c) { return c == '+' || c == '-'; });
    fuzz::Check(coeffs->size() == static_cast<std::size_t>(signs), "one coefficient a sign");

    std::vector<double> times = {0.0, 1.0, 2.0, 0.5, 30.0, 3600.0, -1.0, 1e300};
    if (!f[1].empty()) {
        double t = 0;
        std::from_chars(f[1].data(), f[1].data() + f[1].size(), t);
        times.push_back(t);
    }
    for (double t : times) {
        const double result = EvaluatePolynomial(*coeffs, t);
        if (coeffs->empty())
            fuzz::Check(result == 0, "no coefficients give 0");
        else if (t == 0)
            fuzz::Check(result == (*coeffs)[0], "at t = 0 the constant term");
    }
    return 0;
}
