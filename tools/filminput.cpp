// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/filminput.h"

#include "tools/cp1252.h"
#include "tools/numtext.h"
#include "tools/reciprocity.h"
#include "tools/stdcompat.h"
#include "tools/stringtable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tools {

namespace {

std::string_view Trim(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<double> PlainNumber(std::string_view text)
{
    if (text.empty() || text[0] == '+' || text[0] == '-')
        return std::nullopt;
    double value = 0;
    const auto [end, ec] =
        compat::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The corrected time of a needed text at metered: seconds, or "+" and the stops added.
std::optional<double> NeededTime(std::string_view needed, double metered)
{
    if (!needed.empty() && needed[0] == '+') {
        const std::optional<double> stops = ReadFilmNumber(needed.substr(1));
        if (!stops)
            return std::nullopt;
        return metered * std::exp2(*stops);
    }
    const std::optional<double> seconds = ReadFilmNumber(needed);
    if (!seconds || !(*seconds > 0))
        return std::nullopt;
    return seconds;
}

FilmInputCheck Fail(FilmInputFault fault, int pair = 0)
{
    FilmInputCheck check;
    check.Fault = fault;
    check.Pair = pair;
    return check;
}

FilmInputCheck ReadPairs(const FilmInput &input)
{
    FilmModelData model;
    std::size_t used = 0;
    for (std::size_t i = 0; i < input.Pairs.size(); ++i)
        if (!input.Pairs[i].Empty() && ++used > kMaxFilmPairs)
            return Fail(FilmInputFault::TooManyPairs, static_cast<int>(i) + 1);
    for (std::size_t i = 0; i < input.Pairs.size(); ++i) {
        const FilmPairInput &pair = input.Pairs[i];
        const int at = static_cast<int>(i) + 1;
        if (pair.Empty())
            continue;
        if (pair.Metered.empty() || pair.Needed.empty())
            return Fail(FilmInputFault::PairIncomplete, at);
        const std::optional<double> metered = ReadFilmNumber(pair.Metered);
        if (!metered || !(*metered > 0))
            return Fail(FilmInputFault::MeteredNotNumber, at);
        const std::optional<double> needed = NeededTime(pair.Needed, *metered);
        if (!needed || !std::isfinite(*needed))
            return Fail(FilmInputFault::NeededNotNumber, at);
        if (!model.Points.empty() && !(*metered > model.Points.back().Metered))
            return Fail(FilmInputFault::MeteredNotRising, at);
        if (*needed < *metered)
            return Fail(FilmInputFault::NeededShorter, at);
        if (!model.Points.empty() && *needed < model.Points.back().Corrected)
            return Fail(FilmInputFault::NeededFalling, at);
        model.Points.push_back({*metered, *needed});
    }
    if (model.Points.empty())
        return Fail(FilmInputFault::NoPairs);
    model.DataMin = model.Points.front().Metered;
    model.DataMax = model.Points.back().Metered;
    FilmInputCheck check;
    check.Model = std::move(model);
    return check;
}

FilmInputCheck ReadPowerLaw(const FilmInput &input)
{
    FilmModelData model;
    const std::optional<double> power = ReadFilmNumber(input.Power);
    if (!power || *power < kMinFilmPower || *power > kMaxFilmPower)
        return Fail(FilmInputFault::PowerOutOfRange);
    model.Power = *power;
    if (!input.From.empty()) {
        const std::optional<double> from = ReadFilmNumber(input.From);
        if (!from || *from < kMinFilmFrom || *from > kMaxFilmFrom)
            return Fail(FilmInputFault::FromOutOfRange);
        model.From = *from;
    }
    model.DataMin = model.From;
    model.DataMax = std::max(model.From * kPowerLawLeastSpan,
                             std::min(model.From * kPowerLawSpan, kPowerLawEnd));
    FilmInputCheck check;
    check.Model = std::move(model);
    return check;
}

} // namespace

std::optional<double> ReadFilmNumber(std::string_view text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return PlainNumber(text);
    const std::optional<double> num = PlainNumber(text.substr(0, slash));
    const std::optional<double> den = PlainNumber(text.substr(slash + 1));
    if (!num || !den || *den == 0)
        return std::nullopt;
    return *num / *den;
}

FilmInputCheck ReadFilmInput(const FilmInput &input)
{
    FilmInputCheck check = input.PowerLaw ? ReadPowerLaw(input) : ReadPairs(input);
    if (check.Fault != FilmInputFault::None)
        return check;
    FilmModelData &model = check.Model;
    model.MinTime = model.DataMin;
    model.MaxTime = model.DataMax;
    for (auto [text, end] :
         {std::pair{&input.RangeMin, &model.MinTime}, std::pair{&input.RangeMax, &model.MaxTime}}) {
        if (text->empty())
            continue;
        const std::optional<double> value = ReadFilmNumber(*text);
        if (!value || !(*value > 0))
            return Fail(FilmInputFault::RangeNotNumber);
        *end = *value;
    }
    if (model.MinTime > model.MaxTime) {
        check.Fault = FilmInputFault::RangeNotNumber;
    } else if (model.MinTime < model.DataMin || model.MaxTime > model.DataMax) {
        check.Fault = FilmInputFault::RangeBeyondData;
    }
    return check;
}

std::string FilmInputFaultText(const FilmInputCheck &check, char decSep)
{
    struct Text
    {
        FilmInputFault fault;
        int id;
    };
    static constexpr Text kTexts[] = {
        {FilmInputFault::PowerOutOfRange, 2735}, {FilmInputFault::FromOutOfRange, 2736},
        {FilmInputFault::NoPairs, 2737},         {FilmInputFault::TooManyPairs, 2738},
        {FilmInputFault::PairIncomplete, 2739},  {FilmInputFault::MeteredNotNumber, 2740},
        {FilmInputFault::NeededNotNumber, 2741}, {FilmInputFault::MeteredNotRising, 2742},
        {FilmInputFault::NeededShorter, 2743},   {FilmInputFault::NeededFalling, 2744},
        {FilmInputFault::RangeNotNumber, 2745},  {FilmInputFault::RangeBeyondData, 2746},
        {FilmInputFault::PairListSyntax, 2747},
    };
    for (const Text &t : kTexts) {
        if (t.fault != check.Fault)
            continue;
        if (check.Fault == FilmInputFault::RangeBeyondData)
            return FormatStr(t.id, {GeneralNumberText(check.Model.DataMin, decSep),
                                    GeneralNumberText(check.Model.DataMax, decSep)});
        return FormatStr(t.id, std::to_string(check.Pair));
    }
    return {};
}

std::optional<std::vector<FilmPairInput>> ParseFilmPairList(std::string_view text)
{
    std::vector<FilmPairInput> pairs;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        FilmPairInput pair{std::string(Trim(item.substr(0, colon))),
                           std::string(Trim(item.substr(colon + 1)))};
        if (pair.Metered.empty() || pair.Needed.empty())
            return std::nullopt;
        pairs.push_back(std::move(pair));
        if (comma == std::string_view::npos)
            return pairs;
        text.remove_prefix(comma + 1);
    }
}

double ModelTime(const FilmModelData &model, double metered)
{
    if (model.Power > 0)
        return model.From * std::pow(metered / model.From, model.Power);
    const std::vector<FilmPoint> &pts = model.Points;
    if (pts.size() == 1)
        return metered * (pts[0].Corrected / pts[0].Metered);
    std::size_t i = 1;
    while (i + 1 < pts.size() && metered > pts[i].Metered)
        ++i;
    const FilmPoint &a = pts[i - 1];
    const FilmPoint &b = pts[i];
    const double s = std::log(metered / a.Metered) / std::log(b.Metered / a.Metered);
    return a.Corrected * std::exp(s * std::log(b.Corrected / a.Corrected));
}

double ModelSlope(const FilmModelData &model)
{
    const double top = model.MaxTime;
    double from = ContinuationStart(model.MinTime, top);
    if (!(from < top))
        from = top / 1.001;
    return std::log(ModelTime(model, top) / ModelTime(model, from)) / std::log(top / from);
}

bool IsConstantFactor(const FilmModelData &model, double &factor)
{
    if (model.Points.empty())
        return false;
    factor = model.Points[0].Corrected / model.Points[0].Metered;
    for (const FilmPoint &p : model.Points)
        if (std::abs(p.Corrected / p.Metered - factor) > 1e-12 * factor)
            return false;
    return true;
}

std::string TrimFilmName(std::string_view utf8)
{
    return std::string(Trim(utf8));
}

FilmNameFault CheckFilmName(std::string_view utf8, const std::vector<std::string> &taken)
{
    if (utf8.empty())
        return FilmNameFault::Empty;
    const std::string bytes = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(bytes) != utf8)
        return FilmNameFault::NotWritable;
    // Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for C1 control characters.
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char ch) {
        const auto b = static_cast<unsigned char>(ch);
        return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 ||
               b == 0x9D;
    });
    if (control)
        return FilmNameFault::Control;
    if (bytes.size() > kMaxFilmNameBytes)
        return FilmNameFault::TooLong;
    if (std::find(taken.begin(), taken.end(), bytes) != taken.end())
        return FilmNameFault::Taken;
    return FilmNameFault::None;
}

std::string FilmNameFaultText(FilmNameFault fault, std::string_view utf8)
{
    switch (fault) {
    case FilmNameFault::None:
        break;
    case FilmNameFault::Empty:
        return LoadStr(2730);
    case FilmNameFault::TooLong:
        return LoadStr(2731);
    case FilmNameFault::NotWritable:
        return LoadStr(2732);
    case FilmNameFault::Control:
        return LoadStr(2733);
    case FilmNameFault::Taken:
        return FormatStr(2734, utf8);
    }
    return {};
}

} // namespace tools
