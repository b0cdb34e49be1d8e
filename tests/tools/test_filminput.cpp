// SPDX-License-Identifier: GPL-3.0-or-later
// A film's reciprocity data as typed (tools/filminput.h): what is read from it, what is refused
// and the name checks of the film list.
#include "tools/filminput.h"
#include "tools/filmsource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

using namespace tools;

namespace {

FilmInput PowerLaw(std::string power, std::string from = "", std::string min = "",
                   std::string max = "")
{
    FilmInput input;
    input.PowerLaw = true;
    input.Power = std::move(power);
    input.From = std::move(from);
    input.RangeMin = std::move(min);
    input.RangeMax = std::move(max);
    return input;
}

FilmInput Pairs(std::vector<FilmPairInput> pairs, std::string min = "", std::string max = "")
{
    FilmInput input;
    input.PowerLaw = false;
    input.Pairs = std::move(pairs);
    input.RangeMin = std::move(min);
    input.RangeMax = std::move(max);
    return input;
}

} // namespace

TEST(FilmInput, ReadsTheModelOrNamesTheFault)
{
    using F = FilmInputFault;
    struct Case
    {
        const char *name;
        FilmInput input;
        F fault;
        int pair;
        double minTime = 0; // when read
        double maxTime = 0;
        std::vector<FilmPoint> points = {};
    };
    // 2^(1/3) = 1.259921, 2^(1/2) = 1.414214.
    const Case cases[] = {
        {"power law from 1 s over three decades", PowerLaw("1.31"), F::None, 0, 1, 1000, {}},
        {"power law from 1/2 s", PowerLaw("1.5", "1/2"), F::None, 0, 0.5, 500, {}},
        {"narrowed", PowerLaw("1.3", "", "2", "100"), F::None, 0, 2, 100, {}},
        {"power law from 100 s ends at 10000 s", PowerLaw("2.5", "100"), F::None, 0, 100, 1e4},
        {"power law from 1000 s spans a decade", PowerLaw("2.5", "1000"), F::None, 0, 1e3, 1e4},
        {"one end narrowed", PowerLaw("1.3", "10", "", "600"), F::None, 0, 10, 600, {}},
        {"P 1 and 3 are the ends", PowerLaw("3"), F::None, 0, 1, 1000, {}},
        {"P below 1", PowerLaw("0.99"), F::PowerOutOfRange, 0},
        {"P above 3", PowerLaw("3.01"), F::PowerOutOfRange, 0},
        {"P with a comma", PowerLaw("1,3"), F::PowerOutOfRange, 0},
        {"P empty", PowerLaw(""), F::PowerOutOfRange, 0},
        {"T0 zero", PowerLaw("1.3", "0"), F::FromOutOfRange, 0},
        {"T0 above 1000 s", PowerLaw("1.3", "1001"), F::FromOutOfRange, 0},
        {"range beyond the law's three decades", PowerLaw("1.3", "", "1", "1001"),
         F::RangeBeyondData, 0},
        {"range below T0", PowerLaw("1.3", "2", "1"), F::RangeBeyondData, 0},
        {"range reversed", PowerLaw("1.3", "", "100", "10"), F::RangeNotNumber, 0},
        {"range of letters", PowerLaw("1.3", "", "a"), F::RangeNotNumber, 0},
        {"pairs in seconds and stops, empty rows passed over",
         Pairs({{"1", "2"}, {"", ""}, {"10", "+1/3"}, {"100", "+1/2"}}),
         F::None,
         0,
         1,
         100,
         {{1, 2}, {10, 12.59921}, {100, 141.4214}}},
        {"no correction up to 60 s", Pairs({{"60", "+0"}}), F::None, 0, 60, 60, {{60, 60}}},
        {"pairs narrowed",
         Pairs({{"1", "2"}, {"10", "50"}, {"100", "1200"}}, "5", "50"),
         F::None,
         0,
         5,
         50,
         {{1, 2}, {10, 50}, {100, 1200}}},
        {"no pairs", Pairs({{"", ""}}), F::NoPairs, 0},
        {"13 pairs", Pairs(std::vector<FilmPairInput>(13, {"1", "2"})), F::TooManyPairs, 13},
        {"needed missing", Pairs({{"1", "2"}, {"10", ""}}), F::PairIncomplete, 2},
        {"metered zero", Pairs({{"0", "2"}}), F::MeteredNotNumber, 1},
        {"metered negative", Pairs({{"-1", "2"}}), F::MeteredNotNumber, 1},
        {"needed a word", Pairs({{"1", "two"}}), F::NeededNotNumber, 1},
        {"stops negative", Pairs({{"1", "+-1"}}), F::NeededNotNumber, 1},
        {"metered equal", Pairs({{"10", "20"}, {"10", "30"}}), F::MeteredNotRising, 2},
        {"metered falling", Pairs({{"10", "50"}, {"1", "2"}}), F::MeteredNotRising, 2},
        {"needed shorter", Pairs({{"10", "9.9"}}), F::NeededShorter, 1},
        {"needed falling", Pairs({{"1", "100"}, {"10", "20"}}), F::NeededFalling, 2},
        {"range beyond the pairs", Pairs({{"1", "2"}, {"10", "50"}}, "", "11"), F::RangeBeyondData,
         0},
    };
    for (const Case &c : cases) {
        const FilmInputCheck check = ReadFilmInput(c.input);
        EXPECT_EQ(check.Fault, c.fault) << c.name;
        EXPECT_EQ(check.Pair, c.pair) << c.name;
        if (c.fault != F::None || check.Fault != F::None)
            continue;
        EXPECT_DOUBLE_EQ(check.Model.MinTime, c.minTime) << c.name;
        EXPECT_DOUBLE_EQ(check.Model.MaxTime, c.maxTime) << c.name;
        ASSERT_EQ(check.Model.Points.size(), c.points.size()) << c.name;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_DOUBLE_EQ(check.Model.Points[i].Metered, c.points[i].Metered) << c.name;
            EXPECT_NEAR(check.Model.Points[i].Corrected, c.points[i].Corrected, 1e-4) << c.name;
        }
    }
}

