// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cp1252.h"
#include "tools/stringtable.h"

#include <gtest/gtest.h>

using namespace tools;

TEST(StringTable, BuiltInTableHoldsTheProgramTexts)
{
    EXPECT_EQ(LoadStr(1), "Lumidra");
    EXPECT_EQ(LoadStr(2201), "mm");
    EXPECT_EQ(LoadStr(1340), "d \u2013 pinhole diameter");
    // A no-break space keeps "see Help." on one line of the note.
    EXPECT_NE(LoadStr(1806).find("see\u00a0Help."), std::string::npos);
    EXPECT_EQ(LoadStr(99999), "");
}

TEST(StringTable, FormatStrFillsTheValueName)
{
    EXPECT_EQ(FormatStr(2400, "DecNum"), "Failed to get data for 'DecNum'");
    EXPECT_EQ(FormatStr(1, "x"), "Lumidra"); // no %s: unchanged
    // Several values in order; a "%s" inside a value is not filled again, surplus ones stay.
    ASSERT_TRUE(LoadStringTable("7 \"%s to %s\"\n"));
    EXPECT_EQ(FormatStr(7, {"%s", "b"}), "%s to b");
    EXPECT_EQ(FormatStr(7, {"a"}), "a to %s");
    EXPECT_EQ(FormatStr(7, {"a", "b", "c"}), "a to b");
    UseBuiltInStringTable();
}

TEST(StringTable, RejectsDamagedTablesAndKeepsTheOldOne)
{
    struct Case
    {
        const char *name;
        const char *text;
    };
    const Case cases[] = {
        {"no id", "\"text\"\n"},
        {"no quotes", "1 text\n"},
        {"unterminated", "1 \"text\n"},
        {"unknown escape", "1 \"a\\q\"\n"},
        {"trailing characters", "1 \"a\" b\n"},
        {"id twice", "1 \"a\"\n1 \"b\"\n"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(LoadStringTable(c.text, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(LoadStr(1), "Lumidra") << c.name;
    }
}

TEST(StringTable, LoadsEscapesCommentsAndCrLf)
{
    std::string error;
    ASSERT_TRUE(LoadStringTable("# comment\r\n\r\n  7 \"a \\\"b\\\" \\\\ \\t\"\r\n", &error)) << error;
    EXPECT_EQ(LoadStr(7), "a \"b\" \\ \t");
    EXPECT_EQ(LoadStr(1), "");
    UseBuiltInStringTable();
    EXPECT_EQ(LoadStr(1), "Lumidra");
}

TEST(Cp1252, RoundTripsTheUpperHalf)
{
    struct Case
    {
        const char *name;
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"ascii", "Tri-X 400", "Tri-X 400"},
        {"en dash", "\u2013", "\x96"},
        {"degree", "46\u00b047'", "46\xb0" "47'"},
        {"euro", "\u20ac", "\x80"},
        {"umlaut", "R\u00f6llei", "R\xf6llei"},
        {"unmappable", "\u4e2d", "?"},
        {"truncated sequence", "a\xc3", "a?"},
        {"stray continuation", "\x80z", "?z"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.name;
        if (c.cp1252.find('?') == std::string::npos) {
            EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8) << c.name;
        }
    }
}
