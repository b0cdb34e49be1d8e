// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/films.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The exposure table: 18 times metered for f 22, turned into times for the camera's f number
// N, optionally corrected for the reciprocity failure of a film, and the text of a time.
namespace tools {

inline constexpr int kExposureRows = 18;

using ExposureTimes = std::array<double, kExposureRows>;
using ExposureLabels = std::array<std::string, kExposureRows>;

// The metered times of the rows, in seconds, from 1/1000 s to 2 minutes; 1/60, 1/30 and 1/15
// are the doubles nearest to those fractions.
inline constexpr ExposureTimes ExposureBaseTimes = {
    0.001, 0.002, 0.004, 0.008, 1.0 / 60, 1.0 / 30, 1.0 / 15, 0.125, 0.25,
    0.5,   1,     2,     4,     8,        15,       30,       60,    120};

// The labels of the rows as stored ("1/1000" ... "1/2", "1" ... "30", "1", "2"), before the
// unit texts are added at start-up.
ExposureLabels StoredExposureTimeLabels();

// The labels as shown: a blank and the unit text s, m or h appended to each label whose
// metered time is at least 1 s, 1 minute or 1 hour (the texts of strings 1811-1813, passed
// in so that the labels follow the language of the string table).
ExposureLabels CompleteExposureTimeLabels(const ExposureLabels &labels, std::string_view s,
                                          std::string_view m, std::string_view h);

// The exposure factor field of this tab shows the same factor as the pinhole tab's:
// ExposureFactorText of tools/optics.h.

// The table can be calculated (and saved): N >= 22, and a film is chosen when correction is on.
bool InputsComplete(double fNumber, bool reciprocity, bool filmSelected);

struct ExposureResult
{
    // The film's formula breaks the rules of the database: no table; the window says so with
    // BrokenFormulaMessage.
    bool FormulaBroken = false;
    ExposureTimes Times{};
    // 0, or the first row (1 to 18) whose metered time lies beyond the film's MaxTime.
    std::uint8_t FirstOutOfRangeRow = 0;
};

// The resulting times for f number N: each metered time multiplied by (N / 22)², then, when
// film is given, corrected for the film (CorrectedTime of tools/reciprocity.h: the
// polynomial from MinTime on, carried on past MaxTime). The range checks are made on the
// metered time, before the correction.
ExposureResult ComputeExposureTimes(double fNumber, const TFilmRecord *film);

// The message for a film whose formula cannot be read (string 1827 naming the film).
std::string BrokenFormulaMessage(const TFilmRecord &film);

// The text of a resulting time. Mode 0 ("exact") shows hours and minutes, minutes and
// seconds, or seconds with one decimal; any other mode (1, "round off") rounds to the largest
// unit. Below 1 s both show the nearest shutter speed. Times from 36000000 s (ten thousand
// hours) on and below 0.000375 s show "-"; so do negative times (only a film polynomial that
// falls below zero gives one) and times that are not numbers.
std::string FormatExposureTime(int mode, double t, char decSep);

} // namespace tools
