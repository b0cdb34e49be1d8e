// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/zoneplatepdf.h"

#include "tools/atomicfile.h"
#include "tools/cp1252.h"
#include "tools/numtext.h"
#include "tools/stringtable.h"

#include <array>
#include <charconv>
#include <stdexcept>

namespace tools {

namespace {

// The length of a cubic Bezier control arm that draws a quarter of the unit circle.
constexpr long double kBezierArm = 0.5522847498L;

// Bytes of one drawn circle, generously: seven lines of at most five 25-byte operands.
constexpr std::size_t kCircleBytes = 520;

constexpr std::string_view kEol = "\r\n";

std::string IntText(long long value)
{
    std::array<char, 24> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), res.ptr);
}

long long ZoneCount(const ZonePlatePdfInput &input)
{
    return static_cast<long long>(input.values.size()) - 1;
}

// value printed with at least `width` digits, zero-padded on the left.
std::string PaddedIntText(long long value, std::size_t width)
{
    std::string digits = IntText(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

// A text for the inside of a PDF literal string: Windows-1252, with the characters that
// would end the string or start an escape escaped, and control characters written as
// octal escapes so that no text can break a line of the file.
std::string PdfStringText(std::string_view utf8)
{
    const std::string bytes = Utf8ToCp1252(utf8);
    std::string out;
    out.reserve(bytes.size() + 8);
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '\\' || ch == '(' || ch == ')') {
            out += '\\';
            out += ch;
        } else if (byte < 0x20) {
            out += '\\';
            out += static_cast<char>('0' + (byte >> 6));
            out += static_cast<char>('0' + ((byte >> 3) & 7));
            out += static_cast<char>('0' + (byte & 7));
        } else {
            out += ch;
        }
    }
    return out;
}

// Appends the lines of a piece, each ended by CR LF.
void AppendLines(std::string &out, std::initializer_list<std::string_view> lines)
{
    for (const std::string_view line : lines) {
        out += line;
        out += kEol;
    }
}

void AppendNumber(std::string &out, long double value)
{
    out += NumberToDotText(static_cast<double>(value));
}

// One path line: the operands separated by blanks, then a blank and the operator.
void AppendPathLine(std::string &out, std::initializer_list<long double> operands,
                    std::string_view op)
{
    for (const long double operand : operands) {
        AppendNumber(out, operand);
        out += ' ';
    }
    out += op;
    out += kEol;
}

// A filled circle of diameter d centred on the page: from the leftmost point over the top,
// right and bottom points back to the start as four Bezier segments. The operands are
// formed from the doubles in extended precision and rounded once, when printed.
void AppendDisc(std::string &out, std::string_view colour, double pageW, double pageH, double d)
{
    const long double cx = static_cast<long double>(pageW) / 2;
    const long double cy = static_cast<long double>(pageH) / 2;
    const long double r = static_cast<long double>(d) / 2;
    const long double rk = r * kBezierArm;
    AppendLines(out, {colour});
    AppendPathLine(out, {cx - r, cy}, "m");
    AppendPathLine(out, {cx - r, rk + cy, cx - rk, cy + r, cx, cy + r}, "c");
    AppendPathLine(out, {rk + cx, cy + r, cx + r, rk + cy, cx + r, cy}, "c");
    AppendPathLine(out, {cx + r, cy - rk, rk + cx, cy - r, cx, cy - r}, "c");
    AppendPathLine(out, {cx - rk, cy - r, cx - r, cy - rk, cx - r, cy}, "c");
    AppendLines(out, {"f"});
}

std::string BuildContent(const std::vector<double> &diameters, double side, bool negative)
{
    static constexpr std::string_view kWhite = "1 1 1 rg";
    static constexpr std::string_view kBlack = "0 0 0 rg";
    const std::string_view open = negative ? kBlack : kWhite;
    const std::string_view closed = negative ? kWhite : kBlack;

    std::string content;
    content.reserve(200 + diameters.size() * kCircleBytes);
    if (!negative) {
        // The positive is drawn on a black page.
        const std::string s = NumberToDotText(side);
        AppendLines(content, {kBlack, "0 0 m"});
        content += "0 " + s + " l" + std::string(kEol);
        content += s + " " + s + " l" + std::string(kEol);
        content += s + " 0 l" + std::string(kEol);
        AppendLines(content, {"0 0 l", "f"});
    }
    // Largest first: each smaller disc covers the middle of the one before, leaving rings.
    for (std::size_t i = diameters.size() - 1; i >= 1; --i)
        AppendDisc(content, i % 2 == 1 ? open : closed, side, side, diameters[i]);
    return content;
}

// The note breaks its lines with the "\r" escape, which a viewer shows as a new line.
std::string PdfNoteText(const ZonePlatePdfInput &input)
{
    std::string note;
    bool first = true;
    for (const std::string &line : ZonePlateNoteLines(input)) {
        if (!first)
            note += "\\r";
        note += PdfStringText(line);
        first = false;
    }
    return note;
}

} // namespace

std::string PdfDateText(const std::tm &time)
{
    return PaddedIntText(time.tm_year + 1900LL, 4) + PaddedIntText(time.tm_mon + 1LL, 2) +
           PaddedIntText(time.tm_mday, 2) + PaddedIntText(time.tm_hour, 2) +
           PaddedIntText(time.tm_min, 2) + PaddedIntText(time.tm_sec, 2);
}

std::string CurrentPdfDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return PdfDateText(local);
}

