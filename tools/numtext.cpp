// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"

#include "tools/stdcompat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

namespace tools {

namespace {

constexpr int kMaxPlaces = 20;
constexpr int kGeneralDigits = 15;
constexpr const char *kDegreeSign = "\xC2\xB0"; // U+00B0 in UTF-8

struct UnitEntry
{
    std::string_view name;
    double mmPerUnit;
};

constexpr std::array<UnitEntry, 4> kUnits = {{
    {"mm", 1.0},
    {"cm", 10.0},
    {"m", 1000.0},
    {"in", 25.4},
}};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int ClampPlaces(int places)
{
    return std::clamp(places, 0, kMaxPlaces);
}

// A finite double as decimal digits: the value is 0.d1 d2 ... dn times 10^point, so `point`
// is the number of digits before the decimal point (zero or negative for values below 1).
// The digits start from the shortest text that reads back as the same double, so a value
// typed as 2.675 is rounded as 2.675 and not as the binary 2.67499999... below it. Trailing
// zeros are never kept; no digits at all means zero.
struct Decimal
{
    std::array<char, 24> digits{};
    int count = 0;
    int point = 0;
    bool negative = false;
};

Decimal ToDecimal(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0) {
        return d;
    }
    // The shortest scientific form of a double is at most 24 characters:
    // "-d.dddddddddddddddde-ddd".
    char buf[32];
    const auto res =
        compat::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const char *p = buf;
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            d.digits[static_cast<std::size_t>(d.count++)] = *p;
        }
    }
    int exponent = 0;
    if (p != res.ptr) {
        ++p;
        const bool negExp = *p == '-';
        if (*p == '-' || *p == '+') {
            ++p;
        }
        std::from_chars(p, res.ptr, exponent);
        if (negExp) {
            exponent = -exponent;
        }
    }
    d.point = exponent + 1;
    while (d.count > 0 && d.digits[static_cast<std::size_t>(d.count - 1)] == '0') {
        --d.count;
    }
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero on the decimal digits (the
// sign is held apart, so rounding the magnitude up is rounding away from zero).
void RoundDigits(Decimal &d, long long keep)
{
    if (keep >= d.count) {
        return;
    }
    if (keep < 0) {
        d.count = 0;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.count = static_cast<int>(keep);
    if (up) {
        int i = d.count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            --i;
        }
        if (i < 0) {
            // All kept digits were 9 (or none was kept): the carry adds a digit in front.
            d.digits[0] = '1';
            d.count = 1;
            ++d.point;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
            d.count = i + 1;
        }
    }
    while (d.count > 0 && d.digits[static_cast<std::size_t>(d.count - 1)] == '0') {
        --d.count;
    }
}

// The digit places of a pattern: how many integer digits are always printed, and how many
// fraction digits are always (minFrac) or at most (maxFrac) printed.
struct Pattern
{
    std::size_t minInt = 0;
    std::size_t minFrac = 0;
    std::size_t maxFrac = 0;
};

Pattern ParsePattern(std::string_view text)
{
    Pattern p;
    bool inFraction = false;
    bool zeroSeen = false;
    for (const char c : text) {
        if (c == '.') {
            inFraction = true;
        } else if (c == '0' || c == '#') {
            if (inFraction) {
                ++p.maxFrac;
                if (c == '0') {
                    p.minFrac = p.maxFrac;
                }
            } else {
                // A "0" forces its own place and every place to its right.
                zeroSeen = zeroSeen || c == '0';
                if (zeroSeen) {
                    ++p.minInt;
                }
            }
        }
    }
    return p;
}

bool AppendNonFinite(std::string &out, double value)
{
    if (std::isnan(value)) {
        out += "NAN";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return true;
    }
    return false;
}

// Prints already rounded digits in fixed notation; a value that came out as zero gets no sign.
void AppendFixed(std::string &out, const Decimal &d, const Pattern &p, char decSep)
{
    const bool zero = d.count == 0;
    if (d.negative && !zero) {
        out += '-';
    }
    const std::size_t intLen = !zero && d.point > 0 ? static_cast<std::size_t>(d.point) : 0;
    if (p.minInt > intLen) {
        out.append(p.minInt - intLen, '0');
    }
    const std::size_t count = static_cast<std::size_t>(d.count);
    const std::size_t fromDigits = std::min(intLen, count);
    out.append(d.digits.data(), fromDigits);
    out.append(intLen - fromDigits, '0');

    const long long significant = zero ? 0 : static_cast<long long>(d.count) - d.point;
    const std::size_t frac =
        std::max(p.minFrac, significant > 0 ? static_cast<std::size_t>(significant) : 0);
    if (frac == 0) {
        return;
    }
    out += decSep;
    for (std::size_t i = 0; i < frac; ++i) {
        const long long index = static_cast<long long>(d.point) + static_cast<long long>(i);
        out += index >= 0 && index < d.count ? d.digits[static_cast<std::size_t>(index)] : '0';
    }
}

void AppendPattern(std::string &out, double value, const Pattern &p, char decSep)
{
    if (AppendNonFinite(out, value)) {
        return;
    }
    Decimal d = ToDecimal(value);
    RoundDigits(d, static_cast<long long>(d.point) + static_cast<long long>(p.maxFrac));
    AppendFixed(out, d, p, decSep);
}

void AppendGeneral(std::string &out, double value, char decSep)
{
    if (AppendNonFinite(out, value)) {
        return;
    }
    Decimal d = ToDecimal(value);
    RoundDigits(d, kGeneralDigits);
    if (d.count == 0) {
        out += '0';
        return;
    }
    const int exponent = d.point - 1;
    if (exponent >= -5 && exponent < kGeneralDigits) {
        Pattern p;
        p.minInt = 1;
        p.maxFrac = d.count > d.point ? static_cast<std::size_t>(d.count - d.point) : 0;
        AppendFixed(out, d, p, decSep);
        return;
    }
    if (d.negative) {
        out += '-';
    }
    out += d.digits[0];
    if (d.count > 1) {
        out += decSep;
        out.append(d.digits.data() + 1, static_cast<std::size_t>(d.count - 1));
    }
    out += 'E';
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, exponent);
    out.append(buf, res.ptr);
}

