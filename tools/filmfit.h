// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filminput.h"
#include "tools/polyfit.h"

#include <atomic>
#include <string>
#include <vector>

// The film database entry made from a film's model (tools/filminput.h): the polynomial in the
// metered time as its formula text, over the model's range, and the rules it has to meet
// before it may correct a photographer's times. The same fit makes the shipped database at
// build time (buildtools/filmfit) and the films users enter (tools/ownfilms.h).
// Pure functions: no output, no shared state; a fit may run on any thread.
namespace tools {

// The largest relative error against the model over [MinTime, MaxTime].
inline constexpr double kFitErrorLimit = 0.05;
// Every pair and worked example, as the program corrects its metered time.
inline constexpr double kFitPairLimit = 0.02;
// The slope at which the program carries the entry on past MaxTime, against the model's own
// slope over the same stops.
inline constexpr double kFitSlopeLimit = 0.02;
// A power law holds for all times: the times carried on past MaxTime stay this close to it
// up to kFitFollowSpan times MaxTime.
inline constexpr double kFitFollowLimit = 0.15;
inline constexpr double kFitFollowSpan = 20;
// The formula text of a record.
inline constexpr std::size_t kFormulaLength = 255;

struct FilmFit
{
    std::string Formula; // as stored
    double MinTime = 0;  // the model's range, as stored beside the formula
    double MaxTime = 0;
    std::vector<double> Coeffs; // as the program reads the formula back
    int Degree = -1;
    FitError Error;        // against the model over the range
    double Slope = 0;      // of the program's continuation (tools::MakeFilmModel)
    double MakerSlope = 0; // of the model over the same stops
    // The rules the entry breaks; empty when it may go into a database.
    std::vector<std::string> Faults;
};

// The faults of a formula text as the entry of model, judged on what the program makes of it
// (tools::ParseFilmFormula, tools::CorrectedTime): the rules above, and a corrected time that
// is never shorter than the metered one and rises with it throughout the range. examples are
// pairs the entry meets besides the model's own.
FilmFit CheckEntry(const FilmModelData &model, const std::vector<FilmPoint> &examples,
                   std::string formula);

// The entry for model: the exact factor when the model is one, otherwise the lowest degree
// whose polynomial meets the rules and stays within 2 % of the model, or, when none does, the
// one with the least error. Faults name the rules that no polynomial met. A fit takes a tenth
// of a second or more; when stop is given and becomes true, the fit ends early with the fault
// "stopped".
FilmFit FitFilm(const FilmModelData &model, const std::vector<FilmPoint> &examples = {},
                const std::atomic<bool> *stop = nullptr);

// Whether the fault of a fit that breaks a rule is its error (the user is told the figure)
// rather than another rule.
inline bool FitStraysTooFar(const FilmFit &fit)
{
    return !(fit.Error.Max <= kFitErrorLimit);
}

// The message for the user of a fit with faults (the string table), numbers with decSep.
std::string FitFaultText(const FilmFit &fit, char decSep);

// The largest error of a fit in percent with two decimals ("2.98").
std::string FitErrorPercentText(const FilmFit &fit, char decSep);

} // namespace tools
