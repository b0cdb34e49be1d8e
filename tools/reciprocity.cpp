// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/reciprocity.h"

#include "tools/stdcompat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tools {

std::optional<std::vector<double>> ParseFilmFormula(std::string_view formula)
{
    std::vector<double> coeffs;
    std::size_t i = 0;
    while (i < formula.size()) {
        const char sign = formula[i++];
        if (sign != '+' && sign != '-')
            return std::nullopt;
        // The number runs to the next sign; only digits and one decimal mark may stand in it.
        std::string number;
        bool mark = false;
        bool digit = false;
        for (; i < formula.size() && formula[i] != '+' && formula[i] != '-'; ++i) {
            const char c = formula[i];
            if (c >= '0' && c <= '9') {
                number += c;
                digit = true;
            } else if ((c == '.' || c == ',') && !mark) {
                number += '.'; // both marks are accepted, whatever the locale
                mark = true;
            } else {
                return std::nullopt;
            }
        }
        if (!digit)
            return std::nullopt;
        double value = 0;
        auto [end, ec] = compat::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::fixed);
        if (ec != std::errc{} || end != number.data() + number.size())
            return std::nullopt;
        coeffs.push_back(sign == '-' ? -value : value);
    }
    return coeffs;
}

double EvaluatePolynomial(const std::vector<double> &coeffs, double t)
{
    double sum = 0;
    double power = 1;
    for (std::size_t k = 0; k < coeffs.size(); ++k) {
        if (k > 0)
            power *= t;
        sum += coeffs[k] * power;
    }
    return sum;
}

namespace {

// t·P'(t) / P(t): the log-log slope of the polynomial at t itself.
double LocalSlope(const std::vector<double> &coeffs, double t)
{
    double derivative = 0;
    double power = 1;
    for (std::size_t k = 1; k < coeffs.size(); ++k) {
        derivative += static_cast<double>(k) * coeffs[k] * power;
        power *= t;
    }
    return t * derivative / EvaluatePolynomial(coeffs, t);
}

} // namespace

// The slope is taken over the top two stops of the range (a factor of 4 in metered time).
// That is where the film's data end, so the line carries on the film's behaviour at the end
// of its data rather than its average over the whole range; and it is long enough that the
// small ripple of a fitted polynomial hardly tilts it (a ripple of ±1 % tilts a chord of two
// stops by at most 0.015, a chord of a tenth of a stop by 0.3). A range shorter than two
// stops gives its whole length; a range of a single time gives the slope at that time.
double ContinuationStart(double minTime, double maxTime)
{
    return std::max(minTime, maxTime / 4);
}

FilmModel MakeFilmModel(std::vector<double> coeffs, double minTime, double maxTime)
{
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    FilmModel model{std::move(coeffs), minTime, maxTime, kNone, kNone};
    if (!(maxTime > 0) || !std::isfinite(maxTime))
        return model;
    const double top = EvaluatePolynomial(model.Coeffs, maxTime);
    if (!(top > 0) || !std::isfinite(top))
        return model;
    const double start = ContinuationStart(minTime, maxTime);
    double slope = kNone;
    if (start < maxTime) {
        const double low = EvaluatePolynomial(model.Coeffs, start);
        if (low > 0)
            slope = std::log(top / low) / std::log(maxTime / start);
    } else {
        slope = LocalSlope(model.Coeffs, maxTime);
    }
    if (std::isfinite(slope)) {
        model.TopTime = top;
        model.Slope = slope;
    }
    return model;
}

double CorrectedTime(const FilmModel &model, double t)
{
    // Written so that a range bound that is not a number corrects nothing below it and
    // carries nothing on above it, as the marking of the table's rows reads it.
    if (!(t >= model.MinTime))
        return t;
    if (!(t > model.MaxTime))
        return EvaluatePolynomial(model.Coeffs, t);
    return model.TopTime * std::pow(t / model.MaxTime, model.Slope);
}

std::vector<TimePair> SampleCorrectedTimes(const FilmModel &model, double from, double to,
                                           int count)
{
    std::vector<TimePair> curve;
    for (int i = 0; i < count; ++i) {
        const double t = i == 0           ? from
                         : i == count - 1 ? to
                                          : from * std::pow(to / from, double(i) / (count - 1));
        curve.push_back({t, CorrectedTime(model, t)});
    }
    return curve;
}

} // namespace tools