std::string ZonePlateTitle(const ZonePlatePdfInput &input)
{
    const std::int32_t m = input.magnification;
    std::string title = LoadStr(1700) + " - " + LoadStr(1701) + IntText(ZoneCount(input)) + ", " +
                        LoadStr(1702) + input.focalText + " " + input.unitText + ", " +
                        LoadStr(1704) + ZonePlateFNumberText(input.values);
    if (m > 1)
        title += ", " + LoadStr(1705) + IntText(m) + " x";
    return title;
}

std::vector<std::string> ZonePlateNoteLines(const ZonePlatePdfInput &input)
{
    const std::int32_t m = input.magnification;
    std::vector<std::string> lines = {
        LoadStr(1700),
        "",
        LoadStr(1701) + IntText(ZoneCount(input)),
        LoadStr(1703) + input.focalText + " " + input.unitText,
        LoadStr(1704) + ZonePlateFNumberText(input.values),
    };
    if (m > 1)
        lines.push_back(LoadStr(1705) + IntText(m) + " x");
    lines.insert(lines.end(), {"", LoadStr(1706), LoadStr(4)});
    return lines;
}

std::string BuildZonePlatePdf(const ZonePlatePdfInput &input)
{
    if (input.values.size() < 2)
        throw std::invalid_argument("a zone plate needs at least one zone");
    const std::int32_t m = input.magnification;

    // The writer's own copy of the diameters, in points at the chosen size.
    const std::vector<double> diameters = ZoneDiametersPoints(input.values, m);
    const double side = ZonePlatePageSide(input.values, m);
    const std::string sideText = NumberToDotText(side);

    const std::string content = BuildContent(diameters, side, input.negative);

    std::array<std::string, 10> pieces;
    AppendLines(pieces[0], {"%PDF-1.2"});
    AppendLines(pieces[1], {"1 0 obj", "<<", "/Type /Catalog", "/Pages 3 0 R", "/PageMode /UseNone",
                            "/PageLayout /SinglePage", ">>", "endobj"});
    const std::string date = PdfStringText(input.date);
    AppendLines(pieces[2],
                {"2 0 obj", "<<", "/Producer (" + PdfStringText(LoadStr(2)) + ")",
                 "/CreationDate (D:" + date + ")", "/ModDate (D:" + date + ")",
                 "/Title (" + PdfStringText(ZonePlateTitle(input)) + ")", ">>", "endobj"});
    AppendLines(pieces[3],
                {"3 0 obj", "<<", "/Type /Pages", "/Kids [4 0 R]", "/Count 1", ">>", "endobj"});
    AppendLines(pieces[4], {"4 0 obj", "<<", "/Type /Page", "/Parent 3 0 R",
                            "/MediaBox [0 0 " + sideText + " " + sideText + "]", "/Resources << ",
                            "/Font <<", "/F0 6 0 R", ">>", "/ProcSet [/PDF /Text /ImageC]", ">>",
                            "/Contents 5 0 R", "/Annots [7 0 R]", ">>", "endobj"});
    AppendLines(pieces[5],
                {"5 0 obj", "<<", "/Length " + IntText(static_cast<long long>(content.size())),
                 "/Filter []", ">>", "stream"});
    // The content goes between the head and the tail of piece 5 only when the file is joined,
    // so that the largest part of the file is copied once. Its last line already ends with
    // CR LF, and "endstream" follows directly.
    std::string streamTail;
    AppendLines(streamTail, {"endstream", "endobj"});
    AppendLines(pieces[6], {"6 0 obj", "<<", "/Type /Font", "/Subtype /Type1",
                            "/Encoding /WinAnsiEncoding", "/FirstChar 32", "/LastChar 255",
                            "/BaseFont /Helvetica", "/Name /F0", ">>", "endobj"});
    const long double rectTop = static_cast<long double>(side) - 0.5L;
    std::string rect = "/Rect [0.5 -150 260 ";
    AppendNumber(rect, rectTop);
    rect += "]";
    AppendLines(pieces[7], {"7 0 obj", "<<", "/Type /Annot", "/Subtype /Text", rect,
                            "/Contents (" + PdfNoteText(input) + ")",
                            "/T (" + PdfStringText(LoadStr(1700)) + ")", ">>", "endobj"});

    std::array<std::size_t, 10> sizes{};
    for (std::size_t piece = 0; piece < 8; ++piece)
        sizes[piece] = pieces[piece].size();
    sizes[5] += content.size() + streamTail.size();

    // Object j starts where pieces 0 to j - 1 end.
    long long offset = 0;
    AppendLines(pieces[8], {"xref", "0 8", "0000000000 65535 f"});
    for (std::size_t piece = 0; piece < 8; ++piece) {
        offset += static_cast<long long>(sizes[piece]);
        if (piece < 7)
            AppendLines(pieces[8], {PaddedIntText(offset, 10) + " 00000 n"});
    }
    AppendLines(pieces[9], {"trailer", "<<", "/Size 8", "/Root 1 0 R", "/Info 2 0 R", ">>",
                            "startxref", IntText(offset), "%%EOF"});

    std::string file;
    file.reserve(static_cast<std::size_t>(offset) + pieces[8].size() + pieces[9].size());
    for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
        file += pieces[piece];
        if (piece == 5) {
            file += content;
            file += streamTail;
        }
    }
    return file;
}

bool WriteZonePlatePdf(const std::string &path, const ZonePlatePdfInput &input, std::string *error)
{
    return WriteFileAtomically(path, BuildZonePlatePdf(input), error);
}

std::string ZonePlateSaveFailedText(std::string_view path)
{
    return LoadStr(1626) + std::string(path) + LoadStr(1627);
}

std::string ValidateZoneplateFileName(std::string_view name)
{
    if (name.empty())
        return {};
    std::string result(name);
    if (!name.ends_with(".pdf"))
        result += ".pdf";
    return result;
}

} // namespace tools
