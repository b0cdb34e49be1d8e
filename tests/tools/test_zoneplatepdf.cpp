// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"
#include "tools/zoneplatepdf.h"

#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace tools;
namespace fs = std::filesystem;
using testsupport::ReadFile;

namespace {

constexpr const char *kDate = "20240315093007";

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// A plate with the wavelength of the window's start (0.00055 mm) and the first Fresnel zone
// constant, so that its diameters are the Fresnel zone boundaries 2 * sqrt(i * f * lambda).
ZonePlatePdfInput Plate(int n, double focalMM, bool negative = false, std::int32_t m = 1,
                        std::string focalText = "")
{
    ZonePlatePdfInput in;
    in.values = CalculateZonePlate(n, focalMM, 0.00055, 2);
    in.focalText = focalText.empty() ? NumberToDotText(focalMM) : focalText;
    in.unitText = "mm";
    in.negative = negative;
    in.magnification = m;
    in.date = kDate;
    return in;
}

// Checks what a reader of the file relies on: CR LF on every line and no empty line, every
// cross-reference entry 20 bytes and pointing at its object, startxref pointing at "xref",
// and /Length equal to the bytes between "stream" CR LF and "endstream".
void ExpectSoundStructure(const std::string &pdf, const std::string &name)
{
    SCOPED_TRACE(name);
    ASSERT_GE(pdf.size(), 2u);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
    EXPECT_FALSE(Contains(pdf, "\r\n\r\n"));
    for (std::size_t i = 0; i < pdf.size(); ++i) {
        const bool lf = pdf[i] == '\n', cr = pdf[i] == '\r';
        ASSERT_FALSE(lf && (i == 0 || pdf[i - 1] != '\r')) << "bare LF at " << i;
        ASSERT_FALSE(cr && (i + 1 == pdf.size() || pdf[i + 1] != '\n')) << "bare CR at " << i;
    }

    const std::size_t startxrefAt = pdf.rfind("startxref\r\n");
    ASSERT_NE(startxrefAt, std::string::npos);
    const std::size_t xrefAt = std::stoul(pdf.substr(startxrefAt + 11));
    ASSERT_EQ(pdf.compare(xrefAt, 31, "xref\r\n0 8\r\n0000000000 65535 f\r\n"), 0);
    for (int j = 1; j <= 7; ++j) {
        const std::string entry = pdf.substr(xrefAt + 31 + 20 * (j - 1), 20);
        EXPECT_EQ(entry.substr(10), " 00000 n\r\n") << "entry " << j;
        const std::size_t offset = std::stoul(entry.substr(0, 10));
        const std::string head = std::to_string(j) + " 0 obj\r\n";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << "object " << j;
    }
    EXPECT_EQ(pdf.compare(xrefAt + 31 + 140, 9, "trailer\r\n"), 0);

    const std::size_t lengthAt = pdf.find("/Length ");
    ASSERT_NE(lengthAt, std::string::npos);
    const std::size_t length = std::stoul(pdf.substr(lengthAt + 8));
    const std::size_t begin = pdf.find("stream\r\n", lengthAt) + 8;
    EXPECT_EQ(pdf.find("endstream\r\n", begin), begin + length);
}

class ZonePlatePdf : public testsupport::ScratchDirTest
{
protected:
    // Writes the plate and has qpdf check the file, when qpdf is installed.
    void ExpectQpdfAccepts(const ZonePlatePdfInput &in, const std::string &name)
    {
        const fs::path path = dir_ / (name + ".pdf");
        ASSERT_TRUE(WriteZonePlatePdf(path.string(), in)) << name;
        const std::string command = "qpdf --check '" + path.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << name;
    }
};

} // namespace