// Blanks and control characters (everything up to the space) around a clipboard text.
std::string_view StripControls(std::string_view text)
{
    const auto isJunk = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isJunk(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isJunk(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool Contains(std::string_view text, char32_t key)
{
    return key <= 0xFF && text.find(static_cast<char>(key)) != std::string_view::npos;
}

bool IsDigitKey(char32_t key)
{
    return key >= U'0' && key <= U'9';
}

} // namespace

double UnitFactor(std::string_view unit)
{
    for (const UnitEntry &u : kUnits) {
        if (u.name == unit) {
            return u.mmPerUnit;
        }
    }
    return 0;
}

std::optional<double> ParseDecimal(std::string_view text, char decSep)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    const std::size_t n = text.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    // Where the first non-zero digit stands, as a power of ten, before the exponent.
    long long leading = 0;
    bool nonZero = false;
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++intDigits) {
        if (!nonZero && text[i] != '0') {
            nonZero = true;
            leading = 0;
        } else if (nonZero) {
            ++leading;
        }
    }
    std::size_t sepPos = std::string_view::npos;
    if (i < n && text[i] == decSep) {
        sepPos = i;
        for (++i; i < n && IsDigit(text[i]); ++i) {
            ++fracDigits;
            if (!nonZero && text[i] != '0') {
                nonZero = true;
                leading = -static_cast<long long>(fracDigits);
            }
        }
    }
    if (intDigits + fracDigits == 0) {
        return std::nullopt;
    }
    const std::size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negExp = i < n && text[i] == '-';
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t expStart = i;
        for (; i < n && IsDigit(text[i]); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
        }
        if (i == expStart) {
            return std::nullopt;
        }
        if (negExp) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return std::nullopt;
    }

    // std::from_chars wants '.' and no '+': hand it a normalised copy when the text differs.
    const std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
    const std::string_view rest = text.substr(mantissaEnd);
    const std::size_t length = (negative ? 1 : 0) + mantissa.size() + rest.size();
    char small[64];
    std::string large;
    char *buf = small;
    if (length > sizeof small) {
        large.resize(length);
        buf = large.data();
    }
    char *out = buf;
    if (negative) {
        *out++ = '-';
    }
    out = std::copy(mantissa.begin(), mantissa.end(), out);
    if (sepPos != std::string_view::npos) {
        buf[(negative ? 1 : 0) + (sepPos - mantissaStart)] = '.';
    }
    out = std::copy(rest.begin(), rest.end(), out);

    double value = 0;
    const auto res = compat::from_chars(buf, out, value);
    if (res.ec == std::errc::result_out_of_range && nonZero && leading + exponent < 0) {
        return negative ? -0.0 : 0.0; // too small for a double: it reads as zero
    }
    if (res.ec != std::errc() || res.ptr != out || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double LengthTextToMM(std::string_view text, std::string_view unit, char decSep)
{
    const double factor = UnitFactor(unit);
    if (factor == 0) {
        return 0;
    }
    const std::optional<double> value = ParseDecimal(text, decSep);
    if (!value) {
        return 0;
    }
    const double mm = *value * factor;
    return std::isfinite(mm) ? mm : 0;
}

double TextToNumber(std::string_view text, char decSep)
{
    return ParseDecimal(text, decSep).value_or(0.0);
}

std::string FormatFloat(std::string_view pattern, double value, char decSep)
{
    if (pattern.empty()) {
        return GeneralNumberText(value, decSep);
    }
    std::string out;
    AppendPattern(out, value, ParsePattern(pattern), decSep);
    return out;
}

std::string LengthPattern(int places)
{
    places = ClampPlaces(places);
    if (places == 0) {
        return "#";
    }
    std::string pattern = "0.";
    pattern.append(static_cast<std::size_t>(places), '#');
    return pattern;
}

std::string FormatLength(std::string_view unit, int places, double mm, char decSep)
{
    const double factor = UnitFactor(unit);
    const double value = factor > 0 ? mm / factor : mm;
    // The pattern of LengthPattern(places), without building its text on every keystroke.
    Pattern p;
    p.maxFrac = static_cast<std::size_t>(ClampPlaces(places));
    p.minInt = p.maxFrac > 0 ? 1 : 0;
    std::string out;
    AppendPattern(out, value, p, decSep);
    return out;
}

std::string GeneralNumberText(double value, char decSep)
{
    std::string out;
    AppendGeneral(out, value, decSep);
    return out;
}

std::string NumberToDotText(double value)
{
    return GeneralNumberText(value, '.');
}

double MMToPoints(double mm)
{
    return mm / 25.4 * 72.0;
}

std::string AngleToDMS(double degrees, char decSep)
{
    std::string out;
    if (AppendNonFinite(out, degrees)) {
        return out;
    }
    // The parts are worked out on the magnitude and the sign is printed once in front, so a
    // negative angle reads -10°30'15" rather than -10°-30'-15".
    const double magnitude = std::fabs(degrees);
    const double d = std::trunc(magnitude);
    const double minutes = (magnitude - d) * 60.0;
    const double m = std::trunc(minutes);
    const double s = (minutes - m) * 60.0;
    Pattern whole;
    whole.minInt = 1;
    if (std::signbit(degrees) && (d != 0 || m != 0 || s >= 0.5)) {
        out += '-';
    }
    AppendGeneral(out, d, decSep);
    out += kDegreeSign;
    AppendGeneral(out, m, decSep);
    out += '\'';
    // Seconds are rounded on their own: 59.5 seconds and more print as 60, never carried.
    AppendPattern(out, s, whole, decSep);
    out += '"';
    return out;
}

char32_t FilterDecimalKey(char32_t key, std::string_view fieldText,
                          std::string_view textOutsideSelection, std::string &clipboard,
                          char decSep)
{
    const char32_t sepKey = static_cast<unsigned char>(decSep);
    if (key == kPasteKey) {
        // A paste replaces the selection, so only the text outside it counts.
        bool hasSep = Contains(textOutsideSelection, sepKey);
        const std::string_view stripped = StripControls(clipboard);
        for (const char c : stripped) {
            if (c == decSep && !hasSep) {
                hasSep = true;
            } else if (!IsDigit(c)) {
                return 0;
            }
        }
        if (stripped.size() != clipboard.size()) {
            clipboard = std::string(stripped);
        }
        return key;
    }
    if (key == sepKey || key == U'E' || key == U'e') {
        // Typing looks at the whole text, even a selected separator that it would replace.
        return Contains(fieldText, key) ? 0 : key;
    }
    return key < 32 || IsDigitKey(key) ? key : 0;
}

char32_t FilterIntegerKey(char32_t key, std::string &clipboard)
{
    if (key == kPasteKey) {
        const std::string_view stripped = StripControls(clipboard);
        if (!std::all_of(stripped.begin(), stripped.end(), IsDigit)) {
            return 0;
        }
        if (stripped.size() != clipboard.size()) {
            clipboard = std::string(stripped);
        }
        return key;
    }
    return key < 32 || IsDigitKey(key) ? key : 0;
}

} // namespace tools
