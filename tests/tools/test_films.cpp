// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cp1252.h"
#include "tools/datadirs.h"
#include "tools/exposure.h"
#include "tools/films.h"
#include "tools/filmsource.h"

#include "tests/support/filmrecord.h"
#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace tools;
namespace fs = std::filesystem;
using testsupport::FilmRecord;
using testsupport::ReadFile;

namespace {

class FilmDatabaseFile : public testsupport::ScratchDirTest
{
protected:
    std::string Write(const std::string &name, const std::string &bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
};

} // namespace

TEST_F(FilmDatabaseFile, LoadsRecordsAndJudgesTheFileLength)
{
    const std::string version = FilmRecord("2026.12");
    const std::string film1 = FilmRecord("Film A", "+1", 1, 100);
    const std::string film2 = FilmRecord("Film B", "+2", 2, 200);
    struct Case
    {
        const char *name;
        std::optional<std::string> bytes; // nullopt: no file
        FilmDatabaseStatus status;
        std::size_t films;
    };
    const Case cases[] = {
        {"only the version record", version, FilmDatabaseStatus::Ok, 0},
        {"three records and 100 bytes", version + film1 + film2 + std::string(100, 'z'),
         FilmDatabaseStatus::Ok, 2},
        {"one record less one byte", version.substr(0, 527), FilmDatabaseStatus::Damaged, 0},
        {"empty file", "", FilmDatabaseStatus::Damaged, 0},
        {"no file", std::nullopt, FilmDatabaseStatus::Missing, 0},
    };
    for (const Case &c : cases) {
        const std::string path = c.bytes ? Write(c.name, *c.bytes) : (dir_ / c.name).string();
        const FilmDatabase db = LoadFilmDatabase(path);
        EXPECT_EQ(db.Status, c.status) << c.name;
        EXPECT_EQ(db.Films.size(), c.films) << c.name;
        EXPECT_EQ(db.FilmDBVersion, c.status == FilmDatabaseStatus::Ok ? "2026.12" : "") << c.name;
        if (c.bytes) {
            // The bytes alone, as the web page has them, read alike.
            const FilmDatabase parsed = ParseFilmDatabase(*c.bytes);
            EXPECT_EQ(parsed.Status, c.status) << c.name;
            EXPECT_EQ(parsed.Films.size(), c.films) << c.name;
        }
    }
    // A folder where the file should be cannot be read.
    fs::create_directories(dir_ / "films.dat");
    EXPECT_EQ(LoadFilmDatabase((dir_ / "films.dat").string()).Status, FilmDatabaseStatus::Damaged);
}

TEST_F(FilmDatabaseFile, ReadsTheFieldsOfARecord)
{
    // MinTime written out byte by byte: 0.5 is 3F E0 00 .. 00, stored lowest byte first.
    std::string film = FilmRecord(std::string("Fil\xE9", 4), "+0,5-1.25", 0, 7200);
    const char half[] = {0, 0, 0, 0, 0, 0, '\xE0', '\x3F'};
    film.replace(512, 8, half, 8);
    const std::string longName(255, 'N');
    const std::string full = FilmRecord(longName, std::string(255, '9'), 1, 2);
    const FilmDatabase db =
        LoadFilmDatabase(Write("films.dat", FilmRecord(std::string("\xC4 1", 3)) + film + full));

    ASSERT_EQ(db.Status, FilmDatabaseStatus::Ok);
    EXPECT_EQ(db.FilmDBVersion, "\u00C4 1"); // shown text: converted from Windows-1252
    ASSERT_EQ(db.Films.size(), 2u);
    EXPECT_EQ(db.Films[0].Name, std::string("Fil\xE9", 4)); // names stay bytes of the file
    EXPECT_EQ(db.Films[0].Formula, "+0,5-1.25");
    EXPECT_EQ(db.Films[0].MinTime, 0.5);
    EXPECT_EQ(db.Films[0].MaxTime, 7200.0);
    EXPECT_EQ(db.Films[1].Name, longName);
    EXPECT_EQ(db.Films[1].Formula.size(), 255u);
}

TEST_F(FilmDatabaseFile, DuplicateNamesFindTheFirstFilm)
{
    const FilmDatabase db = LoadFilmDatabase(
        Write("films.dat", FilmRecord("v") + FilmRecord("Twin", "+1") + FilmRecord("Other", "+2") +
                               FilmRecord("Twin", "+3")));
    ASSERT_EQ(db.Films.size(), 3u);
    const TFilmRecord *film = FindSelectedFilm(db.Films, "Twin");
    ASSERT_NE(film, nullptr);
    EXPECT_EQ(film, &db.Films[0]);
    EXPECT_EQ(FindSelectedFilm(db.Films, "twin"), nullptr); // case-sensitive
    EXPECT_EQ(FindSelectedFilm(db.Films, "Twin "), nullptr);
    EXPECT_EQ(FindSelectedFilm({}, "Twin"), nullptr);
}

TEST_F(FilmDatabaseFile, LooksBesideTheProgramFirstThenInShare)
{
    const std::string share(InstalledDataDirFromBin());
    const std::vector<std::string> expected = {"/opt/l/bin/films.dat",
                                               "/opt/l/bin/" + share + "/films.dat"};
    EXPECT_EQ(FilmDatabasePaths("/opt/l/bin/"), expected);
    EXPECT_EQ(FilmDatabasePaths("/opt/l/bin"), expected);

    fs::create_directories(dir_ / "bin");
    const auto paths = FilmDatabasePaths((dir_ / "bin").string());
    fs::create_directories(fs::path(paths[1]).parent_path());
    EXPECT_EQ(LoadFirstFilmDatabase(paths).Status, FilmDatabaseStatus::Missing);

    std::ofstream(paths[1], std::ios::binary) << FilmRecord("shared");
    EXPECT_EQ(LoadFirstFilmDatabase(paths).FilmDBVersion, "shared");

    // A damaged file beside the program is reported, not passed over.
    std::ofstream(paths[0], std::ios::binary) << "short";
    EXPECT_EQ(LoadFirstFilmDatabase(paths).Status, FilmDatabaseStatus::Damaged);
    std::ofstream(paths[0], std::ios::binary) << FilmRecord("beside");
    EXPECT_EQ(LoadFirstFilmDatabase(paths).FilmDBVersion, "beside");
}

TEST(FilmFormula, ReadsBothDecimalMarksAndRefusesBrokenFormulas)
{
    using Coeffs = std::vector<double>;
    struct Case
    {
        const char *formula;
        std::optional<Coeffs> expected; // nullopt: broken
    };
    const Case cases[] = {
        {"+2,5", Coeffs{2.5}},
        {"+2.5", Coeffs{2.5}},
        {"+1-0.5+0.25", Coeffs{1, -0.5, 0.25}},
        {"+1,5-2.25", Coeffs{1.5, -2.25}},
        {"-0.000000001+1", Coeffs{-1e-9, 1}},
        {"+.5+5.", Coeffs{0.5, 5}},
        {"", Coeffs{}},
        {"2.5", std::nullopt},     // no leading sign
        {"+1 -2", std::nullopt},   // blank
        {" +1", std::nullopt},     // blank
        {"+1.5E-3", std::nullopt}, // exponent notation
        {"+1.5e3", std::nullopt},  // exponent notation without a sign
        {"+1x", std::nullopt},     // letter
        {"+inf", std::nullopt},    // letters
        {"+", std::nullopt},       // sign without digits
        {"+1-", std::nullopt},     // sign without digits at the end
        {"++1", std::nullopt},     // sign without digits
        {"+.", std::nullopt},      // mark without digits
        {"+1.2.3", std::nullopt},  // two marks
        {"+1,2.3", std::nullopt},  // two marks of both kinds
        {"+1\xA0", std::nullopt},  // no-break space (Windows-1252)
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseFilmFormula(c.formula), c.expected) << '"' << c.formula << '"';
}

TEST(FilmFormula, EvaluatesTermsInOrderOfPower)
{
    EXPECT_EQ(EvaluatePolynomial({1, -0.5, 0.25}, 2), 1.0); // 1 - 1 + 1
    EXPECT_EQ(EvaluatePolynomial({}, 5), 0.0);
    EXPECT_EQ(EvaluatePolynomial({0, 0, 0, 1}, 10), 1000.0);
    // Ascending order: (0 + 1) + 1e16 rounds back to 1e16, and - 1e16 leaves 0; summing from
    // the highest power would give 1.
    EXPECT_EQ(EvaluatePolynomial({1, 1e16, -1e16}, 1), 0.0);
}

TEST(FilmSource, RefusesBrokenSourcesNamingTheLine)
{
    const std::string head = "version 1\nfilm F\nsource s\n";
    struct Case
    {
        const char *name;
        std::string text;
        const char *line; // start of the message
    };
    const Case cases[] = {
        {"no version", "film F\nsource s\npower 1.3\nrange 1 2\n", "line 4"},
        {"unknown keyword", head + "speed 1\n", "line 4"},
        {"power and points", head + "power 1.3\nat 1 +1 stop\nrange 1 1\n", "line 2"},
        {"range beyond the points", head + "at 1 +1 stop\nat 2 3 s\nrange 1 3\n", "line 2"},
        {"falling points", head + "at 2 +1 stop\nat 1 3 s\n", "line 5"},
        {"no range", head + "power 1.3\n", "line 2"},
        {"film twice", head + "power 1\nrange 1 2\nfilm F\n", "line 6"},
    };
    for (const Case &c : cases) {
        FilmSourceFile out;
        std::string error;
        EXPECT_FALSE(ParseFilmSource(c.text, out, error)) << c.name;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.name << ": " << error;
    }
}

// The database the build made from resources/films/films.txt, read back as the program reads
// it, against the makers' models in the source.
class BuiltFilmDatabase : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        db_ = LoadFilmDatabase(LUMIDRA_FILMS_DAT);
        std::string error;
        sourceOk_ = ParseFilmSource(ReadFile(LUMIDRA_FILMS_SOURCE), source_, error);
        sourceError_ = error;
    }

    void SetUp() override
    {
        ASSERT_EQ(db_.Status, FilmDatabaseStatus::Ok) << LUMIDRA_FILMS_DAT;
        ASSERT_TRUE(sourceOk_) << sourceError_;
        ASSERT_EQ(db_.Films.size(), source_.Films.size());
    }

    // What the program corrects with: the entry read back from its formula text.
    static FilmModel Model(const TFilmRecord &film)
    {
        const auto coeffs = ParseFilmFormula(film.Formula);
        EXPECT_TRUE(coeffs) << film.Name << ": " << film.Formula;
        return MakeFilmModel(coeffs.value_or(std::vector<double>{}), film.MinTime, film.MaxTime);
    }

    const TFilmRecord &Film(const std::string &utf8Name)
    {
        const TFilmRecord *film = FindSelectedFilm(db_.Films, Utf8ToCp1252(utf8Name));
        EXPECT_NE(film, nullptr) << utf8Name;
        static const TFilmRecord none;
        return film ? *film : none;
    }

    static inline FilmDatabase db_;
    static inline FilmSourceFile source_;
    static inline bool sourceOk_ = false;
    static inline std::string sourceError_;
};

