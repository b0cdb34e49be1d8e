// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A film's reciprocity failure as a person writes it down: a power law Tc = T0·(Tm / T0)^P
// from T0 seconds on, or pairs of a metered time and the time it needs, with the range of
// metered times the film's entry covers. The film database source (resources/films/films.txt)
// and the films users enter themselves are both written so; this header reads such input into
// numbers and says what is wrong with it.
namespace tools {

inline constexpr std::size_t kMaxFilmPairs = 12;
inline constexpr double kMinFilmPower = 1.0;
inline constexpr double kMaxFilmPower = 3.0;
inline constexpr double kDefaultFilmFrom = 1.0;
inline constexpr double kMinFilmFrom = 0.001;
inline constexpr double kMaxFilmFrom = 1000.0;
// A power law's own range runs from T0 over three decades, as the makers' charts run from
// 1 s to 1000 s, but not past 10000 s metered (nor shorter than a decade): a formula in plain
// decimals cannot follow a steep law over three decades of long times, and past its range
// the law is carried on at its own slope anyway.
inline constexpr double kPowerLawSpan = 1000.0;
inline constexpr double kPowerLawEnd = 10000.0;
inline constexpr double kPowerLawLeastSpan = 10.0;

// One measured pair, as typed, with "." as the decimal mark. Numbers are plain decimals or
// fractions ("1/2"). Needed is the time in seconds, or, after a "+", the stops added ("+1/3":
// a third of a stop more, 2^(1/3) times the metered time).
struct FilmPairInput
{
    std::string Metered;
    std::string Needed;

    bool Empty() const { return Metered.empty() && Needed.empty(); }
    bool operator==(const FilmPairInput &) const = default;
};

// A film as typed. Empty pairs are passed over (a form has room for more than are used); an
// empty From is 1 s; an empty end of the range is that end of the data's own range.
struct FilmInput
{
    std::string Name; // UTF-8
    bool PowerLaw = true;
    std::string Power;
    std::string From;
    std::vector<FilmPairInput> Pairs;
    std::string RangeMin;
    std::string RangeMax;

    bool operator==(const FilmInput &) const = default;
};

// A published or measured pair in seconds.
struct FilmPoint
{
    double Metered = 0;
    double Corrected = 0;
};

// The numbers of a film's model: Tc = From·(Tm / From)^Power when Power > 0, otherwise the
// points, joined by power laws from one to the next (straight lines in log-log coordinates:
// for "stops added" tables, the added stops grow evenly with the stops of metered time).
struct FilmModelData
{
    double Power = 0;
    double From = kDefaultFilmFrom;
    std::vector<FilmPoint> Points;
    double MinTime = 0; // the range the entry covers
    double MaxTime = 0;
    double DataMin = 0; // the data's own range, which the range may narrow
    double DataMax = 0;
};

enum class FilmInputFault
{
    None,
    PowerOutOfRange, // P is no number from 1 to 3
    FromOutOfRange,  // T0 is no number from 0.001 to 1000 s
    NoPairs,
    TooManyPairs,     // more than 12
    PairIncomplete,   // one of the two times missing
    MeteredNotNumber, // no number of seconds greater than 0
    NeededNotNumber,  // neither seconds greater than 0 nor "+" and stops
    MeteredNotRising, // not longer than the pair before
    NeededShorter,    // shorter than its metered time
    NeededFalling,    // shorter than the time needed at the pair before
    RangeNotNumber,   // an end that is no number greater than 0, or MIN > MAX
    RangeBeyondData,  // the range reaches beyond the data's own
    PairListSyntax,   // a pair list that is not METERED:NEEDED,...
};

struct FilmInputCheck
{
    FilmInputFault Fault = FilmInputFault::None;
    int Pair = 0; // the pair at fault, counted from 1 in the order typed (empty ones too)
    FilmModelData Model;
};

// Reads the model of input (its name is not looked at).
FilmInputCheck ReadFilmInput(const FilmInput &input);

// The message of a fault for the user (the string table), numbers with decSep.
std::string FilmInputFaultText(const FilmInputCheck &check, char decSep);

// A number as the film input writes it: a plain decimal with "." (no sign, no exponent) or a
// fraction of two such numbers. Nothing for other text, a zero denominator or infinity.
std::optional<double> ReadFilmNumber(std::string_view text);

// "1:2,10:50,100:+2": comma-separated METERED:NEEDED pairs (blanks around the parts allowed).
// Nothing when the text is not of that form (empty parts, a missing colon).
std::optional<std::vector<FilmPairInput>> ParseFilmPairList(std::string_view text);

// The model's corrected time for a metered time within its data (tools/filmfit.h fits a
// polynomial to it).
double ModelTime(const FilmModelData &model, double metered);

// The log-log slope of the model over the stops where the program measures the slope of its
// continuation (tools::ContinuationStart to MaxTime); for a range of a single time, over the
// last thousandth below it.
double ModelSlope(const FilmModelData &model);

// True when the model multiplies every metered time of the range by one factor (a single
// pair, or the same stops added throughout): its polynomial is exact.
bool IsConstantFactor(const FilmModelData &model, double &factor);

// Film names as the film list holds them: at most 255 bytes of Windows-1252, no control
// characters, not empty, and unique, since the list finds a film by its name.
enum class FilmNameFault
{
    None,
    Empty,
    TooLong,
    NotWritable, // a character Windows-1252 cannot hold
    Control,
    Taken,
};

inline constexpr std::size_t kMaxFilmNameBytes = 255;

// The name as kept: blanks at both ends dropped.
std::string TrimFilmName(std::string_view utf8);

// The fault of a name (UTF-8, trimmed) among the names already taken (Windows-1252 bytes).
FilmNameFault CheckFilmName(std::string_view utf8, const std::vector<std::string> &taken);

// The message of a name fault for the user (the string table).
std::string FilmNameFaultText(FilmNameFault fault, std::string_view utf8);

} // namespace tools
