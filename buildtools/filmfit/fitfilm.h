// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buildtools/filmfit/filmsource.h"
#include "buildtools/filmfit/polyfit.h"

#include <string>
#include <vector>

// One database entry made from a maker's figures, and the rules it has to meet before it may
// go into the database. Pure functions: no output, no exits.
namespace filmfit {

// The largest relative error against the maker's model over [MinTime, MaxTime].
inline constexpr double kErrorLimit = 0.05;
// Every published pair and worked example, as the program corrects its metered time.
inline constexpr double kPairLimit = 0.02;
// The slope at which the program carries the entry on past MaxTime, against the maker's own
// slope over the same stops.
inline constexpr double kSlopeLimit = 0.02;
// A maker's power law Tc = Tm^P holds for all times: the times carried on past MaxTime stay
// this close to it up to kFollowUpTo seconds metered.
inline constexpr double kFollowLimit = 0.15;
inline constexpr double kFollowUpTo = 20000;
// The formula text of a record.
inline constexpr std::size_t kFormulaLength = 255;

struct FilmFit
{
    std::string Formula;        // as stored
    std::vector<double> Coeffs; // as the program reads the formula back
    int Degree = -1;
    FitError Error;        // against the maker's model over the range
    double Slope = 0;      // of the program's continuation (tools::MakeFilmModel)
    double MakerSlope = 0; // of the maker's model over the same stops
    // The rules the entry breaks; empty when it may go into the database.
    std::vector<std::string> Faults;
};

// The faults of a formula text as the entry of film, judged on what the program makes of it
// (tools::ParseFilmFormula, tools::CorrectedTime): the rules above, and a corrected time that
// is never shorter than the metered one and rises with it throughout the range.
FilmFit CheckEntry(const FilmSource &film, std::string formula);

// The entry for film: the exact factor when the maker's model is one, otherwise the lowest
// degree whose polynomial meets the rules and stays within 2 % of the model, or, when none
// does, the one with the least error. Faults name the rules that no polynomial met.
FilmFit FitFilm(const FilmSource &film);

} // namespace filmfit
