// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cp1252.h"
#include "tools/exposureexport.h"
#include "tools/optics.h"
#include "tools/stringtable.h"

#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tools;
namespace fs = std::filesystem;
using testsupport::ReadFile;

namespace {

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    if (at < text.size())
        lines.push_back(text.substr(at)); // a last line without CR LF
    return lines;
}

// Where two documents part: the first differing line of text (or byte of a spreadsheet),
// both versions shown with their bytes escaped.
std::string Difference(const std::string &expected, const std::string &actual, bool binary)
{
    auto show = [](const std::string &s) {
        std::ostringstream out;
        for (unsigned char c : s) {
            if (c >= 32 && c < 127 && c != '\\')
                out << c;
            else
                out << "\\x"
                    << "0123456789ABCDEF"[c >> 4] << "0123456789ABCDEF"[c & 15];
        }
        return out.str();
    };
    if (binary) {
        std::size_t i = 0;
        while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
            ++i;
        return "first difference at byte " + std::to_string(i) + "\n- " +
               show(expected.substr(i, 24)) + "\n+ " + show(actual.substr(i, 24));
    }
    const auto e = Lines(expected), a = Lines(actual);
    for (std::size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        const std::string el = i < e.size() ? e[i] : "(no line)";
        const std::string al = i < a.size() ? a[i] : "(no line)";
        if (el != al)
            return "line " + std::to_string(i + 1) + "\n- " + show(el) + "\n+ " + show(al);
    }
    return "line ends differ";
}

// The table of the expected files: f 22 with a made-up film that needs 2.5 times the metered
// time from 1 s on (rows 11 to 18: 2,5 s, 5 s, 10 s, 20 s, 37,5 s, 1 m 15 s, 2 m 30 s, 5 m),
// exact times, decimal comma. The film's name holds a Windows-1252 letter (e acute, byte E9)
// and double quotes.
ExportTexts SampleTexts()
{
    const TFilmRecord film{"T\xE9st \"Q\" 100", "+0+2.5", 1, 30};
    const ExposureResult result = ComputeExposureTimes(22, &film);
    const ExposureLabels labels =
        CompleteExposureTimeLabels(StoredExposureTimeLabels(), "s", "m", "h");
    const std::string factor = ExposureFactorText("22", ',');
    const std::string name = Cp1252ToUtf8(film.Name);
    ExportInputs in;
    in.FNumberText = "22";
    in.FactorText = factor;
    in.Reciprocity = true;
    in.FilmName = name;
    in.FilmDBVersion = "2026.12 (2026-12-07)";
    in.Labels = &labels;
    in.Times = &result.Times;
    in.Mode = 0;
    in.DecSep = ',';
    return MakeExportTexts(in);
}

struct Format
{
    const char *kind;
    const char *file;
};
constexpr Format kFormats[] = {{"excel", "exposure_f22.xls"},
                               {"txtformat", "exposure_f22_formatted.txt"},
                               {"txttab", "exposure_f22_tab.txt"},
                               {"csv", "exposure_f22.csv"}};

class ExposureExport : public testsupport::ScratchDirTest
{
protected:
    std::string Document(const char *kind) { return BuildExposureDocument(kind, texts_).value(); }

    const ExportTexts texts_ = SampleTexts();
};

} // namespace

TEST_F(ExposureExport, TextsComeFromTheStringTableAndTheTab)
{
    EXPECT_EQ(texts_.T1, "Pinhole camera exposure times");
    EXPECT_EQ(texts_.T2, "f number: 22");
    EXPECT_EQ(texts_.T3, "Exposure factor for f number 22: 1 x");
    EXPECT_EQ(texts_.T4, "Including reciprocity failure for film: T\u00E9st \"Q\" 100");
    EXPECT_EQ(texts_.H1, "Time for f 22");
    EXPECT_EQ(texts_.H2, "Resulting time");
    EXPECT_EQ(texts_.T5, "Created by Lumidra 2.0, film database 2026.12 (2026-12-07)");
    EXPECT_EQ(texts_.T6, LoadStr(4));
    EXPECT_EQ(texts_.Labels[10], "1 s");
    EXPECT_EQ(texts_.Values[10], "2,5 s");

    // No correction, no database.
    ExportInputs in;
    in.FNumberText = "250";
    const ExportTexts plain = MakeExportTexts(in);
    EXPECT_EQ(plain.T4, "Not including reciprocity failure");
    EXPECT_EQ(plain.T5, "Created by Lumidra 2.0, film database ");
}

