// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zoneplatesvg.h"

#include "tools/atomicfile.h"
#include "tools/numtext.h"

#include <stdexcept>

namespace tools {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Bytes of one drawn circle, generously: three numbers of at most 25 bytes and the markup.
constexpr std::size_t kCircleBytes = 120;

// The length of the well-formed UTF-8 sequence at the start of text and its code point, or 0
// when the bytes there are not one (overlong forms, surrogates, beyond U+10FFFF, truncated).
std::size_t DecodeUtf8(std::string_view text, char32_t *cp)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        *cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *cp = value;
    return length;
}

bool XmlCanHold(char32_t cp)
{
    if (cp < 0x20)
        return cp == '\t' || cp == '\n' || cp == '\r';
    return cp != 0xFFFE && cp != 0xFFFF;
}

std::string_view ExtensionOf(ZonePlateFileKind kind)
{
    return kind == ZonePlateFileKind::Svg ? ".svg" : ".pdf";
}

std::string Number(double value)
{
    return NumberToDotText(value);
}

} // namespace

std::string XmlText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + 8);
    while (!utf8.empty()) {
        char32_t cp = 0;
        std::size_t length = DecodeUtf8(utf8, &cp);
        if (length == 0) {
            out += kReplacement;
            length = 1;
        } else if (!XmlCanHold(cp)) {
            out += kReplacement;
        } else if (cp == '&') {
            out += "&amp;";
        } else if (cp == '<') {
            out += "&lt;";
        } else if (cp == '>') {
            out += "&gt;";
        } else if (cp == '"') {
            out += "&quot;";
        } else if (cp == '\r') {
            out += "&#13;";
        } else {
            out += utf8.substr(0, length);
        }
        utf8.remove_prefix(length);
    }
    return out;
}

std::string BuildZonePlateSvg(const ZonePlatePdfInput &input)
{
    if (input.values.size() < 2)
        throw std::invalid_argument("a zone plate needs at least one zone");
    const std::vector<double> diameters = ZoneDiametersPoints(input.values, input.magnification);
    const double side = ZonePlatePageSide(input.values, input.magnification);
    const std::string sideText = Number(side);
    // The physical size of the page; the drawing inside it counts in points.
    const std::string sideMM =
        Number(static_cast<double>(static_cast<long double>(side) / 72 * 25.4L));
    // The centre as the PDF computes it. Both axes have the same length, so the centre is the
    // same point whether y counts upwards (PDF) or downwards (SVG).
    const std::string centre = Number(static_cast<double>(static_cast<long double>(side) / 2));

    std::string svg;
    svg.reserve(1000 + diameters.size() * kCircleBytes);
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + sideMM +
           "mm\" height=\"" + sideMM + "mm\" viewBox=\"0 0 " + sideText + " " + sideText + "\">\n";
    svg += "<title>" + XmlText(ZonePlateTitle(input)) + "</title>\n";
    svg += "<desc>";
    bool first = true;
    for (const std::string &line : ZonePlateNoteLines(input)) {
        if (!first)
            svg += '\n';
        svg += XmlText(line);
        first = false;
    }
    svg += "</desc>\n";

    const std::string_view open = input.negative ? "black" : "white";
    const std::string_view closed = input.negative ? "white" : "black";
    // The page in the closed colour: black under a positive, the white paper under a negative.
    svg += "<rect x=\"0\" y=\"0\" width=\"" + sideText + "\" height=\"" + sideText + "\" fill=\"" +
           std::string(closed) + "\"/>\n";
    // Largest first: each smaller disc covers the middle of the one before, leaving rings.
    for (std::size_t i = diameters.size() - 1; i >= 1; --i) {
        svg += "<circle cx=\"" + centre + "\" cy=\"" + centre + "\" r=\"" +
               Number(static_cast<double>(static_cast<long double>(diameters[i]) / 2)) +
               "\" fill=\"" + std::string(i % 2 == 1 ? open : closed) + "\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

bool WriteZonePlateSvg(const std::string &path, const ZonePlatePdfInput &input, std::string *error)
{
    return WriteFileAtomically(path, BuildZonePlateSvg(input), error);
}

std::string ZonePlateFileNameFor(std::string_view name, ZonePlateFileKind kind)
{
    const std::string_view extension = ExtensionOf(kind);
    if (name.empty() || name.ends_with(extension))
        return std::string(name);
    return std::string(name) + std::string(extension);
}

ZonePlateFileName CompleteZonePlateFileName(std::string_view name, ZonePlateFileKind chosen)
{
    for (const ZonePlateFileKind kind : {ZonePlateFileKind::Pdf, ZonePlateFileKind::Svg})
        if (name.ends_with(ExtensionOf(kind)))
            return {std::string(name), kind};
    return {ZonePlateFileNameFor(name, chosen), chosen};
}

} // namespace tools
