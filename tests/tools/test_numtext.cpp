// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

using namespace tools;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

// Every case is written as under a decimal point. Under a decimal comma '.' and ',' trade
// places, so "12.5" is always the locale's way of writing twelve and a half and "12,5" the
// foreign way, which must not be read.
class NumText : public ::testing::TestWithParam<char>
{
protected:
    char Sep() const { return GetParam(); }

    std::string Loc(std::string_view text) const
    {
        std::string s(text);
        if (Sep() == ',') {
            for (char &c : s) {
                c = c == '.' ? ',' : c == ',' ? '.' : c;
            }
        }
        return s;
    }

    char32_t LocKey(char32_t key) const
    {
        if (Sep() == ',' && (key == U'.' || key == U',')) {
            return key == U'.' ? U',' : U'.';
        }
        return key;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, NumText, ::testing::Values('.', ','),
                         [](const ::testing::TestParamInfo<char> &info) {
                             return info.param == '.' ? "Point" : "Comma";
                         });

} // namespace

TEST(NumTextUnits, FactorsAreMatchedExactly)
{
    EXPECT_EQ(UnitFactor("mm"), 1.0);
    EXPECT_EQ(UnitFactor("cm"), 10.0);
    EXPECT_EQ(UnitFactor("m"), 1000.0);
    EXPECT_EQ(UnitFactor("in"), 25.4);
    for (const char *name : {"", " ", "MM", "In", "mm ", "inch", "km"}) {
        EXPECT_EQ(UnitFactor(name), 0.0) << '"' << name << '"';
    }
}

TEST_P(NumText, ParseDecimalAcceptsLocaleNumbers)
{
    struct Case
    {
        const char *text;
        double value;
    };
    const std::string longInteger = "1" + std::string(99, '0');
    const std::string longFraction = "0." + std::string(70, '0') + "1";
    const Case cases[] = {
        {"12.5", 12.5},
        {" 12.5  ", 12.5},
        {"\t7\t", 7},
        {"+3", 3},
        {"-3", -3},
        {"007", 7},
        {"1.", 1},
        {".5", 0.5},
        {"-.5", -0.5},
        {"1e2", 100},
        {"1E2", 100},
        {"1.5e-3", 0.0015},
        {"1e+3", 1000},
        {"0", 0},
        {"0e999999999999999999999", 0},
        {"1.7976931348623157e308", kMax},
        {"1e-400", 0}, // below the smallest double: reads as zero
        {longInteger.c_str(), 1e99},
        {longFraction.c_str(), 1e-71},
    };
    for (const Case &c : cases) {
        const std::optional<double> v = ParseDecimal(Loc(c.text), Sep());
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
}

TEST_P(NumText, ParseDecimalRejectsEverythingElse)
{
    const char *texts[] = {
        "",     " ",     ".",      "-",    "+-1",          "--1",     "e5",
        "1e",   "1e+",   "1.5.2",  "12,5", "1,5",          "- 1",     "1 000",
        "1e 5", "1 e5",  "1e5.5",  "0x10", "inf",          "-inf",    "nan",
        "1d",   "1e400", "-1e400", "1.5x", "\xEF\xBC\x91", "1,000.5", "1\xC2\xA0",
    };
    for (const char *text : texts) {
        EXPECT_FALSE(ParseDecimal(Loc(text), Sep()).has_value()) << '"' << Loc(text) << '"';
    }
}

TEST_P(NumText, LengthTextToMMConvertsToMillimetres)
{
    struct Case
    {
        const char *text;
        const char *unit;
        double mm;
    };
    const Case cases[] = {
        {"1.5", "in", 38.1}, {"2", "m", 2000}, {"1e2", "cm", 1000}, {"12.5", "mm", 12.5},
        {"-2", "cm", -20},   {"2", "M", 0},    {"2", "MM", 0},      {"2", "", 0},
        {"", "mm", 0},       {"", "in", 0},    {"12,5", "mm", 0},   {"abc", "mm", 0},
        {"1e308", "m", 0}, // 1e311 mm does not fit a double
    };
    for (const Case &c : cases) {
        EXPECT_DOUBLE_EQ(LengthTextToMM(Loc(c.text), c.unit, Sep()), c.mm)
            << c.text << ' ' << c.unit;
    }
    EXPECT_EQ(TextToNumber(Loc("0.00055"), Sep()), 0.00055);
    EXPECT_EQ(TextToNumber(Loc("0,00055"), Sep()), 0);
    EXPECT_EQ(TextToNumber("", Sep()), 0);
}

TEST_P(NumText, FormatLengthUsesUnitAndPlaces)
{
    struct Case
    {
        const char *unit;
        int places;
        double mm;
        const char *text;
    };
    const Case cases[] = {
        {"in", 3, 25.4, "1"},       {"mm", 3, 12.34567, "12.346"},
        {"cm", 0, 4, ""}, // 0.4 cm under "#": nothing left to print
        {"cm", 0, 26, "3"},         {"", 1, 2.25, "2.3"},
        {"mm", 3, 12.5, "12.5"},    {"mm", 3, 12.0004, "12"},
        {"mm", 3, 0.0004, "0"},     {"m", 3, 1500, "1.5"},
        {"MM", 2, 1500, "1500"}, // not a unit name: unconverted
        {" ", 2, 3.14159, "3.14"},  {"mm", 3, 1234567.25, "1234567.25"}, // no thousands separator
        {"", 10, 0.1 + 0.2, "0.3"}, {"", 20, 0.1, "0.1"},
        {"", 25, 1.5e-21, "0"}, // clamped to 20 places, where 1.5e-21 rounds to 0
        {"", -3, 2.5, "3"},     // clamped to 0 places
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatLength(c.unit, c.places, c.mm, Sep()), Loc(c.text))
            << c.unit << ' ' << c.places << ' ' << c.mm;
    }
}

