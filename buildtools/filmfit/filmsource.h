// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The readable source of the film database (resources/films/films.txt): for each film the
// reciprocity model its maker published, where it was published, and the range of metered
// times the database entry covers. Read by the build tool that fits the polynomials, and by
// the tests that check the built database against the makers' figures.
namespace filmfit {

// A published pair of metered time and corrected time, in seconds.
struct MakerPoint
{
    double Metered = 0;
    double Corrected = 0;
};

struct FilmSource
{
    std::string Name;   // UTF-8
    std::string Source; // where the figures were published
    // The maker's model: Tc = Tm^Power when Power > 0, otherwise the published points,
    // joined by straight lines in log-log coordinates (a power law between neighbours, which
    // is what "stops added" tables mean: the stops grow linearly with the stops of time).
    double Power = 0;
    std::vector<MakerPoint> Points;
    // Worked examples the maker prints beside the model; the entry has to meet them as it
    // meets the published points.
    std::vector<MakerPoint> Examples;
    double MinTime = 0;
    double MaxTime = 0;
    int Line = 0; // where the film starts in the source, for messages
};

struct FilmSourceFile
{
    std::string Version;
    std::vector<FilmSource> Films;
};

// Reads the source text; on a fault returns false with "line N: what" in error.
bool ParseFilmSource(std::string_view text, FilmSourceFile &out, std::string &error);

// The corrected time the maker's model gives for a metered time within [MinTime, MaxTime].
double MakerModel(const FilmSource &film, double metered);

// The log-log slope of the maker's model over the stops where the program measures the slope
// of its continuation (tools::ContinuationStart to MaxTime); for a range of a single time,
// over the last thousandth below it.
double MakerSlope(const FilmSource &film);

// True when the model multiplies every metered time of the range by one factor (a film with
// a single published point, or the same stops added throughout): its polynomial is exact.
bool IsConstantFactor(const FilmSource &film, double &factor);

} // namespace filmfit