TEST_F(BuiltFilmDatabase, HoldsTheFilmsOfTheSourceInOrder)
{
    EXPECT_EQ(db_.FilmDBVersion, source_.Version);
    for (std::size_t i = 0; i < db_.Films.size(); ++i) {
        const TFilmRecord &film = db_.Films[i];
        const FilmSource &src = source_.Films[i];
        EXPECT_EQ(Cp1252ToUtf8(film.Name), src.Name);
        EXPECT_LT(film.Name.size(), 255u) << src.Name;
        EXPECT_EQ(film.MinTime, src.Model.MinTime) << src.Name;
        EXPECT_EQ(film.MaxTime, src.Model.MaxTime) << src.Name;
        EXPECT_LE(film.MinTime, film.MaxTime) << src.Name;
    }
}

TEST_F(BuiltFilmDatabase, EveryEntryRisesNeverShortensAndStaysWithinFivePercentOfItsMaker)
{
    for (std::size_t i = 0; i < db_.Films.size(); ++i) {
        const TFilmRecord &film = db_.Films[i];
        const FilmSource &src = source_.Films[i];
        const auto coeffs = ParseFilmFormula(film.Formula);
        ASSERT_TRUE(coeffs) << src.Name << ": " << film.Formula;
        // Spread evenly over the stops of the range, both ends and the published points.
        std::vector<double> times;
        for (int j = 0; j <= 2000; ++j)
            times.push_back(film.MinTime * std::pow(film.MaxTime / film.MinTime, j / 2000.0));
        times.push_back(film.MaxTime);
        for (const FilmPoint &p : src.Model.Points)
            times.push_back(p.Metered);
        std::sort(times.begin(), times.end());
        double worst = 0;
        double previous = 0;
        for (double t : times) {
            const double model = ModelTime(src.Model, t);
            const double p = EvaluatePolynomial(*coeffs, t);
            worst = std::max(worst, std::abs(p - model) / model);
            // A longer metered time never asks for a shorter exposure, and reciprocity failure
            // never shortens one.
            EXPECT_GE(p, previous) << src.Name << " at " << t << " s";
            EXPECT_GE(p, t) << src.Name << " at " << t << " s";
            previous = p;
        }
        EXPECT_LE(worst, 0.05) << src.Name;
    }
}