TEST(FilmInput, FaultTextsNameThePairAndTheDataRange)
{
    FilmInputCheck check = ReadFilmInput(Pairs({{"1", "30"}, {"10", "20"}}));
    EXPECT_EQ(FilmInputFaultText(check, '.'),
              "Pair 2: the time needed is shorter than that of the pair before.");
    check = ReadFilmInput(PowerLaw("1.3", "0.5", "", "600"));
    EXPECT_EQ(FilmInputFaultText(check, ','),
              "The range may only narrow the data's own, from 0,5 s to 500 s.");
}

TEST(FilmInput, ModelFollowsAPowerLawBetweenPairs)
{
    struct Case
    {
        const char *name;
        FilmInput input;
        double metered;
        double corrected;
    };
    const Case cases[] = {
        // Tc = 2 (Tm / 2)^1.5: 8 s need 2 * 4^1.5 = 16 s.
        {"power law from T0", PowerLaw("1.5", "2"), 8, 16},
        {"power law at T0", PowerLaw("1.5", "2"), 2, 2},
        // Halfway in stops from 1 s (2 s) to 100 s (1200 s): 10 s need sqrt(2 * 1200).
        {"between two pairs", Pairs({{"1", "2"}, {"100", "1200"}}), 10, std::sqrt(2400.0)},
        {"a single pair is a factor", Pairs({{"10", "+1"}}), 10, 20},
    };
    for (const Case &c : cases) {
        const FilmInputCheck check = ReadFilmInput(c.input);
        ASSERT_EQ(check.Fault, FilmInputFault::None) << c.name;
        EXPECT_NEAR(ModelTime(check.Model, c.metered), c.corrected, 1e-9 * c.corrected) << c.name;
    }
}

