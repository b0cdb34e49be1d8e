// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exposureexport.h"

#include "tools/atomicfile.h"
#include "tools/cp1252.h"
#include "tools/stringtable.h"

#include <vector>

namespace tools {

namespace {

constexpr std::size_t kColumnWidth = 22; // the second column of formatted text starts at 23
constexpr std::size_t kMaxLabelText = 0xFFFF - 8;
const char *const kLineEnd = "\r\n";

struct Cell
{
    std::uint16_t Row;
    std::uint16_t Col;
    std::string Text;
};

// The document's texts in the file's code page.
struct FileTexts
{
    std::string T1, T2, T3, T4, H1, H2, T5, T6;
    std::array<std::string, kExposureRows> Labels, Values;

    explicit FileTexts(const ExportTexts &t)
        : T1(Utf8ToCp1252(t.T1)), T2(Utf8ToCp1252(t.T2)), T3(Utf8ToCp1252(t.T3)),
          T4(Utf8ToCp1252(t.T4)), H1(Utf8ToCp1252(t.H1)), H2(Utf8ToCp1252(t.H2)),
          T5(Utf8ToCp1252(t.T5)), T6(Utf8ToCp1252(t.T6))
    {
        for (int k = 0; k < kExposureRows; ++k) {
            Labels[k] = Utf8ToCp1252(t.Labels[k]);
            Values[k] = Utf8ToCp1252(t.Values[k]);
        }
    }
};

void PutWord(std::string &out, std::uint16_t w)
{
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>(w >> 8);
}

std::optional<std::string> Spreadsheet(const FileTexts &t)
{
    std::vector<Cell> cells = {{0, 0, t.T1}, {1, 0, t.T2}, {2, 0, t.T3},
                               {3, 0, t.T4}, {5, 0, t.H1}, {5, 1, t.H2}};
    for (int k = 0; k < kExposureRows; ++k) {
        const auto row = static_cast<std::uint16_t>(6 + k);
        cells.push_back({row, 0, t.Labels[k]});
        cells.push_back({row, 1, t.Values[k]});
    }
    cells.push_back({25, 0, t.T5});
    cells.push_back({26, 0, t.T6});

    std::string out("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12); // BOF, worksheet
    for (const Cell &c : cells)
        if (!WriteXlsLabel(out, c.Col, c.Row, c.Text))
            return std::nullopt;
    out.append("\x0A\x00\x00\x00", 4); // EOF
    return out;
}

std::string FormattedText(const FileTexts &t)
{
    std::string out;
    auto line = [&](const std::string &text) { (out += text) += kLineEnd; };
    for (const std::string *heading : {&t.T1, &t.T2, &t.T3, &t.T4})
        line(*heading);
    line("");
    line(PadRight(t.H1, kColumnWidth, ' ') + t.H2);
    for (int k = 0; k < kExposureRows; ++k)
        line(PadRight(t.Labels[k], kColumnWidth, ' ') + t.Values[k]);
    line("");
    line(t.T5);
    line(t.T6);
    return out;
}

// Tab-delimited text has no quotes; CSV quotes every text and doubles the quotes inside it,
// so that a film named with a quote character still reads back as one field.
std::string DelimitedText(const FileTexts &t, bool csv)
{
    const char sep = csv ? ',' : '\t';
    auto field = [&](const std::string &text) {
        if (!csv)
            return text;
        std::string q = "\"";
        for (char c : text)
            (c == '"' ? q += "\"\"" : q += c);
        return q + '"';
    };
    std::string out;
    auto line = [&](const std::string &text) { (out += text) += kLineEnd; };
    for (const std::string *heading : {&t.T1, &t.T2, &t.T3, &t.T4})
        line(field(*heading) + sep);
    line("");
    line(field(t.H1) + sep + field(t.H2));
    for (int k = 0; k < kExposureRows; ++k)
        line(field(t.Labels[k]) + sep + field(t.Values[k]));
    line("");
    line(field(t.T5) + sep);
    line(field(t.T6) + sep);
    return out;
}

} // namespace

std::string ValidateExposureFileName(std::string_view name, int filterIndex)
{
    if (name.empty() || filterIndex <= 0)
        return {};
    std::string path(name);
    if (path.size() >= 4) {
        std::string_view tail = std::string_view(path).substr(path.size() - 4);
        if (tail == ".xls" || tail == ".txt" || tail == ".csv")
            path.resize(path.size() - 4);
    }
    switch (filterIndex) {
    case 1:
        return path + ".xls";
    case 2:
    case 3:
        return path + ".txt";
    case 4:
        return path + ".csv";
    default:
        return path;
    }
}

std::string ExposureReplaceQuestionText(std::string_view path)
{
    return LoadStr(1822) + std::string(path) + LoadStr(1823);
}

std::string ExposureSaveFailedText(std::string_view path)
{
    return LoadStr(1824) + std::string(path) + LoadStr(1825);
}

std::string_view ExposureExportKind(int filterIndex)
{
    constexpr std::string_view kinds[] = {"excel", "txtformat", "txttab", "csv"};
    return filterIndex >= 1 && filterIndex <= 4 ? kinds[filterIndex - 1] : std::string_view{};
}

std::string PadRight(std::string_view text, std::size_t length, char fill)
{
    std::string out(text);
    if (out.size() < length)
        out.append(length - out.size(), fill);
    return out;
}

bool WriteXlsLabel(std::string &out, std::uint16_t col, std::uint16_t row, std::string_view text)
{
    if (text.size() > kMaxLabelText)
        return false;
    const auto length = static_cast<std::uint16_t>(text.size());
    PutWord(out, 0x0204);
    PutWord(out, static_cast<std::uint16_t>(8 + length));
    PutWord(out, row);
    PutWord(out, col);
    PutWord(out, 0); // cell format
    PutWord(out, length);
    out += text;
    return true;
}

ExportTexts MakeExportTexts(const ExportInputs &in)
{
    ExportTexts t;
    t.T1 = LoadStr(1900);
    t.T2 = LoadStr(1901) + ' ' + std::string(in.FNumberText);
    t.T3 = LoadStr(1902) + ' ' + std::string(in.FactorText) + " x";
    t.T4 = in.Reciprocity ? LoadStr(1903) + ' ' + std::string(in.FilmName) : LoadStr(1904);
    t.H1 = LoadStr(1905);
    t.H2 = LoadStr(1906);
    t.T5 = LoadStr(1907) + ' ' + LoadStr(2) + ", " + LoadStr(1908) + ' ' +
           std::string(in.FilmDBVersion);
    t.T6 = LoadStr(4);
    for (int k = 0; k < kExposureRows; ++k) {
        if (in.Labels)
            t.Labels[k] = (*in.Labels)[k];
        if (in.Times)
            t.Values[k] = FormatExposureTime(in.Mode, (*in.Times)[k], in.DecSep);
    }
    return t;
}

std::optional<std::string> BuildExposureDocument(std::string_view kind, const ExportTexts &texts)
{
    const FileTexts t(texts);
    if (kind == "excel")
        return Spreadsheet(t);
    if (kind == "txtformat")
        return FormattedText(t);
    if (kind == "txttab" || kind == "csv")
        return DelimitedText(t, kind == "csv");
    return std::nullopt;
}

bool ExportExposureTable(const std::string &path, std::string_view kind, const ExportTexts &texts)
{
    const std::optional<std::string> document = BuildExposureDocument(kind, texts);
    return document && WriteFileAtomically(path, *document);
}

} // namespace tools
