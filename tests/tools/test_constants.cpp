// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/constants.h"
#include "tools/cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace tools;

namespace {

constexpr char kSeparators[] = {'.', ','};

// Expected texts are written with '.'; under a decimal comma every '.' becomes ','.
std::string Localized(std::string text, char decSep)
{
    std::replace(text.begin(), text.end(), '.', decSep);
    return text;
}

} // namespace

TEST(ConstantList, EntriesWithAndWithoutUserConstant)
{
    const std::string sep = ConstantSeparatorText();
    const std::vector<std::string> without = {"2 - first Fresnel zone", "1.9 - Lord Rayleigh", sep,
                                              "Add user constant"};
    struct Case
    {
        double stored;
        std::vector<std::string> entries; // written with '.'
    };
    const Case cases[] = {
        {-1, without},
        {0, without},
        {std::numeric_limits<double>::quiet_NaN(), without},
        {std::numeric_limits<double>::infinity(), without},
        {1.5, {without[0], without[1], "1.5 - user constant", sep, "Edit user constant"}},
        {1e308, {without[0], without[1], "1E308 - user constant", sep, "Edit user constant"}},
    };
    for (char decSep : kSeparators) {
        for (const Case &c : cases) {
            std::vector<std::string> expected;
            for (const std::string &e : c.entries) {
                expected.push_back(Localized(e, decSep));
            }
            EXPECT_EQ(ConstantListEntries(c.stored, decSep), expected) << c.stored << decSep;
        }
    }
}

TEST(ConstantList, SeparatorIsFortyThreeEnDashes)
{
    // In the 8-bit code page each en dash is the single byte 0x96.
    EXPECT_EQ(Utf8ToCp1252(ConstantSeparatorText()), std::string(43, '\x96'));
}

TEST(ConstantList, SelectionNeverLandsOnTheSeparator)
{
    EXPECT_EQ(ConstantListSelection(1.5, true), 2);
    EXPECT_EQ(ConstantListSelection(1.5, false), 1);
    // Asking for the user entry of a list without one would select the separator.
    EXPECT_EQ(ConstantListSelection(-1, true), 1);
}

TEST(ConstantList, EveryNumericEntryReadsBackItsConstant)
{
    const double users[] = {1.5, 0.7, 1.23456789012345, 1e-7, 1e308};
    for (char decSep : kSeparators) {
        for (double u : users) {
            const std::vector<std::string> entries = ConstantListEntries(u, decSep);
            ASSERT_EQ(entries.size(), 5u);
            EXPECT_EQ(ConstantFromEntry(entries[0], decSep), 2.0);
            EXPECT_EQ(ConstantFromEntry(entries[1], decSep), 1.9);
            EXPECT_EQ(ConstantFromEntry(entries[2], decSep), u) << entries[2];
            EXPECT_EQ(ConstantFromEntry(entries[3], decSep), std::nullopt);
            EXPECT_EQ(ConstantFromEntry(entries[4], decSep), std::nullopt);
            for (size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(IsSeparatorEntry(entries[i]), i == 3) << entries[i];
                EXPECT_EQ(IsActionEntry(entries[i]), i == 4) << entries[i];
            }
        }
    }
}

TEST(ConstantList, ReadsOnlyTheTextBeforeTheFirstBlank)
{
    struct Case
    {
        const char *entry;
        char decSep;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"1,9 - Lord Rayleigh", ',', 1.9},
        {"1,9 - Lord Rayleigh", '.', std::nullopt}, // strict: a comma is no point
        {"1.9 - Lord Rayleigh", ',', std::nullopt},
        {"2.5", '.', 2.5},                         // no blank: the whole text
        {" 2 - leading blank", '.', std::nullopt}, // nothing before the blank
        {"", '.', std::nullopt},
        {"Add user constant", '.', std::nullopt},
        {"1e999 - too large", '.', std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ConstantFromEntry(c.entry, c.decSep), c.expected) << c.entry << " " << c.decSep;
    }
}

TEST(UserConstantDialog, OpensWithTheStoredConstant)
{
    for (char decSep : kSeparators) {
        EXPECT_EQ(UserConstantFieldText(1.5, decSep), Localized("1.5", decSep));
        EXPECT_EQ(UserConstantFieldText(-1, decSep), "");
        EXPECT_EQ(UserConstantFieldText(0, decSep), "");
    }
}

TEST(UserConstantDialog, ValidatesTheFieldText)
{
    enum class Outcome
    {
        Store,
        Zero,
        NotANumber
    };
    struct Case
    {
        const char *text; // written with '.'
        Outcome outcome;
        double value; // stored on Store
    };
    const Case cases[] = {
        {"", Outcome::Store, -1}, // removes the constant
        {"1.5", Outcome::Store, 1.5},      {"2E-3", Outcome::Store, 0.002},
        {"1e308", Outcome::Store, 1e308},  {"-2", Outcome::Store, -1}, // negative: removed as well
        {"0", Outcome::Zero, 0},           {"0.000", Outcome::Zero, 0},
        {"1E5e3", Outcome::NotANumber, 0}, {"1.5.2", Outcome::NotANumber, 0},
        {"1e999", Outcome::NotANumber, 0}, // beyond a double
        {"nan", Outcome::NotANumber, 0},
    };
    for (char decSep : kSeparators) {
        for (const Case &c : cases) {
            const std::string text = Localized(c.text, decSep);
            const UserConstantInput input = ParseUserConstant(text, decSep);
            switch (c.outcome) {
            case Outcome::Store:
                EXPECT_EQ(input.kind, UserConstantInput::Kind::Store) << text;
                EXPECT_EQ(input.value, c.value) << text;
                break;
            case Outcome::Zero:
                EXPECT_EQ(input.kind, UserConstantInput::Kind::Refused) << text;
                EXPECT_EQ(input.message, "User constant must be greater than zero.") << text;
                break;
            case Outcome::NotANumber:
                EXPECT_EQ(input.kind, UserConstantInput::Kind::Refused) << text;
                EXPECT_EQ(input.message, "'" + text + "' is not a valid floating point value");
                break;
            }
        }
    }
    // A point is not the separator under a decimal comma.
    EXPECT_EQ(ParseUserConstant("1.5", ',').message, "'1.5' is not a valid floating point value");
}
