// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/zoneplatepdf.h"

#include <string>
#include <string_view>

// The zone plate as an SVG image, for programs that lay out or print drawings of their own.
// It is the plate of the PDF, number for number: the same square page (its side in
// millimetres, the drawing in points through the viewBox), the same discs from the largest to
// the smallest with the same centre and radii, written as the PDF writes its numbers, and the
// same polarity. The PDF's title and note become the image's <title> and <desc>. The page of
// a negative is painted white, as the paper of the PDF is, so that the image does not depend
// on the background it is shown on. Text is UTF-8 with LF line ends.
namespace tools {

// The bytes of the whole image. The date of the input is not used.
// Throws std::invalid_argument when values holds no zone.
std::string BuildZonePlateSvg(const ZonePlatePdfInput &input);

// Builds the image and writes it whole or not at all, as WriteZonePlatePdf.
bool WriteZonePlateSvg(const std::string &path, const ZonePlatePdfInput &input,
                       std::string *error = nullptr);

// Text for XML character data and attribute values: "&", "<", ">" and '"' as entities, CR as a
// character reference so that a parser keeps it; bytes that are not well-formed UTF-8 and
// characters XML cannot hold (controls other than tab, LF and CR, U+FFFE, U+FFFF) become
// U+FFFD.
std::string XmlText(std::string_view utf8);

// The kinds of file the plate is written as.
enum class ZonePlateFileKind
{
    Pdf,
    Svg,
};

struct ZonePlateFileName
{
    std::string path; // empty when the name was empty
    ZonePlateFileKind kind = ZonePlateFileKind::Pdf;
};

// The name with the extension of kind appended unless it ends in exactly that extension
// (case-sensitive); an empty name stays empty. For Pdf this is ValidateZoneplateFileName.
std::string ZonePlateFileNameFor(std::string_view name, ZonePlateFileKind kind);

// A name from the save dialog or the command line, with the kind chosen there. A name that
// ends in exactly ".pdf" or ".svg" (case-sensitive) is written as that kind, whatever was
// chosen; any other name gets the extension of the chosen kind appended.
ZonePlateFileName CompleteZonePlateFileName(std::string_view name, ZonePlateFileKind chosen);

} // namespace tools
