// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/exposure.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Saving the exposure table: a spreadsheet of the binary Excel record format (BOF, LABEL and
// EOF records only), formatted text with the columns aligned by blanks, tab-delimited text
// and CSV. All four hold the same 27 lines of text in Windows-1252 with CR LF line ends.
namespace tools {

// The file name the save dialog's name and filter index (1 to 4) stand for: a trailing
// ".xls", ".txt" or ".csv" (exactly so, case-sensitive) is replaced by the extension of the
// filter. Empty for an empty name or an index below 1.
std::string ValidateExposureFileName(std::string_view name, int filterIndex);

// The question before replacing an existing file (strings 1822 and 1823 around the path).
std::string ExposureReplaceQuestionText(std::string_view path);

// The message of a failed save (strings 1824 and 1825 around the path).
std::string ExposureSaveFailedText(std::string_view path);

// The kind of file of a filter index: "excel", "txtformat", "txttab", "csv"; empty otherwise.
std::string_view ExposureExportKind(int filterIndex);

// text followed by fill characters up to length characters; a longer text stays as it is.
// Counts bytes: meant for single-byte (Windows-1252) text.
std::string PadRight(std::string_view text, std::size_t length, char fill);

// Appends one LABEL record (the cell at col, row holding text). False, and out unchanged,
// when the text is too long for the record's 16-bit lengths.
bool WriteXlsLabel(std::string &out, std::uint16_t col, std::uint16_t row, std::string_view text);

// The texts of a saved table, UTF-8.
struct ExportTexts
{
    std::string T1; // title
    std::string T2; // f number
    std::string T3; // exposure factor
    std::string T4; // film, or no reciprocity correction
    std::string H1; // column headings
    std::string H2;
    std::string T5;                                  // program and film database version
    std::string T6;                                  // the About box's line below the version
    ExposureLabels Labels;                           // the rows' metered times
    std::array<std::string, kExposureRows> Values{}; // the rows' resulting times
};

// What the Exposure tab shows when the table is saved.
struct ExportInputs
{
    std::string_view FNumberText; // the f number as typed
    std::string_view FactorText;  // the exposure factor as shown
    bool Reciprocity = false;
    std::string_view FilmName;              // the chosen film (UTF-8), when Reciprocity is on
    std::string_view FilmDBVersion;         // empty when no database was loaded
    const ExposureLabels *Labels = nullptr; // the completed row labels
    const ExposureTimes *Times = nullptr;   // from ComputeExposureTimes
    int Mode = 1;                           // ExpTimeFormat
    char DecSep = '.';
};

// The texts from the string table and the tab's inputs.
ExportTexts MakeExportTexts(const ExportInputs &in);

// The bytes of the file of kind ("excel", "txtformat", "txttab", "csv"); for another
// kind and for a spreadsheet whose text does not fit a LABEL record: nullopt.
std::optional<std::string> BuildExposureDocument(std::string_view kind, const ExportTexts &texts);

// Writes the file whole or not at all: on failure an existing file keeps its content and no
// new file is left behind. False when nothing was saved (the window reports it with strings
// 1824 and 1825).
bool ExportExposureTable(const std::string &path, std::string_view kind, const ExportTexts &texts);

} // namespace tools
