// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"
#include "tools/unitconvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tools;

namespace {

// Texts are written with '.'; under a decimal comma every '.' becomes ','.
std::string L(std::string text, char decSep)
{
    std::replace(text.begin(), text.end(), '.', decSep);
    return text;
}

} // namespace

// What the three fields of the tool show, each as general number text (15 digits).
TEST(UnitConversion, FieldsShowTheLengthInEachUnit)
{
    struct Case
    {
        const char *name, *text, *unit, *mm, *cm, *in;
    };
    const Case cases[] = {
        {"millimetres", "25.4", "mm", "25.4", "2.54", "1"},
        {"inches", "1", "in", "25.4", "2.54", "1"},
        // 1 / 2.54 = 0.39370078740157480...: 15 significant digits.
        {"centimetres", "1", "cm", "10", "1", "0.393700787401575"},
        {"typed text kept as its number", "025.40", "mm", "25.4", "2.54", "1"},
        {"exponent", "1e2", "cm", "1000", "100", "39.3700787401575"},
        // Metres have no field of their own: 1.5 m = 1500 mm = 150 cm = 59.0551181102362 in.
        {"metres through millimetres", "1.5", "m", "1500", "150", "59.0551181102362"},
        {"zero", "0", "mm", "0", "0", "0"},
    };
    for (char s : {'.', ','}) {
        for (const Case &c : cases) {
            const auto r = ConvertLength(L(c.text, s), c.unit, s);
            ASSERT_TRUE(r) << c.name;
            EXPECT_EQ(GeneralNumberText(r->mm, s), L(c.mm, s)) << c.name;
            EXPECT_EQ(GeneralNumberText(r->cm, s), L(c.cm, s)) << c.name;
            EXPECT_EQ(GeneralNumberText(r->in, s), L(c.in, s)) << c.name;
        }
    }
}

TEST(UnitConversion, TextThatIsNoNumberConvertsToNothing)
{
    struct Case
    {
        const char *name, *text, *unit;
    };
    const Case cases[] = {
        {"empty field", "", "mm"},          {"lone exponent letter", "e", "mm"},
        {"letters", "abc", "in"},           {"decimal comma under a point", "1,5", "mm"},
        {"beyond a double", "1e400", "cm"}, {"unit outside the table", "1", "ft"},
        {"unit in capitals", "1", "MM"},
    };
    for (const Case &c : cases)
        EXPECT_FALSE(ConvertLength(c.text, c.unit, '.')) << c.name;

    // A number that fits reads, but its millimetres may not: the caller sees infinity.
    const auto huge = ConvertLength("1e308", "in", '.');
    ASSERT_TRUE(huge);
    EXPECT_TRUE(std::isinf(huge->mm));
}
