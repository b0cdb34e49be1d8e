// SPDX-License-Identifier: GPL-3.0-or-later
// The films a user enters, kept beside the settings (tools/ownfilms.h): written and read back,
// a damaged file left alone until the next save keeps it aside, and a failed save that leaves
// both files as they were.
#ifndef _WIN32

#include "tools/ownfilms.h"

#include "tests/support/filmrecord.h"
#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace tools;
namespace fs = std::filesystem;
using testsupport::ReadFile;

namespace {

OwnFilm Film(const char *name, const char *formula, double minTime, double maxTime,
             std::optional<FilmInput> input)
{
    if (input)
        input->Name = name;
    return {{name, formula, minTime, maxTime}, input};
}

FilmInput TriX()
{
    FilmInput input;
    input.PowerLaw = false;
    input.Pairs = {{"1", "2"}, {"10", "+1/3"}, {"100", "1200"}};
    return input;
}

// Two films as a save writes them: one typed as pairs with a narrowed range, one without its
// typed form (a films.txt lost since), whose name is byte 0xE9 in Windows-1252.
std::vector<OwnFilm> TwoFilms()
{
    FilmInput trix = TriX();
    trix.RangeMax = "50";
    return {Film("Tri-X (own test)", "+0+2", 1, 50, trix),
            Film("Caf\xE9 100", "-0.5+1.5", 2, 200, std::nullopt)};
}

class OwnFilmsFiles : public testsupport::ScratchDirTest
{
protected:
    std::string Folder() const { return (dir_ / "Lumidra").string(); }
    fs::path Dat() const { return dir_ / "Lumidra" / "films.dat"; }
    fs::path Text() const { return dir_ / "Lumidra" / "films.txt"; }

    static void Write(const fs::path &path, const std::string &bytes)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

} // namespace

TEST_F(OwnFilmsFiles, ReadBackAsWritten)
{
    EXPECT_TRUE(LoadOwnFilms(Folder()).Films.empty()); // nothing saved yet
    const std::vector<OwnFilm> films = TwoFilms();
    std::string error;
    ASSERT_TRUE(SaveOwnFilms(Folder(), films, &error)) << error;

    const std::string dat = ReadFile(Dat());
    ASSERT_EQ(dat.size(), 3 * kFilmRecordSize);
    EXPECT_EQ(OwnFilmsBytes(films).Dat, dat);
    EXPECT_EQ(OwnFilmsBytes(films).Text, ReadFile(Text()));
    EXPECT_EQ(dat.substr(0, kFilmRecordSize).substr(1, dat[0]), kOwnFilmsVersion);
    EXPECT_EQ(ReadFile(Text()).substr(ReadFile(Text()).find("version")),
              "version Lumidra own films 1\n\n"
              "film Tri-X (own test)\nat 1 2 s\nat 10 +1/3 stop\nat 100 1200 s\nrange - 50\n");

    const OwnFilms loaded = LoadOwnFilms(Folder());
    EXPECT_TRUE(loaded.DamagedFile.empty());
    ASSERT_EQ(loaded.Films.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.Films[i].Record.Name, films[i].Record.Name);
        EXPECT_EQ(loaded.Films[i].Record.Formula, films[i].Record.Formula);
        EXPECT_EQ(loaded.Films[i].Record.MinTime, films[i].Record.MinTime);
        EXPECT_EQ(loaded.Films[i].Record.MaxTime, films[i].Record.MaxTime);
        EXPECT_EQ(loaded.Films[i].Input, films[i].Input);
    }

    // Removing every film leaves files that read as no films.
    ASSERT_TRUE(SaveOwnFilms(Folder(), {}, &error)) << error;
    const OwnFilms none = LoadOwnFilms(Folder());
    EXPECT_TRUE(none.Films.empty());
    EXPECT_TRUE(none.DamagedFile.empty());
}

// Kept beside the settings file, wherever LUMIDRA_SETTINGS puts it.
TEST_F(OwnFilmsFiles, LiveBesideTheSettings)
{
    const char *before = std::getenv("LUMIDRA_SETTINGS");
    const std::string saved = before ? before : "";
    setenv("LUMIDRA_SETTINGS", (dir_ / "stick" / "my.reg").c_str(), 1);
    EXPECT_EQ(OwnFilmsFolder(), (dir_ / "stick").string());
    if (before)
        setenv("LUMIDRA_SETTINGS", saved.c_str(), 1);
    else
        unsetenv("LUMIDRA_SETTINGS");
}

