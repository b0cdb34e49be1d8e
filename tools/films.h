// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/reciprocity.h"

#include <string>
#include <string_view>
#include <vector>

// The film database films.dat: for each film a polynomial that turns a metered time into the
// time the film needs (reciprocity failure), and the range of metered times it covers.
//
// The file is a sequence of 528-byte records without header or padding:
//   offset   0: name length (0-255), 1: 255 name bytes (Windows-1252),
//   offset 256: formula length (0-255), 257: 255 formula bytes,
//   offset 512: MinTime, 520: MaxTime (IEEE 754 doubles, little-endian).
// Record 0 is the version record; only its name is used. Records 1 to n are the films.
// The model itself (formula, polynomial, correction of a time): tools/reciprocity.h.
namespace tools {

inline constexpr std::size_t kFilmRecordSize = 528;

struct TFilmRecord
{
    std::string Name;    // Windows-1252 bytes as in the file (tools::Cp1252ToUtf8 to show)
    std::string Formula; // coefficients as text, e.g. "+0.5-1.25+0,003"
    double MinTime = 0;  // the correction applies from this metered time on (seconds)
    double MaxTime = 0;  // the longest metered time the model covers (seconds)
};

using TFilms = std::vector<TFilmRecord>;

enum class FilmDatabaseStatus
{
    Ok,
    Missing, // no file at the path: the program runs on without correction
    Damaged, // the file exists but cannot be read, or is shorter than one record
};

struct FilmDatabase
{
    FilmDatabaseStatus Status = FilmDatabaseStatus::Missing;
    std::string FilmDBVersion; // UTF-8; empty unless Status is Ok
    TFilms Films;              // empty unless Status is Ok
    std::string Path;          // the file found; empty when Missing
};

// Reads the whole database at path. A remainder shorter than a record at the end of the file
// is ignored.
FilmDatabase LoadFilmDatabase(const std::string &path);

// The database from the bytes of its file (the web page fetches them): Ok, or Damaged when
// they do not hold a whole first record.
FilmDatabase ParseFilmDatabase(std::string_view bytes);

// Where the database is looked for, in this order: beside the executable, then in the
// installation's data folder (tools::DataFilePaths; ../share/lumidra/ relative to it by default).
// exeDir is the folder of the executable, with or without a trailing separator.
std::vector<std::string> FilmDatabasePaths(const std::string &exeDir);

// Loads the first of paths that exists; Missing when none does.
FilmDatabase LoadFirstFilmDatabase(const std::vector<std::string> &paths);

// The bytes of a database file: the version record, then one record per film. Texts longer
// than a record's 255 bytes are cut there (a caller checks them first).
std::string FilmDatabaseBytes(std::string_view versionCp1252, const TFilms &films);

// The first film whose name equals name byte for byte, or nullptr.
const TFilmRecord *FindSelectedFilm(const TFilms &films, std::string_view name);

} // namespace tools
