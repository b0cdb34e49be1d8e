// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/stdcompat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>
#include <system_error>

// The fallback is built where a standard library lacks the functions, and on the systems whose
// tests compare it with the library's own. It reads and prints in the "C" locale through the
// POSIX locale calls (newlocale, strtod_l, uselocale); the standard libraries for Windows have
// the functions themselves.
#ifndef _WIN32

namespace tools::compat::fallback {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [p, last) starts with word, ignoring the case of ASCII letters.
bool StartsWithNoCase(const char *p, const char *last, std::string_view word)
{
    if (static_cast<std::size_t>(last - p) < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(p[i]) != word[i])
            return false;
    return true;
}

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// strtod in the "C" locale, whatever the process's locale says the decimal point is.
double StrtodC(const char *text)
{
    return strtod_l(text, nullptr, CLocale());
}

// snprintf in the "C" locale: this thread's locale is switched for the call.
template <class... Args>
int SnprintfC(char *buf, std::size_t size, const char *format, Args... args)
{
    const locale_t previous = uselocale(CLocale());
    const int n = std::snprintf(buf, size, format, args...);
    uselocale(previous);
    return n;
}

// A finite double as decimal digits: value = 0.d1d2d3... x 10^(exp10 + 1), that is d1.d2d3...
// times 10^exp10. Trailing zeros are dropped; zero has no digits.
struct Digits
{
    std::array<char, 20> d{};
    int count = 0;
    int exp10 = 0;
};

// The digits of |value| correctly rounded to n significant digits (printf rounds exactly).
Digits RoundedDigits(double magnitude, int n)
{
    char buf[40];
    SnprintfC(buf, sizeof buf, "%.*e", n - 1, magnitude);
    Digits r;
    const char *p = buf;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p))
            r.d[static_cast<std::size_t>(r.count++)] = *p;
    r.exp10 = std::atoi(p + 1);
    return r;
}

// The next n-digit decimal above r: one unit added in the last place, carried.
Digits NextUp(Digits r)
{
    int i = r.count - 1;
    while (i >= 0 && r.d[static_cast<std::size_t>(i)] == '9')
        r.d[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
        ++r.d[static_cast<std::size_t>(i)];
    } else {
        r.d[0] = '1'; // 9.99 becomes 10.0: one more power of ten
        ++r.exp10;
    }
    return r;
}

double ReadBack(const Digits &r)
{
    char buf[40];
    char *p = buf;
    *p++ = '.';
    p = std::copy_n(r.d.begin(), r.count, p);
    SnprintfC(p, static_cast<std::size_t>(buf + sizeof buf - p), "e%d", r.exp10 + 1);
    return StrtodC(buf);
}

// The n-digit decimal that reads back as magnitude and lies closest to it, if there is one.
// The correctly rounded one is closest; where it falls below the value just outside the
// narrower half of a gap at a power of two, the next decimal above may still read back.
bool RoundTrips(double magnitude, int n, Digits *out)
{
    const Digits nearest = RoundedDigits(magnitude, n);
    if (ReadBack(nearest) == magnitude) {
        *out = nearest;
        return true;
    }
    const Digits above = NextUp(nearest);
    if (ReadBack(nearest) < magnitude && ReadBack(above) == magnitude) {
        *out = above;
        return true;
    }
    return false;
}