TEST_P(NumText, RoundsHalfAwayFromZero)
{
    struct Case
    {
        int places;
        double value;
        const char *text;
    };
    // Ties are judged on the decimal digits of the shortest text of the double: 1.005,
    // 2.675 and 12.345 lie a hair below their tie in binary but still round up.
    const Case cases[] = {
        {0, 0.5, "1"},      {0, 1.5, "2"},        {0, 2.5, "3"},        {0, -0.5, "-1"},
        {0, -2.5, "-3"},    {0, 9.5, "10"},       {0, 0.49999, ""},     {0, -0.4, ""},
        {1, 0.05, "0.1"},   {1, 0.04999, "0"},    {1, -0.04, "0"},      {1, -0.05, "-0.1"},
        {1, 0.96, "1"},     {2, 0.125, "0.13"},   {2, -0.125, "-0.13"}, {2, 1.005, "1.01"},
        {2, 2.675, "2.68"}, {2, 12.345, "12.35"}, {2, 99.995, "100"},   {3, -0.0, "0"},
        {3, -1e-9, "0"},    {1, 0.15, "0.2"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatLength("", c.places, c.value, Sep()), Loc(c.text))
            << c.places << ' ' << c.value;
    }
}

TEST_P(NumText, FormatFloatFollowsThePattern)
{
    struct Case
    {
        const char *pattern;
        double value;
        const char *text;
    };
    const Case cases[] = {
        {"0.000", 1.5, "1.500"},
        {"0.000", 0, "0.000"},
        {"0.000", -0.0001, "0.000"},
        {"0.0000000000", 12.5, "12.5000000000"},
        {"0.00000000000000000000", 0.1, "0.10000000000000000000"},
        {"0.#", 12.34, "12.3"},
        {"0.#", 0.04, "0"},
        {"0", 59.5, "60"},
        {"0", 0.4, "0"},
        {"#", 0.4, ""},
        {"#.##", 0.5, ".5"},
        {"00.0", 3.14, "03.1"},
        {"0.0#", 1.2, "1.2"},
        {"0.0#", 1, "1.0"},
        {"0.0#", 1.234, "1.23"},
        {"0.00", 1234567.891, "1234567.89"},
        {"", 12.5, "12.5"}, // no pattern: the general number text
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatFloat(c.pattern, c.value, Sep()), Loc(c.text))
            << c.pattern << ' ' << c.value;
    }
    EXPECT_EQ(LengthPattern(3), "0.###");
    EXPECT_EQ(LengthPattern(1), "0.#");
    EXPECT_EQ(LengthPattern(0), "#");
    EXPECT_EQ(LengthPattern(-1), "#");
    EXPECT_EQ(LengthPattern(99), "0." + std::string(20, '#'));
}