TEST_F(ExposureExport, DocumentsMatchTheExpectedFiles)
{
    for (const Format &f : kFormats) {
        const std::string expected = ReadFile(fs::path(LUMIDRA_TEST_DATA) / f.file);
        ASSERT_FALSE(expected.empty()) << f.file;
        const std::string actual = Document(f.kind);
        EXPECT_TRUE(actual == expected)
            << f.file << ": " << Difference(expected, actual, f.kind == std::string("excel"));
    }
}

TEST_F(ExposureExport, TextFilesHold27LinesWithTheColumnsInPlace)
{
    for (const char *kind : {"txtformat", "txttab", "csv"}) {
        const std::string doc = Document(kind);
        ASSERT_EQ(doc.substr(doc.size() - 2), "\r\n") << kind;
        const auto lines = Lines(doc);
        ASSERT_EQ(lines.size(), 27u) << kind;
        EXPECT_EQ(lines[4], "") << kind;
        EXPECT_EQ(lines[24], "") << kind;
    }
    // Line 6: "Time for f 22" (13 characters) and 9 blanks, the heading of the times at 23.
    const auto formatted = Lines(Document("txtformat"));
    EXPECT_EQ(formatted[5], "Time for f 22         Resulting time");
    EXPECT_EQ(formatted[6], "1/1000                1/1000");

    const auto csv = Lines(Document("csv"));
    EXPECT_EQ(csv[0], "\"Pinhole camera exposure times\",");
    EXPECT_EQ(csv[6], "\"1/1000\",\"1/1000\"");
    // Quotes inside a text are doubled, so that the name stays one field.
    EXPECT_EQ(csv[3], "\"Including reciprocity failure for film: T\xE9st \"\"Q\"\" 100\",");
    EXPECT_EQ(csv[26], "\"" + Utf8ToCp1252(LoadStr(4)) + "\",");
}

