// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/stdcompat.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

namespace fb = tools::compat::fallback;

namespace {

using Fmt = std::chars_format;

// Fmt{} stands for the overload without a format.
std::string FallbackText(double value, Fmt fmt = Fmt{})
{
    char buf[400];
    const auto r = fmt == Fmt{} ? fb::to_chars(buf, buf + sizeof buf, value)
                                : fb::to_chars(buf, buf + sizeof buf, value, fmt);
    EXPECT_EQ(r.ec, std::errc{});
    return std::string(buf, r.ptr);
}

struct Parsed
{
    std::errc ec;
    std::ptrdiff_t used;
    std::uint64_t bits; // of the value after the call (42 before it)

    bool operator==(const Parsed &) const = default;
};

Parsed FallbackParse(const std::string &text, Fmt fmt = Fmt::general)
{
    double value = 42;
    const auto r = fb::from_chars(text.data(), text.data() + text.size(), value, fmt);
    return {r.ec, r.ptr - text.data(), tools::compat::bit_cast<std::uint64_t>(value)};
}

std::uint64_t Bits(double value)
{
    return tools::compat::bit_cast<std::uint64_t>(value);
}

// Doubles that catch the usual faults of a shortest printer: powers of two (whose gap below
// is half the gap above), powers of ten, the ends of the subnormal and normal ranges, whole
// numbers beyond 2^53, and values that need all 17 digits.
std::vector<double> HardValues()
{
    std::vector<double> v = {0.0,
                             -0.0,
                             0.1,
                             0.3,
                             2.675,
                             1e23,
                             5e-324,
                             2.2250738585072009e-308, // largest subnormal
                             2.2250738585072014e-308, // smallest normal
                             1.7976931348623157e308,
                             9007199254740993.0,
                             1234567890123456789.0,
                             0.30000000000000004,
                             123456.0,
                             0.001,
                             1e-5,
                             1e21,
                             1e22,
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    for (int e = -1074; e <= 1023; e += 7)
        v.push_back(std::ldexp(1.0, e));
    for (int e = -323; e <= 308; e += 3)
        v.push_back(std::strtod(("1e" + std::to_string(e)).c_str(), nullptr));
    return v;
}

// Random bit patterns cover every exponent, subnormals and both signs alike.
std::vector<double> RandomValues(int count)
{
    std::mt19937_64 gen(20261208);
    std::vector<double> v;
    while (static_cast<int>(v.size()) < count) {
        const double d = tools::compat::bit_cast<double>(gen());
        if (!std::isnan(d))
            v.push_back(d);
    }
    return v;
}

} // namespace

// Worked cases, true wherever the build runs: what the core's number texts rely on.
TEST(StdCompat, PrintsTheShortestText)
{
    struct Case
    {
        double value;
        Fmt fmt;
        const char *text;
    };
    const Case cases[] = {
        {0.1, Fmt{}, "0.1"},
        {0.001, Fmt{}, "0.001"}, // as long as 1e-03: fixed wins the tie
        {1e-5, Fmt{}, "1e-05"},
        {123456, Fmt{}, "123456"},
        {1e16, Fmt{}, "1e+16"},
        {1234567890123456789.0, Fmt{}, "1234567890123456768"}, // the exact whole number
        {-0.0, Fmt{}, "-0"},
        {5e-324, Fmt{}, "5e-324"},
        {0.30000000000000004, Fmt{}, "0.30000000000000004"},
        {2.675, Fmt::scientific, "2.675e+00"},
        {-0.0, Fmt::scientific, "-0e+00"},
        {1.7976931348623157e308, Fmt::scientific, "1.7976931348623157e+308"},
        {1e23, Fmt::fixed, "99999999999999991611392"},
        {1e23, Fmt::scientific, "1e+23"},
        {0.0001, Fmt::general, "0.0001"},
        {0.00001, Fmt::general, "1e-05"},
        {12.5, Fmt::general, "12.5"},
        {125, Fmt::general, "125"},
        {125000, Fmt::general, "125000"},
        {1250000, Fmt::general, "1.25e+06"},
        {std::numeric_limits<double>::infinity(), Fmt{}, "inf"},
        {-std::numeric_limits<double>::quiet_NaN(), Fmt{}, "-nan"},
    };
    for (const Case &c : cases) {
        char buf[64];
        const auto r = c.fmt == Fmt{}
                           ? tools::compat::to_chars(buf, buf + sizeof buf, c.value)
                           : tools::compat::to_chars(buf, buf + sizeof buf, c.value, c.fmt);
        EXPECT_EQ(std::string(buf, r.ptr), c.text) << c.value;
        EXPECT_EQ(FallbackText(c.value, c.fmt), c.text) << c.value;
    }
}

TEST(StdCompat, PrintsWithAPrecision)
{
    struct Case
    {
        double value;
        Fmt fmt;
        int precision;
        const char *text;
    };
    const Case cases[] = {
        {2.675, Fmt::fixed, 2, "2.67"}, // the double lies a hair below 2.675
        {1.5, Fmt::fixed, 0, "2"},
        {-0.0, Fmt::fixed, 1, "-0.0"},
        {1234.5, Fmt::scientific, 2, "1.23e+03"},
        {0.0001234, Fmt::general, 2, "0.00012"},
        {1e23, Fmt::fixed, 0, "99999999999999991611392"},
    };
    for (const Case &c : cases) {
        char buf[64];
        const auto r = tools::compat::to_chars(buf, buf + sizeof buf, c.value, c.fmt, c.precision);
        EXPECT_EQ(std::string(buf, r.ptr), c.text) << c.value;
        const auto f = fb::to_chars(buf, buf + sizeof buf, c.value, c.fmt, c.precision);
        EXPECT_EQ(std::string(buf, f.ptr), c.text) << c.value;
    }
}

TEST(StdCompat, ReadsThePatternOfFromChars)
{
    constexpr std::errc ok{};
    constexpr std::errc invalid = std::errc::invalid_argument;
    constexpr std::errc range = std::errc::result_out_of_range;
    constexpr std::uint64_t untouched = 0x4045000000000000; // 42
    struct Case
    {
        const char *text;
        Fmt fmt;
        Parsed expected;
    };
    const Case cases[] = {
        {"1.5", Fmt::general, {ok, 3, Bits(1.5)}},
        {"-0", Fmt::general, {ok, 2, Bits(-0.0)}},
        {".5", Fmt::general, {ok, 2, Bits(0.5)}},
        {"5.", Fmt::general, {ok, 2, Bits(5.0)}},
        {"1e", Fmt::general, {ok, 1, Bits(1.0)}}, // an exponent needs digits
        {"1e+", Fmt::general, {ok, 1, Bits(1.0)}},
        {"1e5", Fmt::fixed, {ok, 1, Bits(1.0)}},          // fixed reads no exponent
        {"15", Fmt::scientific, {invalid, 0, untouched}}, // scientific needs one
        {"0x1p3", Fmt::general, {ok, 1, Bits(0.0)}},      // no hexadecimal
        {"+1", Fmt::general, {invalid, 0, untouched}},
        {" 1", Fmt::general, {invalid, 0, untouched}},
        {".", Fmt::general, {invalid, 0, untouched}},
        {"-INFINITY", Fmt::general, {ok, 9, Bits(-std::numeric_limits<double>::infinity())}},
        {"inFx", Fmt::general, {ok, 3, Bits(std::numeric_limits<double>::infinity())}},
        {"1e-310", Fmt::general, {ok, 6, Bits(1e-310)}}, // subnormal, in range
        {"2.4703282292062328e-324", Fmt::general, {ok, 23, Bits(5e-324)}},
        {"2.4703282292062327e-324", Fmt::general, {range, 23, untouched}}, // rounds to 0
        {"1e-400", Fmt::general, {range, 6, untouched}},
        {"0e999999999999", Fmt::general, {ok, 14, Bits(0.0)}},
        {"1.7976931348623158e308", Fmt::general, {ok, 22, Bits(1.7976931348623157e308)}},
        {"1.7976931348623159e308", Fmt::general, {range, 22, untouched}}, // rounds to inf
        {"1e400", Fmt::general, {range, 5, untouched}},
    };
    for (const Case &c : cases) {
        double value = 42;
        const std::string text = c.text;
        const auto r =
            tools::compat::from_chars(text.data(), text.data() + text.size(), value, c.fmt);
        EXPECT_EQ((Parsed{r.ec, r.ptr - text.data(), Bits(value)}), c.expected) << c.text;
        EXPECT_EQ(FallbackParse(text, c.fmt), c.expected) << c.text;
    }
    // NaN: the parentheses count only when closed.
    EXPECT_EQ(FallbackParse("nan(12_ab)x").used, 10);
    EXPECT_EQ(FallbackParse("nan(").used, 3);
    EXPECT_TRUE(std::isnan(tools::compat::bit_cast<double>(FallbackParse("-nan").bits)));
}

// The fallback reads back every text it prints, and no text of one digit fewer would do.
TEST(StdCompat, RoundTripsEveryDouble)
{
    std::vector<double> values = HardValues();
    const std::vector<double> random = RandomValues(20000);
    values.insert(values.end(), random.begin(), random.end());
    for (double v : values) {
        if (std::isnan(v))
            continue;
        for (Fmt fmt : {Fmt{}, Fmt::scientific, Fmt::fixed, Fmt::general}) {
            const std::string text = FallbackText(v, fmt);
            const Parsed p = FallbackParse(text);
            ASSERT_EQ(p.ec, std::errc{}) << text;
            ASSERT_EQ(p.used, static_cast<std::ptrdiff_t>(text.size())) << text;
            ASSERT_EQ(p.bits, Bits(v)) << text;
        }
    }
}

TEST(StdCompat, ReportsASmallBuffer)
{
    char buf[4];
    const auto r = fb::to_chars(buf, buf + sizeof buf, 0.12345);
    EXPECT_EQ(r.ec, std::errc::value_too_large);
    EXPECT_EQ(r.ptr, buf + sizeof buf);
}

// Where the standard library has the functions, the fallback gives the very same results.
TEST(StdCompat, AgreesWithTheStandardLibrary)
{
#if !defined(__cpp_lib_to_chars)
    GTEST_SKIP() << "this standard library has no floating-point to_chars to compare with";
#else
    std::vector<double> values = HardValues();
    const std::vector<double> random = RandomValues(20000);
    values.insert(values.end(), random.begin(), random.end());
    std::mt19937_64 gen(7);
    for (double v : values) {
        for (Fmt fmt : {Fmt{}, Fmt::scientific, Fmt::fixed, Fmt::general}) {
            char buf[400];
            const auto r = fmt == Fmt{} ? std::to_chars(buf, buf + sizeof buf, v)
                                        : std::to_chars(buf, buf + sizeof buf, v, fmt);
            const std::string expected(buf, r.ptr);
            ASSERT_EQ(FallbackText(v, fmt), expected);
            if (fmt != Fmt{}) {
                for (int precision : {0, 3, 17}) {
                    char std_buf[400];
                    char fb_buf[400];
                    const auto s = std::to_chars(std_buf, std_buf + 400, v, fmt, precision);
                    const auto f = fb::to_chars(fb_buf, fb_buf + 400, v, fmt, precision);
                    ASSERT_EQ(std::string(fb_buf, f.ptr), std::string(std_buf, s.ptr));
                }
            }
            // Its text read back, and shortened or lengthened by a digit, read alike.
            for (const std::string &text : {expected, expected.substr(0, expected.size() - 1),
                                            expected + std::to_string(gen() % 10)}) {
                for (Fmt in : {Fmt::general, Fmt::fixed, Fmt::scientific}) {
                    double value = 42;
                    const auto s =
                        std::from_chars(text.data(), text.data() + text.size(), value, in);
                    ASSERT_EQ(FallbackParse(text, in),
                              (Parsed{s.ec, s.ptr - text.data(), Bits(value)}))
                        << text;
                }
            }
        }
    }
#endif
}