TEST_P(NumText, HugeAndNonFiniteValuesPrint)
{
    EXPECT_EQ(FormatLength("", 10, 1e300, Sep()), "1" + std::string(300, '0'));
    EXPECT_EQ(FormatLength("", 20, 1e308, Sep()), "1" + std::string(308, '0'));
    EXPECT_EQ(FormatLength("in", 20, -1e308, Sep()).size(), 308u); // "-3937..." 307 digits
    // The largest double has 309 integer digits; its shortest text has 17 significant ones.
    EXPECT_EQ(FormatFloat("0.00", -kMax, Sep()),
              "-17976931348623157" + std::string(292, '0') + Loc(".00"));
    EXPECT_EQ(FormatLength("", 20, 5e-324, Sep()), "0");

    for (const std::string &text :
         {FormatLength("mm", 3, kNaN, Sep()), GeneralNumberText(kNaN, Sep()),
          FormatFloat("0.00", -kNaN, Sep()), AngleToDMS(kNaN, Sep())}) {
        EXPECT_EQ(text, "NAN");
    }
    EXPECT_EQ(FormatLength("in", 3, kInf, Sep()), "INF");
    EXPECT_EQ(FormatLength("in", 3, -kInf, Sep()), "-INF");
    EXPECT_EQ(GeneralNumberText(-kInf, Sep()), "-INF");
    EXPECT_EQ(FormatFloat("#", kInf, Sep()), "INF");
    EXPECT_EQ(AngleToDMS(kInf, Sep()), "INF");
}

