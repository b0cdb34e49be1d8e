// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exposure.h"

#include "tools/cp1252.h"
#include "tools/numtext.h"
#include "tools/stringtable.h"

#include <charconv>
#include <cmath>

namespace tools {

namespace {

constexpr int kSecondsText = 1811;
constexpr int kMinutesText = 1812;
constexpr int kHoursText = 1813;
constexpr int kBrokenFormulaText = 1827;

constexpr double kNoText = 36000000; // ten thousand hours

// Below 1 s: the shutter speed of the first threshold the time reaches. 0.0958333333 and
// 0.0123333333 are those ten-digit decimals on purpose (not 23/240 and 37/3000).
struct ShutterSpeed
{
    double From;
    const char *Text; // nullptr: "1" and the seconds text
};
constexpr ShutterSpeed kShutterSpeeds[] = {
    {0.75, nullptr},  {0.375, "1/2"},    {0.1875, "1/4"},        {0.0958333333, "1/8"},
    {0.05, "1/15"},   {0.025, "1/30"},   {0.0123333333, "1/60"}, {0.006, "1/125"},
    {0.003, "1/250"}, {0.0015, "1/500"}, {0.00075, "1/1000"},    {0.000375, "1/2000"},
};

std::string Whole(double value)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
    return std::string(buf, r.ptr);
}

// To the nearest whole number, halves to the even one (2.5 → 2, 3.5 → 4), independent of
// the floating-point rounding mode in force.
double RoundHalfEven(double x)
{
    double f = std::floor(x);
    double d = x - f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2) != 0))
        return f + 1;
    return f;
}

// A time of at least one big unit: the count of big units, then (mode 0) the remainder in
// small units when it reaches one; mode 1 rounds a remainder of half a big unit up.
std::string TwoUnits(int mode, double t, double big, double small, int bigText, int smallText)
{
    double n = std::trunc(t / big);
    double rest = t - big * n;
    if (mode != 0) {
        if (rest >= big / 2)
            n += 1;
        return Whole(n) + ' ' + LoadStr(bigText);
    }
    std::string text = Whole(n) + ' ' + LoadStr(bigText);
    if (rest >= small)
        text += ' ' + Whole(RoundHalfEven(rest / small)) + ' ' + LoadStr(smallText);
    return text;
}

} // namespace

ExposureLabels StoredExposureTimeLabels()
{
    return {"1/1000", "1/500", "1/250", "1/125", "1/60", "1/30", "1/15", "1/8", "1/4",
            "1/2",    "1",     "2",     "4",     "8",    "15",   "30",   "1",   "2"};
}

ExposureLabels CompleteExposureTimeLabels(const ExposureLabels &labels, std::string_view s,
                                          std::string_view m, std::string_view h)
{
    ExposureLabels out = labels;
    for (int k = 0; k < kExposureRows; ++k) {
        const double t = ExposureBaseTimes[k];
        std::string_view unit = t >= 3600 ? h : t >= 60 ? m : t >= 1 ? s : std::string_view{};
        if (!unit.empty())
            (out[k] += ' ') += unit;
    }
    return out;
}

bool InputsComplete(double fNumber, bool reciprocity, bool filmSelected)
{
    return fNumber >= 22 && (!reciprocity || filmSelected);
}

ExposureResult ComputeExposureTimes(double fNumber, const TFilmRecord *film)
{
    ExposureResult result;
    const double q = fNumber / 22;
    const double factor = q * q;
    FilmModel model;
    if (film) {
        auto parsed = ParseFilmFormula(film->Formula);
        if (!parsed) {
            result.FormulaBroken = true;
            return result;
        }
        model = MakeFilmModel(std::move(*parsed), film->MinTime, film->MaxTime);
    }
    for (int k = 0; k < kExposureRows; ++k) {
        double t = factor * ExposureBaseTimes[k];
        // The range is judged on the metered time, before the correction changes it.
        if (film && t >= film->MinTime) {
            if (t > film->MaxTime && result.FirstOutOfRangeRow == 0)
                result.FirstOutOfRangeRow = static_cast<std::uint8_t>(k + 1);
            t = CorrectedTime(model, t);
        }
        result.Times[k] = t;
    }
    return result;
}

std::string BrokenFormulaMessage(const TFilmRecord &film)
{
    return FormatStr(kBrokenFormulaText, Cp1252ToUtf8(film.Name));
}

std::string FormatExposureTime(int mode, double t, char decSep)
{
    if (!(t >= 0) || t >= kNoText)
        return "-";
    if (t >= 3600)
        return TwoUnits(mode, t, 3600, 60, kHoursText, kMinutesText);
    if (t >= 60)
        return TwoUnits(mode, t, 60, 1, kMinutesText, kSecondsText);
    if (t >= 1) {
        if (mode != 0) {
            double s = std::trunc(t);
            if (t - s >= 0.5)
                s += 1;
            return Whole(s) + ' ' + LoadStr(kSecondsText);
        }
        return FormatFloat("0.#", t, decSep) + ' ' + LoadStr(kSecondsText);
    }
    for (const ShutterSpeed &speed : kShutterSpeeds)
        if (t >= speed.From)
            return speed.Text ? std::string(speed.Text) : "1 " + LoadStr(kSecondsText);
    return "-";
}

} // namespace tools
