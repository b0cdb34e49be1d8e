// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filminput.h"

#include <string>
#include <string_view>
#include <vector>

// The readable source of a film database: for each film its reciprocity model as written
// down (tools/filminput.h) and the range of metered times its entry covers. Two files are
// written so: resources/films/films.txt, the makers' figures with where they were published,
// from which the build fits the shipped films.dat; and the films a user enters, kept beside
// the settings (tools/ownfilms.h).
//
// Lines (UTF-8; blank lines and lines starting with "#" are passed over):
//   version TEXT        the version text of the database
//   film NAME           starts a film
//   source TEXT         where the figures were published (may be repeated)
//   power P             the model is Tc = T0·(Tm / T0)^P
//   from T0             the T0 of the power law (default 1 s)
//   at TM TC s          a pair: metered TM seconds need TC seconds
//   at TM +S stop       a pair: metered TM seconds need S stops more (S may be a fraction)
//   example TM TC s     a worked example printed beside the model (or +S stop)
//   range MIN MAX       the metered times the entry covers; "-" for an end keeps that end of
//                       the data's own range
namespace tools {

struct FilmSource
{
    std::string Name;   // UTF-8
    std::string Source; // where the figures were published
    FilmInput Input;    // the model as written
    FilmModelData Model;
    // Worked examples the maker prints beside the model; the entry has to meet them as it
    // meets the pairs.
    std::vector<FilmPoint> Examples;
    int Line = 0; // where the film starts in the source, for messages
};

struct FilmSourceFile
{
    std::string Version;
    std::vector<FilmSource> Films;
};

// What a source must hold besides the models: the makers' database names its sources and
// sets every range; a user's own films need neither.
enum class FilmSourceRules
{
    Makers,
    OwnFilms,
};

// Reads the source text; on a fault returns false with "line N: what" in error.
bool ParseFilmSource(std::string_view text, FilmSourceFile &out, std::string &error,
                     FilmSourceRules rules = FilmSourceRules::Makers);

// The lines of one film (without source and examples), as ParseFilmSource reads them back.
// Pairs that are empty are left out.
std::string FilmSourceLines(const FilmInput &input);

} // namespace tools