TEST_F(BuiltFilmDatabase, MatchesTheMakersPublishedFigures)
{
    // Metered and corrected times as the makers print them, met within 2 %.
    struct Case
    {
        const char *film;
        double metered;
        double corrected;
    };
    const Case cases[] = {
        {"Ilford HP5 Plus", 10, 20.4}, // the worked example of Ilford's sheet
        {"Kodak T-MAX 100", 0.1, 0.1},
        {"Kodak T-MAX 100", 1, 1.26}, // +1/3 stop
        {"Kodak T-MAX 100", 10, 15},
        {"Kodak T-MAX 100", 100, 200},
        {"Kodak T-MAX 400", 10, 15},
        {"Kodak T-MAX 400", 100, 300},
        {"Fujifilm Velvia 50", 4, 5.04},                // +1/3 stop
        {"Fujifilm Velvia 50", 16, 25.4},               // +2/3 stop
        {"Fujifilm Velvia 50", 32, 64},                 // +1 stop
        {"Fujifilm Neopan 100 Acros II", 1000, 1414.2}, // +1/2 stop
        {"Fujifilm Velvia 100", 60, 60},
    };
    for (const Case &c : cases) {
        const FilmModel model = Model(Film(c.film));
        EXPECT_NEAR(CorrectedTime(model, c.metered), c.corrected, 0.02 * c.corrected)
            << c.film << " at " << c.metered << " s";
    }
}

