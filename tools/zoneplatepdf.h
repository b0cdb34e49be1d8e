// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/zoneplate.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The printable drawing of a zone plate: a one-page, uncompressed PDF 1.2 file whose square
// page holds the plate at true size or enlarged, as a positive (white open zones on black)
// or a negative (black open zones on white). The plate's data stand in the document
// information and in a note on the page; nothing is written on the page itself.
namespace tools {

// What a drawing of the plate is made from; the SVG drawing (tools/zoneplatesvg.h) takes the
// same.
struct ZonePlatePdfInput
{
    TZonePlateValues values;        // from CalculateZonePlate; N is the highest index
    std::string focalText;          // the focal length as shown in its field (UTF-8)
    std::string unitText;           // the unit shown beside it
    bool negative = false;          // true: black open zones on the white page
    std::int32_t magnification = 1; // 1 for true size, otherwise 2 or more
    std::string date;               // "yyyymmddhhnnss", see PdfDateText
};

// Four-digit year, then month, day, hour (00 to 23), minute and second, two digits each.
std::string PdfDateText(const std::tm &time);

// The local date and time now, as PdfDateText.
std::string CurrentPdfDate();

// The plate's data in UTF-8, as the document shows them: the title on one line ("Zone Plate -
// Number of zones: 15, f 150 mm, f number 92, enlarged 2 x") and the note line by line
// (heading, empty line, zones, focal length, f number, enlargement if any, empty line, credit
// and notice).
std::string ZonePlateTitle(const ZonePlatePdfInput &input);
std::vector<std::string> ZonePlateNoteLines(const ZonePlatePdfInput &input);

// The bytes of the whole file (texts in Windows-1252, CR LF line ends).
// Throws std::invalid_argument when values holds no zone.
std::string BuildZonePlatePdf(const ZonePlatePdfInput &input);

// Builds the file and writes it whole or not at all. On false nothing new is left behind and
// a file that was to be replaced is unchanged; *error (when given) says why.
bool WriteZonePlatePdf(const std::string &path, const ZonePlatePdfInput &input,
                       std::string *error = nullptr);

// The message shown when WriteZonePlatePdf failed: "File <path> cannot be saved. ...".
std::string ZonePlateSaveFailedText(std::string_view path);

// Appends ".pdf" unless the name already ends in exactly ".pdf" (case-sensitive); an empty
// name stays empty.
std::string ValidateZoneplateFileName(std::string_view name);

} // namespace tools