// The shortest digits that read back as magnitude (finite, above zero). An n-digit decimal
// that reads back is also an (n+1)-digit one, so the shortest length is found by bisection.
Digits ShortestDigits(double magnitude)
{
    Digits best;
    int lo = 1;
    int hi = 17; // 17 significant digits always read back
    RoundTrips(magnitude, hi, &best);
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        Digits found;
        if (RoundTrips(magnitude, mid, &found)) {
            best = found;
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    while (best.count > 1 && best.d[static_cast<std::size_t>(best.count - 1)] == '0')
        --best.count;
    return best;
}

std::string Scientific(const Digits &r)
{
    std::string s(1, r.d[0]);
    if (r.count > 1) {
        s += '.';
        s.append(r.d.data() + 1, static_cast<std::size_t>(r.count - 1));
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", r.exp10 < 0 ? '-' : '+', std::abs(r.exp10));
    return s + exponent;
}

std::string Fixed(const Digits &r, double magnitude)
{
    const std::string_view digits(r.d.data(), static_cast<std::size_t>(r.count));
    if (r.exp10 < 0)
        return "0." + std::string(static_cast<std::size_t>(-r.exp10 - 1), '0') +
               std::string(digits);
    const auto whole = static_cast<std::size_t>(r.exp10 + 1);
    if (digits.size() > whole)
        return std::string(digits.substr(0, whole)) + '.' + std::string(digits.substr(whole));
    // A whole number (the shortest digits say so, and then the double is one): all its digits
    // exactly, the closest text of that length (1e23 is 99999999999999991611392).
    char buf[320];
    SnprintfC(buf, sizeof buf, "%.0f", magnitude);
    return buf;
}

std::to_chars_result Emit(char *first, char *last, bool negative, std::string_view text)
{
    const std::size_t need = text.size() + (negative ? 1 : 0);
    if (static_cast<std::size_t>(last - first) < need)
        return {last, std::errc::value_too_large};
    if (negative)
        *first++ = '-';
    return {std::copy(text.begin(), text.end(), first), std::errc{}};
}

} // namespace

namespace {

// The plain overload is the shorter of fixed and scientific (fixed on a tie).
enum class Notation
{
    Shortest,
    Fixed,
    Scientific,
    General,
};

std::to_chars_result ToChars(char *first, char *last, double value, Notation notation)
{
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (std::isnan(value))
        return Emit(first, last, negative, "nan");
    if (std::isinf(value))
        return Emit(first, last, negative, "inf");
    Digits r;
    if (magnitude == 0) {
        r.d[0] = '0';
        r.count = 1;
    } else {
        r = ShortestDigits(magnitude);
    }
    const std::string sci = Scientific(r);
    switch (notation) {
    case Notation::Scientific:
        return Emit(first, last, negative, sci);
    case Notation::General:
        // printf's %g rule with its default precision of 6, the shortest digits either way:
        // scientific when the exponent is below -4 or above 5.
        if (r.exp10 < -4 || r.exp10 >= 6)
            return Emit(first, last, negative, sci);
        return Emit(first, last, negative, Fixed(r, magnitude));
    case Notation::Fixed:
        return Emit(first, last, negative, Fixed(r, magnitude));
    case Notation::Shortest:
        break;
    }
    const std::string fixed = Fixed(r, magnitude);
    return Emit(first, last, negative, fixed.size() <= sci.size() ? fixed : sci);
}

} // namespace

std::to_chars_result to_chars(char *first, char *last, double value)
{
    return ToChars(first, last, value, Notation::Shortest);
}

std::to_chars_result to_chars(char *first, char *last, double value, std::chars_format fmt)
{
    if (fmt == std::chars_format::scientific)
        return ToChars(first, last, value, Notation::Scientific);
    if (fmt == std::chars_format::fixed)
        return ToChars(first, last, value, Notation::Fixed);
    return ToChars(first, last, value, Notation::General);
}

std::to_chars_result to_chars(char *first, char *last, double value, std::chars_format fmt,
                              int precision)
{
    if (precision < 0)
        return fallback::to_chars(first, last, value, fmt);
    const char *format = fmt == std::chars_format::fixed        ? "%.*f"
                         : fmt == std::chars_format::scientific ? "%.*e"
                                                                : "%.*g";
    const int n = SnprintfC(nullptr, 0, format, precision, value);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    SnprintfC(text.data(), text.size(), format, precision, value);
    text.resize(static_cast<std::size_t>(n));
    if (text.starts_with("-"))
        return Emit(first, last, true, std::string_view(text).substr(1));
    return Emit(first, last, false, text);
}

std::from_chars_result from_chars(const char *first, const char *last, double &value,
                                  std::chars_format fmt)
{
    const char *p = first;
    const bool negative = p != last && *p == '-';
    if (negative)
        ++p;

    // Infinity and NaN, with the sign that went before.
    for (std::string_view word : {"infinity", "inf"}) {
        if (StartsWithNoCase(p, last, word)) {
            value = negative ? -HUGE_VAL : HUGE_VAL;
            return {p + word.size(), std::errc{}};
        }
    }
    if (StartsWithNoCase(p, last, "nan")) {
        p += 3;
        if (p != last && *p == '(') {
            const char *q = p + 1;
            while (q != last &&
                   (IsDigit(*q) || *q == '_' || (Lower(*q) >= 'a' && Lower(*q) <= 'z')))
                ++q;
            if (q != last && *q == ')')
                p = q + 1;
        }
        value = negative ? -std::nan("") : std::nan("");
        return {p, std::errc{}};
    }

    // Digits with at most one point, at least one digit.
    bool anyDigit = false;
    bool nonZero = false;
    for (; p != last && IsDigit(*p); ++p) {
        anyDigit = true;
        nonZero = nonZero || *p != '0';
    }
    if (p != last && *p == '.') {
        for (++p; p != last && IsDigit(*p); ++p) {
            anyDigit = true;
            nonZero = nonZero || *p != '0';
        }
    }
    if (!anyDigit)
        return {first, std::errc::invalid_argument};

    // The exponent counts only when it has digits; fixed allows none, scientific needs one.
    const bool allowExponent =
        (fmt & std::chars_format::scientific) == std::chars_format::scientific;
    const bool needExponent =
        allowExponent && (fmt & std::chars_format::fixed) != std::chars_format::fixed;
    bool hasExponent = false;
    if (allowExponent && p != last && (*p == 'e' || *p == 'E')) {
        const char *q = p + 1;
        if (q != last && (*q == '+' || *q == '-'))
            ++q;
        if (q != last && IsDigit(*q)) {
            while (q != last && IsDigit(*q))
                ++q;
            p = q;
            hasExponent = true;
        }
    }
    if (needExponent && !hasExponent)
        return {first, std::errc::invalid_argument};

    const std::string text(first, p);
    const double parsed = StrtodC(text.c_str());
    if (std::isinf(parsed) || (parsed == 0 && nonZero))
        return {p, std::errc::result_out_of_range};
    value = parsed;
    return {p, std::errc{}};
}

} // namespace tools::compat::fallback

#endif // _WIN32