TEST_P(NumText, GeneralNumberTextSwitchesNotation)
{
    struct Case
    {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {72, "72"},
        {12.5, "12.5"},
        {-12.5, "-12.5"},
        {35.3352166639620, "35.335216663962"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {10000000000000.25, "10000000000000.3"}, // 15-digit tie, away from zero
        {0.00001, "0.00001"},
        {0.0000099999, "9.9999E-6"},
        {0.0000099999999999999999, "0.00001"}, // rounds up to 1e-5 at 15 digits
        {1e-6, "1E-6"},
        {-2.5e-7, "-2.5E-7"},
        {1e14, "100000000000000"},
        {999999999999999, "999999999999999"},
        {999999999999999.9, "1E15"}, // 15 digits: 1.00000000000000E15
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {123456789012345678.0, "1.23456789012346E17"},
        {1e300, "1E300"},
        {-1e-300, "-1E-300"},
        {5e-324, "5E-324"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(GeneralNumberText(c.value, Sep()), Loc(c.text)) << c.text;
    }
}

TEST_P(NumText, GeneralNumberTextReadsBack)
{
    for (const double v : {0.00055, 12.5, -3.75, 1e-5, 9.87654321e-7, 123456.789, 6.02e23}) {
        EXPECT_EQ(ParseDecimal(GeneralNumberText(v, Sep()), Sep()), v) << v;
    }
}

TEST(NumTextDot, NumberToDotTextAlwaysUsesAPoint)
{
    EXPECT_EQ(NumberToDotText(12.5), "12.5");
    EXPECT_EQ(NumberToDotText(72), "72");
    EXPECT_EQ(GeneralNumberText(12.5, ','), "12,5");
    EXPECT_EQ(NumberToDotText(12.5), "12.5"); // the comma call left nothing behind
    EXPECT_EQ(NumberToDotText(-2.5e-7), "-2.5E-7");
}

TEST(NumTextPoints, MMToPoints)
{
    EXPECT_EQ(MMToPoints(25.4), 72.0);
    EXPECT_DOUBLE_EQ(MMToPoints(210), 595.2755905511811);
    EXPECT_EQ(MMToPoints(0), 0.0);
}

TEST_P(NumText, AngleToDMS)
{
    struct Case
    {
        double degrees;
        const char *text;
    };
    // 46.79 degrees: 0.79 * 60 = 47.4 minutes, 0.4 * 60 = 24 seconds.
    const Case cases[] = {
        {45.5, "45\u00b030'0\""},
        {0, "0\u00b00'0\""},
        {10.99999, "10\u00b059'60\""}, // 59.964 seconds round to 60 without carry
        {46.79, "46\u00b047'24\""},
        {90, "90\u00b00'0\""},
        {-45.5, "-45\u00b030'0\""},
        {-0.0001, "0\u00b00'0\""}, // 0.36 seconds: nothing left for the sign
        {1e300, "1E300\u00b00'0\""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AngleToDMS(c.degrees, Sep()), c.text) << c.degrees;
    }
}

TEST_P(NumText, FilterDecimalKeyTyped)
{
    struct Case
    {
        const char *name;
        char32_t key;
        const char *fieldText;
        bool passes;
    };
    const Case cases[] = {
        {"digit", U'5', "12", true},
        {"backspace", 8, "1.5", true},
        {"enter", 13, "", true},
        {"escape", 27, "", true},
        {"ctrl+c", 3, "1.5", true},
        {"first separator", U'.', "15", true},
        {"second separator", U'.', "1.5", false},
        {"e beside E", U'e', "1E5", true},
        {"second E", U'E', "1E5", false},
        {"second e", U'e', "1e5", false},
        {"minus", U'-', "", false},
        {"plus", U'+', "1e", false},
        {"blank", U' ', "1", false},
        {"foreign separator", U',', "1", false},
        {"letter", U'a', "", false},
        {"delete", 127, "", false},
        {"a umlaut", 0xE4, "", false},
        {"euro", 0x20AC, "", false},
        {"arabic-indic zero", 0x660, "", false},
        {"separator in low byte", 0x12E, "", false},
        {"digit in low byte", 0x135, "", false},
    };
    for (const Case &c : cases) {
        const char32_t key = c.key == 0x12E ? char32_t(0x100 + Sep()) : LocKey(c.key);
        const std::string text = Loc(c.fieldText);
        std::string clipboard = "untouched";
        EXPECT_EQ(FilterDecimalKey(key, text, text, clipboard, Sep()), c.passes ? key : 0)
            << c.name;
        EXPECT_EQ(clipboard, "untouched") << c.name;
    }
}

TEST_P(NumText, FilterDecimalKeyPasted)
{
    struct Case
    {
        const char *name;
        const char *fieldText;
        const char *outsideSelection;
        const char *clipboard;
        const char *pasted; // nullptr: the paste is refused
    };
    const Case cases[] = {
        {"blanks around", "", "", " 2.5 ", "2.5"},
        {"line ends around", "", "", "\t\r\n2.5\r\n", "2.5"},
        {"second separator", "1.0", "1.0", "2.5", nullptr},
        {"over whole field", "1.0", "", "2.5", "2.5"},
        {"over the separator", "1.0", "10", "2.5", "2.5"},
        {"digits beside separator", "1.0", "1.0", "25", "25"},
        {"separator after digits", "1", "1", ".5", ".5"},
        {"exponent", "", "", "1e5", nullptr},
        {"two separators", "", "", "2.5.1", nullptr},
        {"minus", "", "", "-2", nullptr},
        {"inner blank", "", "", "2 5", nullptr},
        {"foreign separator", "", "", "2,5", nullptr},
        {"no-break space", "", "",
         "\xC2\xA0"
         "5",
         nullptr},
        {"empty", "", "", "", ""},
        {"only blanks", "7", "7", "  \n", ""},
    };
    for (const Case &c : cases) {
        const std::string before = Loc(c.clipboard);
        std::string clipboard = before;
        const char32_t result = FilterDecimalKey(kPasteKey, Loc(c.fieldText),
                                                 Loc(c.outsideSelection), clipboard, Sep());
        EXPECT_EQ(result, c.pasted ? kPasteKey : 0) << c.name;
        EXPECT_EQ(clipboard, c.pasted ? Loc(c.pasted) : before) << c.name;
    }
}

TEST(NumTextKeys, FilterIntegerKey)
{
    struct Case
    {
        const char *name;
        char32_t key;
        bool passes;
    };
    const Case typed[] = {
        {"digit", U'7', true},
        {"backspace", 8, true},
        {"point", U'.', false},
        {"comma", U',', false},
        {"minus", U'-', false},
        {"e", U'e', false},
        {"superscript two", 0xB2, false},
        {"digit in low byte", 0x137, false},
    };
    for (const Case &c : typed) {
        std::string clipboard = "x";
        EXPECT_EQ(FilterIntegerKey(c.key, clipboard), c.passes ? c.key : 0) << c.name;
        EXPECT_EQ(clipboard, "x") << c.name;
    }

    struct Paste
    {
        const char *clipboard;
        const char *pasted; // nullptr: refused
    };
    const Paste pastes[] = {
        {"12a", nullptr}, {" 15 ", "15"},   {"\r\n42\r\n", "42"}, {"", ""},
        {"1.5", nullptr}, {"1,5", nullptr}, {"1 5", nullptr},     {"+15", nullptr},
    };
    for (const Paste &p : pastes) {
        std::string clipboard = p.clipboard;
        EXPECT_EQ(FilterIntegerKey(kPasteKey, clipboard), p.pasted ? kPasteKey : 0) << p.clipboard;
        EXPECT_EQ(clipboard, p.pasted ? p.pasted : p.clipboard) << p.clipboard;
    }
}