TEST(FilmInput, PairListsAndNumbers)
{
    struct ListCase
    {
        const char *text;
        std::optional<std::vector<FilmPairInput>> pairs;
    };
    const ListCase lists[] = {
        {"1:2,10:50,100:1200",
         std::vector<FilmPairInput>{{"1", "2"}, {"10", "50"}, {"100", "1200"}}},
        {"10:+1, 100 : +2", std::vector<FilmPairInput>{{"10", "+1"}, {"100", "+2"}}},
        {"1:2,", std::nullopt},
        {"1:2,,3:4", std::nullopt},
        {"12", std::nullopt},
        {":2", std::nullopt},
        {"", std::nullopt},
    };
    for (const ListCase &c : lists)
        EXPECT_EQ(ParseFilmPairList(c.text), c.pairs) << c.text;

    struct NumberCase
    {
        const char *text;
        std::optional<double> value;
    };
    const NumberCase numbers[] = {
        {"1.5", 1.5},          {"2/3", 2.0 / 3},      {"1/0", std::nullopt}, {"+1", std::nullopt},
        {"1e3", std::nullopt}, {"1,5", std::nullopt}, {"", std::nullopt},    {"/2", std::nullopt},
    };
    for (const NumberCase &c : numbers)
        EXPECT_EQ(ReadFilmNumber(c.text), c.value) << c.text;
}

TEST(FilmInput, NamesTheFilmListCanHold)
{
    using F = FilmNameFault;
    const std::vector<std::string> taken = {"Ilford HP5 Plus", "Caf\xE9"}; // Windows-1252
    struct Case
    {
        std::string name; // UTF-8
        F fault;
    };
    const Case cases[] = {
        {"Kodak Tri-X 400 (own test)", F::None},
        {"Fomapan 100 \xE2\x82\xAC", F::None}, // the euro sign is byte 0x80
        {"", F::Empty},
        {std::string(255, 'x'), F::None},
        {std::string(256, 'x'), F::TooLong},
        {"Fomapan \xC4\x80", F::NotWritable}, // U+0100
        {"Tri-X\t400", F::Control},
        {"Tri-X \xC2\x81", F::Control}, // U+0081, a C1 control Windows-1252 keeps
        {"Ilford HP5 Plus", F::Taken},
        {"Caf\xC3\xA9", F::Taken},    // the same name in UTF-8
        {"ilford HP5 Plus", F::None}, // the list compares byte for byte
    };
    for (const Case &c : cases)
        EXPECT_EQ(CheckFilmName(c.name, taken), c.fault) << c.name;
    EXPECT_EQ(TrimFilmName("  Tri-X  "), "Tri-X");
    EXPECT_EQ(FilmNameFaultText(F::Taken, "Ilford HP5 Plus"),
              "A film named 'Ilford HP5 Plus' exists already.");
}

// What the films.txt lines of a typed film read back as.
TEST(FilmInput, SourceLinesReadBackAsTyped)
{
    FilmInput trix = Pairs({{"1", "2"}, {"", ""}, {"10", "+1/3"}, {"100", "1200"}}, "", "50");
    trix.Name = "Kodak Tri-X 400 (own test)";
    FilmInput hp5 = PowerLaw("1.31", "0.5");
    hp5.Name = "Own HP5";
    const std::string text = "version 1\n" + FilmSourceLines(trix) + "\n" + FilmSourceLines(hp5);
    EXPECT_EQ(text, "version 1\n"
                    "film Kodak Tri-X 400 (own test)\nat 1 2 s\nat 10 +1/3 stop\nat 100 1200 s\n"
                    "range - 50\n\n"
                    "film Own HP5\npower 1.31\nfrom 0.5\n");
    FilmSourceFile file;
    std::string error;
    ASSERT_TRUE(ParseFilmSource(text, file, error, FilmSourceRules::OwnFilms)) << error;
    ASSERT_EQ(file.Films.size(), 2u);
    trix.Pairs.erase(trix.Pairs.begin() + 1); // the empty row is not kept
    EXPECT_EQ(file.Films[0].Input, trix);
    EXPECT_EQ(file.Films[1].Input, hp5);
    EXPECT_DOUBLE_EQ(file.Films[0].Model.MaxTime, 50);
    // The makers' source names its sources and sets every range.
    EXPECT_FALSE(ParseFilmSource(text, file, error, FilmSourceRules::Makers));
}
