// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ownfilms.h"

#include "tools/atomicfile.h"
#include "tools/cp1252.h"
#include "tools/filmsource.h"
#include "tools/numtext.h"
#include "tools/reciprocity.h"
#include "tools/settings_backend.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tools {

namespace {

namespace fs = std::filesystem;

// Far more than any number of films a person enters; a larger file is none of ours.
constexpr std::uintmax_t kMaxFileSize = 16 << 20;

constexpr const char *kTextHeader =
    "# Your own films in Lumidra, as you typed them. films.dat beside this file holds the\n"
    "# formulas fitted to them. Lumidra writes both files; change the films in Lumidra\n"
    "# (Tools > Films...).\n";

// The whole file; nothing when it is not a regular file that can be read.
std::optional<std::string> ReadWhole(const std::string &path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > kMaxFileSize || ec)
        return std::nullopt;
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string text;
    char buffer[16384];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return text;
}

bool Exists(const std::string &path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

// The films of a films.dat the program wrote: whole records, its version record, and films
// with names the list can hold (each once), formulas the program reads and a range.
std::optional<TFilms> DatFilms(std::string_view bytes)
{
    if (bytes.size() % kFilmRecordSize != 0)
        return std::nullopt;
    FilmDatabase db = ParseFilmDatabase(bytes);
    if (db.Status != FilmDatabaseStatus::Ok || db.FilmDBVersion != kOwnFilmsVersion)
        return std::nullopt;
    std::vector<std::string> names;
    for (const TFilmRecord &film : db.Films) {
        const std::string name = Cp1252ToUtf8(film.Name);
        if (CheckFilmName(name, names) != FilmNameFault::None || !ParseFilmFormula(film.Formula) ||
            !(film.MinTime > 0) || !(film.MinTime <= film.MaxTime) || !std::isfinite(film.MaxTime))
            return std::nullopt;
        names.push_back(film.Name);
    }
    return std::move(db.Films);
}

std::optional<std::vector<FilmInput>> TextFilms(std::string_view text)
{
    FilmSourceFile source;
    std::string error;
    if (!ParseFilmSource(text, source, error, FilmSourceRules::OwnFilms) ||
        source.Version != kOwnFilmsVersion)
        return std::nullopt;
    std::vector<FilmInput> inputs;
    for (const FilmSource &film : source.Films)
        inputs.push_back(film.Input);
    return inputs;
}

std::optional<TFilms> ReadDat(const std::string &path)
{
    const std::optional<std::string> bytes = ReadWhole(path);
    return bytes ? DatFilms(*bytes) : std::nullopt;
}

std::optional<std::vector<FilmInput>> ReadText(const std::string &path)
{
    const std::optional<std::string> text = ReadWhole(path);
    return text ? TextFilms(*text) : std::nullopt;
}

std::string TextBytes(const std::vector<OwnFilm> &films)
{
    std::string text = kTextHeader;
    text += "version ";
    text += kOwnFilmsVersion;
    text += '\n';
    for (const OwnFilm &film : films) {
        if (!film.Input)
            continue;
        FilmInput input = *film.Input;
        input.Name = Cp1252ToUtf8(film.Record.Name);
        text += '\n';
        text += FilmSourceLines(input);
    }
    return text;
}

bool Fail(std::string *error, std::string reason)
{
    if (error)
        *error = std::move(reason);
    return false;
}

// One of the two files of a save: its new content, and what to put back should the save
// fail.
struct SaveTarget
{
    std::string path;
    std::string content;
    bool damaged = false;              // read as damaged: moved aside before the write
    std::optional<std::string> before; // the intact content it had
    bool movedAside = false;
    bool written = false;
};

void PutBack(SaveTarget &target)
{
    std::error_code ec;
    if (target.written) {
        if (target.before)
            WriteFileAtomically(target.path, *target.before);
        else
            fs::remove(target.path, ec);
    }
    if (target.movedAside)
        fs::rename(OwnFilmsBackupPath(target.path), target.path, ec);
}

} // namespace

std::string OwnFilmsFolder()
{
#ifdef _WIN32
    const char *appData = std::getenv("APPDATA");
    if (!appData || !*appData)
        return {};
    return (fs::path(appData) / "Lumidra").string();
#else
    const std::string settings = SettingsFilePath();
    if (settings.empty())
        return {};
    const fs::path folder = fs::path(settings).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
#endif
}

std::string OwnFilmsDatPath(const std::string &folder)
{
    return (fs::path(folder) / kOwnFilmsDatName).string();
}

std::string OwnFilmsTextPath(const std::string &folder)
{
    return (fs::path(folder) / kOwnFilmsTextName).string();
}

std::string OwnFilmsBackupPath(const std::string &damagedFile)
{
    return damagedFile + ".bak";
}