TEST_F(OwnFilmsFiles, DamagedFileIsReportedLeftAloneAndKeptAsideOnTheNextSave)
{
    using testsupport::FilmRecord;
    const std::string version = FilmRecord(kOwnFilmsVersion);
    const std::string good = FilmRecord("Tri-X", "+0+2", 1, 100);
    struct Case
    {
        const char *name;
        const char *file; // "films.dat" or "films.txt"
        std::string bytes;
        std::size_t filmsLeft; // the good film of an intact films.dat stays usable
    };
    const std::string intactText = "version Lumidra own films 1\nfilm Tri-X\nat 1 2 s\n";
    const Case cases[] = {
        {"cut short", "films.dat", version + good.substr(0, 300), 0},
        {"shorter than a record", "films.dat", version.substr(0, 100), 0},
        {"another database", "films.dat", FilmRecord("2026.12.1") + good, 0},
        {"broken formula", "films.dat", version + FilmRecord("Tri-X", "+2,5E3", 1, 100), 0},
        {"no range", "films.dat", version + FilmRecord("Tri-X", "+0+2", 0, 0), 0},
        {"name twice", "films.dat", version + good + good, 0},
        {"a folder in its place", "films.dat", "", 0},
        {"typed films unreadable", "films.txt", "version Lumidra own films 1\nfilm X\nat 1 s\n", 1},
        {"typed films of another kind", "films.txt", "version 2\nfilm Tri-X\nat 1 2 s\n", 1},
    };
    for (const Case &c : cases) {
        fs::remove_all(Folder());
        const fs::path damaged = dir_ / "Lumidra" / c.file;
        const bool dat = damaged == Dat();
        Write(dat ? Text() : Dat(), dat ? intactText : version + good);
        if (c.bytes.empty())
            fs::create_directories(damaged);
        else
            Write(damaged, c.bytes);

        const OwnFilms loaded = LoadOwnFilms(Folder());
        EXPECT_EQ(loaded.DamagedFile, damaged.string()) << c.name;
        EXPECT_EQ(loaded.Films.size(), c.filmsLeft) << c.name;
        if (!c.bytes.empty()) {
            EXPECT_EQ(ReadFile(damaged), c.bytes) << c.name << ": left as it was";
        }

        std::string error;
        ASSERT_TRUE(SaveOwnFilms(Folder(), TwoFilms(), &error)) << c.name << ": " << error;
        if (!c.bytes.empty())
            EXPECT_EQ(ReadFile(OwnFilmsBackupPath(damaged.string())), c.bytes) << c.name;
        else
            EXPECT_TRUE(fs::is_directory(OwnFilmsBackupPath(damaged.string()))) << c.name;
        const OwnFilms after = LoadOwnFilms(Folder());
        EXPECT_TRUE(after.DamagedFile.empty()) << c.name;
        EXPECT_EQ(after.Films.size(), 2u) << c.name;
    }
}

// A save that cannot be completed leaves both files as they were, and no temporary file.
TEST_F(OwnFilmsFiles, FailedSaveLeavesTheFilesAsTheyWere)
{
    struct Case
    {
        const char *name;
        rlim_t sizeLimit; // 0: none
        bool folderIsFile;
    };
    const Case cases[] = {
        {"the disk takes nothing", 16, false},
        // films.txt (some 300 bytes) is written, films.dat (1584 bytes) is refused: films.txt
        // is put back.
        {"the disk takes films.txt only", 1000, false},
        {"the folder is a file", 0, true},
    };
    for (const Case &c : cases) {
        fs::remove_all(dir_ / "Lumidra");
        std::string error;
        if (c.folderIsFile) {
            Write(dir_ / "Lumidra", "a file where the folder should be");
        } else {
            ASSERT_TRUE(SaveOwnFilms(Folder(), {TwoFilms()[1]}, &error)) << error;
        }
        const std::string datBefore = ReadFile(Dat());
        const std::string textBefore = ReadFile(Text());
        {
            std::optional<testsupport::FileSizeLimit> limit;
            if (c.sizeLimit)
                limit.emplace(c.sizeLimit);
            EXPECT_FALSE(SaveOwnFilms(Folder(), TwoFilms(), &error)) << c.name;
        }
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(ReadFile(Dat()), datBefore) << c.name;
        EXPECT_EQ(ReadFile(Text()), textBefore) << c.name;
        if (!c.folderIsFile) {
            std::size_t entries = 0;
            for ([[maybe_unused]] const auto &entry : fs::directory_iterator(dir_ / "Lumidra"))
                ++entries;
            EXPECT_EQ(entries, 2u) << c.name << ": no temporary file left";
            EXPECT_EQ(LoadOwnFilms(Folder()).Films.size(), 1u) << c.name;
        }
    }
}

// The same files kept elsewhere than in a folder (the web page keeps them in the browser).
TEST(OwnFilmsContents, ReadWithoutAFolder)
{
    const OwnFilmsContent good = OwnFilmsBytes(TwoFilms());
    struct Case
    {
        const char *name;
        std::optional<std::string> dat, text;
        std::size_t films;
        std::size_t typed;
        std::string damaged;
    };
    const Case cases[] = {
        {"both files", good.Dat, good.Text, 2, 1, ""},
        {"nothing kept yet", std::nullopt, std::nullopt, 0, 0, ""},
        {"films without their typed form", good.Dat, std::nullopt, 2, 0, ""},
        {"damaged films.dat", std::string("garbage"), good.Text, 0, 0, "films.dat"},
        {"damaged films.txt", good.Dat, std::string("garbage"), 2, 0, "films.txt"},
    };
    for (const Case &c : cases) {
        const OwnFilms own = ParseOwnFilms(c.dat, c.text);
        EXPECT_EQ(own.Films.size(), c.films) << c.name;
        EXPECT_EQ(std::count_if(own.Films.begin(), own.Films.end(),
                                [](const OwnFilm &f) { return f.Input.has_value(); }),
                  static_cast<long>(c.typed))
            << c.name;
        EXPECT_EQ(own.DamagedFile, c.damaged) << c.name;
    }
}

// Editing shows what was typed; a film whose typed form was lost shows its name (in UTF-8,
// 0xE9 being "é") and its range, with the model left to be typed anew.
TEST(OwnFilmsContents, InputForEditing)
{
    const std::vector<OwnFilm> films = TwoFilms();
    const FilmInput typed = InputForEditing(films[0]);
    EXPECT_EQ(typed.Name, "Tri-X (own test)");
    EXPECT_FALSE(typed.PowerLaw);
    EXPECT_EQ(typed.Pairs.size(), 3u);
    EXPECT_EQ(typed.RangeMax, "50");

    const FilmInput lost = InputForEditing(films[1]);
    EXPECT_EQ(lost.Name, "Caf\xC3\xA9 100");
    EXPECT_EQ(lost.RangeMin, "2");
    EXPECT_EQ(lost.RangeMax, "200");
    EXPECT_TRUE(lost.Pairs.empty());
}

#endif