TEST_F(ZonePlatePdf, WorkedPlatesMatchTheExpectedFiles)
{
    // Expected files: N = 3, f = 100 mm, lambda = 0.00055 mm, c = 2, true size. The outermost
    // diameter is 0.8124 mm = 2.3029 points, so the page is the 72-point minimum; the path
    // of zone 3 starts at 36 - 2.3029 / 2 = 34.8486, its top control point lies r * k above
    // the centre. Worked independently in exact decimal arithmetic.
    struct Case
    {
        const char *file;
        bool negative;
    };
    for (const Case c :
         {Case{"zoneplate_n3_positive.pdf", false}, Case{"zoneplate_n3_negative.pdf", true}}) {
        const std::string expected = ReadFile(fs::path(LUMIDRA_TEST_DATA) / c.file);
        ASSERT_FALSE(expected.empty()) << c.file;
        EXPECT_EQ(BuildZonePlatePdf(Plate(3, 100, c.negative)), expected) << c.file;
    }
}

TEST_F(ZonePlatePdf, QuotedLinesOfTheWorkedPlate)
{
    const std::string pos = BuildZonePlatePdf(Plate(3, 100));
    const char *lines[] = {
        "/MediaBox [0 0 72 72]\r\n",
        "stream\r\n0 0 0 rg\r\n0 0 m\r\n0 72 l\r\n72 72 l\r\n72 0 l\r\n0 0 l\r\nf\r\n"
        "1 1 1 rg\r\n34.8485614859571 36 m\r\n"
        "34.8485614859571 36.6359219316383 35.3640780683617 37.1514385140429 36 "
        "37.1514385140429 c\r\n",
        "f\r\n0 0 0 rg\r\n35.0598543901355 36 m\r\n",
        "f\r\n1 1 1 rg\r\n35.335216663962 36 m\r\n",
        "/Rect [0.5 -150 260 71.5]\r\n",
        "0000000010 00000 n\r\n0000000110 00000 n\r\n",
        "/Title (Zone Plate - Number of zones: 3, f 100 mm, f number 151)\r\n",
    };
    for (const char *line : lines)
        EXPECT_TRUE(Contains(pos, line)) << line;

    // The negative has no black page; its open zones 3 and 1 are black.
    const std::string neg = BuildZonePlatePdf(Plate(3, 100, true));
    EXPECT_FALSE(Contains(neg, "0 0 m"));
    EXPECT_TRUE(Contains(neg, "stream\r\n0 0 0 rg\r\n34.8485614859571 36 m\r\n"));
    EXPECT_TRUE(Contains(neg, "f\r\n1 1 1 rg\r\n35.0598543901355 36 m\r\n"));
    EXPECT_TRUE(Contains(neg, "f\r\n0 0 0 rg\r\n35.335216663962 36 m\r\n"));
}

TEST_F(ZonePlatePdf, StructureHoldsForEveryKindOfPlate)
{
    struct Case
    {
        const char *name;
        ZonePlatePdfInput in;
    };
    const Case cases[] = {
        {"positive", Plate(3, 100)},
        {"negative", Plate(3, 100, true)},
        {"enlarged", Plate(15, 150, false, 2)},
        {"1001 zones", Plate(1001, 100, true)},
        {"large page", Plate(101, 1000, false, 3)},
        {"escaped focal text", Plate(3, 100, false, 1, "1(0)\\")},
    };
    for (const Case &c : cases)
        ExpectSoundStructure(BuildZonePlatePdf(c.in), c.name);
}