OwnFilms ParseOwnFilms(const std::optional<std::string> &dat,
                       const std::optional<std::string> &text)
{
    OwnFilms own;
    std::optional<TFilms> records;
    if (dat) {
        records = DatFilms(*dat);
        if (!records)
            own.DamagedFile = kOwnFilmsDatName;
    }
    std::optional<std::vector<FilmInput>> inputs;
    if (text) {
        inputs = TextFilms(*text);
        if (!inputs && own.DamagedFile.empty())
            own.DamagedFile = kOwnFilmsTextName;
    }
    if (!records)
        return own;
    for (TFilmRecord &record : *records) {
        OwnFilm film{std::move(record), std::nullopt};
        const std::string name = Cp1252ToUtf8(film.Record.Name);
        for (const FilmInput &input : inputs.value_or(std::vector<FilmInput>{}))
            if (input.Name == name)
                film.Input = input;
        own.Films.push_back(std::move(film));
    }
    return own;
}

OwnFilmsContent OwnFilmsBytes(const std::vector<OwnFilm> &films)
{
    TFilms records;
    for (const OwnFilm &film : films)
        records.push_back(film.Record);
    return {FilmDatabaseBytes(kOwnFilmsVersion, records), TextBytes(films)};
}

OwnFilms LoadOwnFilms(const std::string &folder)
{
    if (folder.empty())
        return {};
    // A file that is there but cannot be read counts as damaged: no films file is empty.
    const auto content = [](const std::string &path) -> std::optional<std::string> {
        if (!Exists(path))
            return std::nullopt;
        return ReadWhole(path).value_or(std::string());
    };
    OwnFilms own =
        ParseOwnFilms(content(OwnFilmsDatPath(folder)), content(OwnFilmsTextPath(folder)));
    if (!own.DamagedFile.empty())
        own.DamagedFile = (fs::path(folder) / own.DamagedFile).string();
    return own;
}

bool OwnFilmsClashWith(const std::string &folder, const std::string &shippedPath)
{
    if (folder.empty() || shippedPath.empty())
        return false;
    std::error_code ec;
    return fs::equivalent(OwnFilmsDatPath(folder), shippedPath, ec) && !ec;
}

bool SaveOwnFilms(const std::string &folder, const std::vector<OwnFilm> &films, std::string *error)
{
    if (folder.empty())
        return Fail(error, "no folder for the settings");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return Fail(error, ec.message());

    const OwnFilmsContent files = OwnFilmsBytes(films);
    // films.txt first: should films.dat then fail, the typed form of a film it lacks does no
    // harm until both are put back.
    SaveTarget targets[2];
    targets[0].path = OwnFilmsTextPath(folder);
    targets[0].content = files.Text;
    targets[1].path = OwnFilmsDatPath(folder);
    targets[1].content = files.Dat;
    targets[0].damaged = Exists(targets[0].path) && !ReadText(targets[0].path);
    targets[1].damaged = Exists(targets[1].path) && !ReadDat(targets[1].path);
    for (SaveTarget &target : targets)
        if (!target.damaged)
            target.before = ReadWhole(target.path);

    std::string reason;
    for (SaveTarget &target : targets) {
        if (target.damaged) {
            fs::rename(target.path, OwnFilmsBackupPath(target.path), ec);
            if (ec) {
                reason = ec.message();
                break;
            }
            target.movedAside = true;
        }
        if (!WriteFileAtomically(target.path, target.content, &reason))
            break;
        target.written = true;
    }
    if (targets[1].written)
        return true;
    for (SaveTarget &target : targets)
        PutBack(target);
    return Fail(error, reason);
}

OwnFilm MakeOwnFilm(const FilmInput &input, const FilmFit &fit)
{
    OwnFilm film;
    film.Record = {Utf8ToCp1252(input.Name), fit.Formula, fit.MinTime, fit.MaxTime};
    film.Input = input;
    return film;
}

FilmInput InputForEditing(const OwnFilm &film)
{
    FilmInput input;
    if (film.Input) {
        input = *film.Input;
    } else {
        input.RangeMin = NumberToDotText(film.Record.MinTime);
        input.RangeMax = NumberToDotText(film.Record.MaxTime);
    }
    input.Name = Cp1252ToUtf8(film.Record.Name);
    return input;
}

std::vector<std::string> FilmNames(const TFilms &films)
{
    std::vector<std::string> names;
    for (const TFilmRecord &film : films)
        names.push_back(film.Name);
    return names;
}

std::vector<std::string> FilmNames(const std::vector<OwnFilm> &films)
{
    std::vector<std::string> names;
    for (const OwnFilm &film : films)
        names.push_back(film.Record.Name);
    return names;
}

} // namespace tools