// Past its range the program carries each entry on at its slope over the top two stops of the
// range: the maker's own slope there (a power law's exponent) within 0.02, so that the times
// of a power law stay within 15 % of it up to 20000 s metered.
TEST_F(BuiltFilmDatabase, IsCarriedOnAtTheMakersSlope)
{
    for (std::size_t i = 0; i < db_.Films.size(); ++i) {
        const FilmSource &src = source_.Films[i];
        const FilmModel model = Model(db_.Films[i]);
        const double makers = src.Model.Power > 0 ? src.Model.Power : ModelSlope(src.Model);
        EXPECT_NEAR(model.Slope, makers, 0.02) << src.Name;
        for (double t = model.MaxTime * 1.01; src.Model.Power > 0 && t <= 20000; t *= 1.1)
            EXPECT_NEAR(CorrectedTime(model, t) / std::pow(t, src.Model.Power), 1, 0.15)
                << src.Name << " at " << t << " s";
    }
}

// The exact table of every film with a power law, at the f numbers of pinhole cameras: times
// that never fall, none out of reach before ten thousand hours, each row within 15 % of the law
// (5 % within the maker's data), marked from the first metered time beyond the data.
TEST_F(BuiltFilmDatabase, PowerLawTablesAtLongExposures)
{
    for (std::size_t i = 0; i < db_.Films.size(); ++i) {
        const TFilmRecord &film = db_.Films[i];
        const FilmSource &src = source_.Films[i];
        if (src.Model.Power <= 0)
            continue;
        for (double n : {150.0, 250.0, 500.0}) {
            const ExposureResult r = ComputeExposureTimes(n, &film);
            const std::string where = src.Name + " at f " + std::to_string(int(n));
            int firstBeyond = 0;
            double previous = 0;
            for (int row = 1; row <= kExposureRows; ++row) {
                const double metered = (n / 22) * (n / 22) * ExposureBaseTimes[row - 1];
                const double law =
                    metered >= film.MinTime ? std::pow(metered, src.Model.Power) : metered;
                const double t = r.Times[row - 1];
                if (metered > film.MaxTime && firstBeyond == 0)
                    firstBeyond = row;
                EXPECT_GE(t, previous) << where << ", row " << row;
                EXPECT_NEAR(t / law, 1, firstBeyond ? 0.15 : 0.05) << where << ", row " << row;
                if (law < 36e6) {
                    EXPECT_NE(FormatExposureTime(0, t, '.'), "-") << where << ", row " << row;
                }
                previous = t;
            }
            EXPECT_EQ(r.FirstOutOfRangeRow, firstBeyond) << where;
        }
    }
    // HP5 Plus at f 250: metered 4 s (516 s) lie within Ilford's chart, 8 s (1033 s) beyond.
    EXPECT_EQ(ComputeExposureTimes(250, &Film("Ilford HP5 Plus")).FirstOutOfRangeRow, 14);
}
