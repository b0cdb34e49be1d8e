// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filmfit.h"
#include "tools/filminput.h"
#include "tools/films.h"

#include <optional>
#include <string>
#include <vector>

// The films a user enters: kept beside the settings in two files of one folder,
//   films.dat  the fitted entries, in the 528-byte records of the film database (record 0 is
//              the version record), which the exposure tab corrects with;
//   films.txt  the films as they were typed, in the lines of the database source
//              (tools/filmsource.h), so that editing a film shows what was typed.
// films.dat decides which films there are; a film missing from films.txt has no typed form.
namespace tools {

inline constexpr const char *kOwnFilmsVersion = "Lumidra own films 1";
inline constexpr const char *kOwnFilmsDatName = "films.dat";
inline constexpr const char *kOwnFilmsTextName = "films.txt";

struct OwnFilm
{
    TFilmRecord Record;             // as films.dat holds it (name in Windows-1252)
    std::optional<FilmInput> Input; // as typed
};

struct OwnFilms
{
    // The first of the two files that could not be read (damaged, unreadable, not written by
    // the program), empty when both were fine or absent. A damaged films.dat gives no films;
    // a damaged films.txt gives the films without their typed form. The file is left as it is.
    std::string DamagedFile;
    std::vector<OwnFilm> Films;
};

// The folder of the own films: on Windows %APPDATA%\Lumidra, elsewhere the folder of the
// settings file (beside Lumidra.reg, or beside the file LUMIDRA_SETTINGS names). Empty when no
// such folder can be named.
std::string OwnFilmsFolder();

std::string OwnFilmsDatPath(const std::string &folder);
std::string OwnFilmsTextPath(const std::string &folder);

// Where a damaged file is kept when the next save replaces it.
std::string OwnFilmsBackupPath(const std::string &damagedFile);

OwnFilms LoadOwnFilms(const std::string &folder);

// The own films from the contents of the two files, where they are kept elsewhere than in a
// folder (the web page keeps them in the browser's storage); nullopt stands for a file that is
// not there. DamagedFile then holds the file's name alone (kOwnFilmsDatName or
// kOwnFilmsTextName).
OwnFilms ParseOwnFilms(const std::optional<std::string> &dat,
                       const std::optional<std::string> &text);

// What SaveOwnFilms writes into the two files.
struct OwnFilmsContent
{
    std::string Dat;
    std::string Text;
};
OwnFilmsContent OwnFilmsBytes(const std::vector<OwnFilm> &films);

// Whether the own films' films.dat in folder is the very file of the shipped database at
// shippedPath (settings kept in the program's folder): the program then keeps no films of the
// user's own, rather than read or replace the shipped ones.
bool OwnFilmsClashWith(const std::string &folder, const std::string &shippedPath);

// Writes films as the own films into folder (made when missing), each file whole or not at
// all. A file that reads as damaged is first kept under OwnFilmsBackupPath. When a write
// fails, both files are put back as they were and the reason is given in *error.
bool SaveOwnFilms(const std::string &folder, const std::vector<OwnFilm> &films,
                  std::string *error = nullptr);

// The own film of a fitted input (the fit of tools/filmfit.h, without faults).
OwnFilm MakeOwnFilm(const FilmInput &input, const FilmFit &fit);

// What the edit dialog shows for an own film: the input as the user typed it, or, where that
// was lost, the film's name and range with the model left to be typed anew.
FilmInput InputForEditing(const OwnFilm &film);

// The names of films (Windows-1252), for CheckFilmName.
std::vector<std::string> FilmNames(const TFilms &films);
std::vector<std::string> FilmNames(const std::vector<OwnFilm> &films);

} // namespace tools
