// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zoneplate.h"

#include "tools/numtext.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tools {

namespace {

constexpr long double kPi = 3.14159265358979324L;

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

} // namespace

TZonePlateValues CalculateZonePlate(int n, double focalMM, double wavelengthMM, double c)
{
    if (n < 1 || n > kMaxZones)
        throw std::invalid_argument("zone count out of range");

    // Every intermediate value is carried in extended precision and each result is stored as
    // a double, so that the table, the page-size test and the PDF agree to the last bit.
    const long double f = focalMM;
    const long double lambda = wavelengthMM;
    TZonePlateValues values(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i)
        values[i] = static_cast<double>(std::sqrt(static_cast<long double>(i) * f * lambda) * c);

    // The open zones are the odd-numbered ones, (n + 1) / 2 of them for an odd n. Each zone
    // has the area of the central disc, so the plate lets through as much light as one disc
    // of diameter d1 * sqrt(open); its f number is the focal length over that diameter.
    const long double open = (static_cast<long double>(n) - 1) / 2 + 1;
    const double d1 = static_cast<double>(std::sqrt(f * lambda) * c);
    const double area = static_cast<double>(static_cast<long double>(d1) * d1 / 4 * kPi * open);
    const double equivalent = static_cast<double>(std::sqrt(area / kPi) * 2);
    values[0] = static_cast<double>(f / equivalent);
    return values;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    text = text.substr(begin, end - begin);
    // from_chars takes a minus sign but no plus sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }

    std::int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

ZoneCountCheck CheckZoneCount(std::string_view text, std::int32_t *n)
{
    const std::optional<std::int32_t> value = ParseWholeNumber(text);
    if (!value)
        return ZoneCountCheck::NotWholeNumber;
    if (n)
        *n = *value;
    if (!IsOddZoneCount(*value))
        return ZoneCountCheck::Even;
    if (*value < 1 || *value > kMaxZones)
        return ZoneCountCheck::OutOfRange;
    return ZoneCountCheck::Ok;
}

std::string ZoneCountMessage(ZoneCountCheck check, std::string_view text)
{
    switch (check) {
    case ZoneCountCheck::Ok:
        break;
    case ZoneCountCheck::NotWholeNumber:
        return FormatStr(2008, text);
    case ZoneCountCheck::Even:
        return LoadStr(1610);
    case ZoneCountCheck::OutOfRange:
        return FormatStr(1611, std::to_string(kMaxZones));
    }
    return {};
}

bool ZonePlateInputsPositive(std::string_view numZonesText, std::string_view focalText,
                             std::string_view waveText, char decSep)
{
    return TextToNumber(numZonesText, decSep) > 0 && TextToNumber(focalText, decSep) > 0 &&
           TextToNumber(waveText, decSep) > 0;
}

std::string ZoneTableHeaderText(int mainUnit)
{
    return LoadStr(1608) + (mainUnit == 1 ? " (in)" : " (mm)");
}

std::string ZoneTableCellText(double diameterMM, int mainUnit, int places, char decSep)
{
    if (places < 0)
        places = 0;
    if (places > kMaxDecNum)
        places = kMaxDecNum;
    // A fixed number of decimals, trailing zeros kept. With no decimals the pattern is "0."
    // alone, which prints the whole number without a separator.
    const std::string pattern = "0." + std::string(static_cast<std::size_t>(places), '0');
    const double value = mainUnit == 1 ? diameterMM / 25.4 : diameterMM;
    return FormatFloat(pattern, value, decSep);
}

std::string ZonePlateFNumberText(const TZonePlateValues &values)
{
    // A whole number never shows a decimal separator, so the separator passed is irrelevant.
    return values.empty() ? std::string() : FormatLength("", 0, values[0], '.');
}

double ZoneDiameterPoints(double diameterMM, std::int32_t m)
{
    return MMToPoints(static_cast<double>(m) * diameterMM);
}

std::vector<double> ZoneDiametersPoints(const TZonePlateValues &values, std::int32_t m)
{
    std::vector<double> points(values.size());
    for (std::size_t i = 1; i < values.size(); ++i)
        points[i] = ZoneDiameterPoints(values[i], m);
    return points;
}

double ZonePlatePageSide(const TZonePlateValues &values, std::int32_t m)
{
    const double outermost = values.size() < 2 ? 0.0 : ZoneDiameterPoints(values.back(), m);
    const double t = static_cast<double>(static_cast<long double>(outermost) + outermost / 10.0L);
    return t > 72 ? t : 72.0;
}

bool PageTooLarge(double pageSide)
{
    // Written so that a side that is not a number is refused as well.
    return !(pageSide <= kMaxPdfPageSide);
}

} // namespace tools