TEST_F(ExposureExport, SpreadsheetHoldsBofFortyFourLabelsAndEof)
{
    const std::string xls = Document("excel");
    ASSERT_GE(xls.size(), 16u);
    EXPECT_EQ(xls.substr(0, 12),
              std::string("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12));
    // The first cell: type 04 02, length 8 + 29 = 37 (25 00), row 0, column 0, format 0,
    // text length 29 (1D 00), then the title.
    EXPECT_EQ(xls.substr(12, 12),
              std::string("\x04\x02\x25\x00\x00\x00\x00\x00\x00\x00\x1D\x00", 12));
    EXPECT_EQ(xls.substr(24, 29), "Pinhole camera exposure times");
    EXPECT_EQ(xls.substr(xls.size() - 4), std::string("\x0A\x00\x00\x00", 4));

    auto word = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(xls[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(xls[at + 1])) << 8;
    };
    // Walk the records: (row, column) of every LABEL in the order of the cell table.
    std::vector<std::pair<unsigned, unsigned>> cells;
    std::size_t at = 12;
    while (at + 4 <= xls.size() && word(at) == 0x0204) {
        EXPECT_EQ(word(at + 2), 8 + word(at + 10));
        cells.emplace_back(word(at + 4), word(at + 6));
        at += 4 + word(at + 2);
    }
    EXPECT_EQ(at, xls.size() - 4);
    ASSERT_EQ(cells.size(), 44u);
    EXPECT_EQ(cells[4], std::make_pair(5u, 0u));
    EXPECT_EQ(cells[5], std::make_pair(5u, 1u));
    EXPECT_EQ(cells[6], std::make_pair(6u, 0u));
    EXPECT_EQ(cells[41], std::make_pair(23u, 1u));
    EXPECT_EQ(cells[42], std::make_pair(25u, 0u));
    EXPECT_EQ(cells[43], std::make_pair(26u, 0u));
}

TEST(ExposureExportParts, LabelRecordsAndTheirLengthLimit)
{
    std::string out = "x";
    EXPECT_TRUE(WriteXlsLabel(out, 1, 0x0203, "ab"));
    EXPECT_EQ(out, std::string("x\x04\x02\x0A\x00\x03\x02\x01\x00\x00\x00\x02\x00"
                               "ab",
                               15));

    // 8 + L must fit in 16 bits: 65527 bytes is the longest text.
    std::string longest(65527, 'a');
    out.clear();
    EXPECT_TRUE(WriteXlsLabel(out, 0, 0, longest));
    EXPECT_EQ(out.substr(2, 2), "\xFF\xFF");
    out = "kept";
    EXPECT_FALSE(WriteXlsLabel(out, 0, 0, longest + 'a'));
    EXPECT_EQ(out, "kept");
}

TEST(ExposureExportParts, PadRightFillsToTheLength)
{
    struct Case
    {
        const char *text;
        std::size_t length;
        char fill;
        const char *padded;
    };
    const Case cases[] = {
        {"1/1000", 10, ' ', "1/1000    "},
        {"", 3, '.', "..."},
        {"exactly ten", 11, ' ', "exactly ten"},
        {"longer than that", 5, ' ', "longer than that"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PadRight(c.text, c.length, c.fill), c.padded) << c.text;
}

TEST(ExposureExportParts, FileNameTakesTheExtensionOfTheFilter)
{
    struct Case
    {
        const char *name;
        int filter;
        const char *path;
    };
    const Case cases[] = {
        {"times", 1, "times.xls"},
        {"times.txt", 4, "times.csv"},
        {"times.TXT", 2, "times.TXT.txt"},
        {"data.dat", 3, "data.dat.txt"},
        {"times.csv", 3, "times.txt"},
        {"times.xls", 1, "times.xls"},
        {"a.txt", 5, "a"},
        {"", 1, ""},
        {"times", 0, ""},
        {"times", -1, ""},
        {"/d.xls/t", 1, "/d.xls/t.xls"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ValidateExposureFileName(c.name, c.filter), c.path) << c.name << ' ' << c.filter;
    const char *kinds[] = {"", "excel", "txtformat", "txttab", "csv", ""};
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(ExposureExportKind(i), kinds[i]) << i;
    EXPECT_EQ(ExposureReplaceQuestionText("/d/t.xls"), "File /d/t.xls already exists. Replace?");
    EXPECT_EQ(ExposureSaveFailedText("/d/t.xls"),
              "File /d/t.xls cannot be saved. Make sure the disk is not full, write-protected or "
              "that the file is not currently in use.");
}

TEST_F(ExposureExport, SavesWholeFilesOrNothing)
{
    for (const Format &f : kFormats) {
        const fs::path path = dir_ / f.file;
        ASSERT_TRUE(ExportExposureTable(path.string(), f.kind, texts_)) << f.kind;
        EXPECT_EQ(ReadFile(path), Document(f.kind)) << f.kind;
    }
    // Nothing to write: an unknown kind, a text too long for a spreadsheet cell.
    EXPECT_EQ(BuildExposureDocument("pdf", texts_), std::nullopt);
    EXPECT_FALSE(ExportExposureTable((dir_ / "t.pdf").string(), "pdf", texts_));
    ExportTexts huge = texts_;
    huge.T6.assign(70000, 'a');
    EXPECT_FALSE(ExportExposureTable((dir_ / "huge.xls").string(), "excel", huge));
    EXPECT_TRUE(ExportExposureTable((dir_ / "huge.txt").string(), "txtformat", huge));
    EXPECT_FALSE(fs::exists(dir_ / "t.pdf"));
    EXPECT_FALSE(fs::exists(dir_ / "huge.xls"));
}

TEST_F(ExposureExport, FailedSaveLeavesNothingNewAndTheOldFileUnchanged)
{
    // The parent path is a file.
    const fs::path blocker = dir_ / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_FALSE(ExportExposureTable((blocker / "t.csv").string(), "csv", texts_));
    EXPECT_FALSE(fs::exists(blocker / "t.csv"));

    // The disk refuses the bytes (a file-size limit): no new file, an old file untouched,
    // in every format.
    const std::string oldBytes = "an older table";
    for (const Format &f : kFormats) {
        std::ofstream(dir_ / ("old_" + std::string(f.file)), std::ios::binary) << oldBytes;
    }
    std::vector<bool> written;
    {
        const testsupport::FileSizeLimit limit(100);
        for (const Format &f : kFormats) {
            written.push_back(ExportExposureTable((dir_ / f.file).string(), f.kind, texts_));
            written.push_back(ExportExposureTable((dir_ / ("old_" + std::string(f.file))).string(),
                                                  f.kind, texts_));
        }
    }

    EXPECT_EQ(written, std::vector<bool>(8, false));
    for (const Format &f : kFormats) {
        EXPECT_FALSE(fs::exists(dir_ / f.file)) << f.kind;
        EXPECT_EQ(ReadFile(dir_ / ("old_" + std::string(f.file))), oldBytes) << f.kind;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 5)
        << "only the blocker and the four old files remain";
}