TEST_F(ZonePlatePdf, QpdfAcceptsTheFiles)
{
    if (std::system("command -v qpdf >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "qpdf is not installed";
    ExpectQpdfAccepts(Plate(3, 100), "positive");
    ExpectQpdfAccepts(Plate(3, 100, true), "negative");
    ExpectQpdfAccepts(Plate(15, 150, false, 2), "enlarged");
    ExpectQpdfAccepts(Plate(1001, 100), "1001 zones");
    ExpectQpdfAccepts(Plate(3, 100, false, 1, "(1\\00))("), "escaped focal text");
}

TEST_F(ZonePlatePdf, EnlargementIsNamedInTitleAndNote)
{
    // N = 15, f = 150: the f number is 92 (worked in the calculation tests).
    const std::string twice = BuildZonePlatePdf(Plate(15, 150, false, 2));
    EXPECT_TRUE(Contains(
        twice,
        "/Title (Zone Plate - Number of zones: 15, f 150 mm, f number 92, enlarged 2 x)\r\n"));
    EXPECT_TRUE(Contains(twice, "\\rf number 92\\renlarged 2 x\\r\\rCreated by Lumidra.\\r"));

    const std::string once = BuildZonePlatePdf(Plate(15, 150));
    EXPECT_FALSE(Contains(once, "enlarged"));
    EXPECT_TRUE(Contains(once, "\\rf number 92\\r\\rCreated by Lumidra.\\r"));

    // Twice the diameters: the outermost 2.22486 mm becomes 4.44972 mm = 12.61338 points; the
    // page stays at 72 and zone 15 starts 6.30669 points left of the centre.
    EXPECT_TRUE(Contains(twice, "/MediaBox [0 0 72 72]"));
    EXPECT_TRUE(Contains(twice, "1 1 1 rg\r\n29.6933115227848 36 m\r\n"));
}

TEST_F(ZonePlatePdf, FocalTextIsEscapedInsideStrings)
{
    // Pasted by means the key filter does not see: a ")" would otherwise end the string.
    const std::string pdf = BuildZonePlatePdf(Plate(3, 100, false, 1, "1(0)\\"));
    EXPECT_TRUE(Contains(pdf, ", f 1\\(0\\)\\\\ mm, f number 151)\r\n"));
    EXPECT_TRUE(Contains(pdf, "\\rFocal length: 1\\(0\\)\\\\ mm\\r"));

    // A comma typed under a decimal comma stands as typed; texts become Windows-1252, control
    // characters become octal escapes so that no line of the file is broken.
    const std::string latin = BuildZonePlatePdf(Plate(3, 100, false, 1, "100,5\u00b5\r\n"));
    EXPECT_TRUE(Contains(latin, ", f 100,5\xb5\\015\\012 mm,"));
}

TEST_F(ZonePlatePdf, DateIsTheLocalTimeInFourteenDigits)
{
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 3;
    t.tm_sec = 7;
    EXPECT_EQ(PdfDateText(t), "20240305090307");
    const std::string now = CurrentPdfDate();
    EXPECT_EQ(now.size(), 14u);
    EXPECT_EQ(now.find_first_not_of("0123456789"), std::string::npos);
}

TEST_F(ZonePlatePdf, FileNameIsCompletedWithPdf)
{
    struct Case
    {
        const char *typed, *used;
    };
    const Case cases[] = {
        {"plate", "plate.pdf"},
        {"plate.pdf", "plate.pdf"},
        {"plate.PDF", "plate.PDF.pdf"},
        {"", ""},
        {"pdf", "pdf.pdf"},
        {"/a/b.pdf/c", "/a/b.pdf/c.pdf"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ValidateZoneplateFileName(c.typed), c.used) << c.typed;
}

TEST_F(ZonePlatePdf, FailedWriteLeavesNothingNewAndTheOldFileUnchanged)
{
    const ZonePlatePdfInput in = Plate(3, 100);
    EXPECT_EQ(ZonePlateSaveFailedText("/x/p.pdf"),
              "File /x/p.pdf cannot be saved. Make sure the disk is not full, write-protected or "
              "that the file is not currently in use.");

    // The parent path is a file.
    const fs::path blocker = dir_ / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_FALSE(WriteZonePlatePdf((blocker / "plate.pdf").string(), in));
    EXPECT_FALSE(fs::exists(blocker / "plate.pdf"));

    // The disk refuses the bytes (a file-size limit): no new file, an old file untouched.
    const fs::path fresh = dir_ / "fresh.pdf";
    const fs::path old = dir_ / "old.pdf";
    const std::string oldBytes = "an older plate";
    std::ofstream(old, std::ios::binary) << oldBytes;

    bool freshWritten = true;
    bool oldWritten = true;
    {
        const testsupport::FileSizeLimit limit(100);
        freshWritten = WriteZonePlatePdf(fresh.string(), in);
        oldWritten = WriteZonePlatePdf(old.string(), in);
    }

    EXPECT_FALSE(freshWritten);
    EXPECT_FALSE(oldWritten);
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(ReadFile(old), oldBytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
        << "only the blocker and the old file remain";

    // Without the limit the same write replaces the old file.
    EXPECT_TRUE(WriteZonePlatePdf(old.string(), in));
    EXPECT_EQ(ReadFile(old), BuildZonePlatePdf(in));
}
