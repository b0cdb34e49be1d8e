// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numtext.h"
#include "tools/zoneplatesvg.h"

#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace tools;
namespace fs = std::filesystem;
using testsupport::ReadFile;

namespace {

ZonePlatePdfInput Plate(int n, double focalMM, bool negative = false, std::int32_t m = 1)
{
    ZonePlatePdfInput in;
    in.values = CalculateZonePlate(n, focalMM, 0.00055, 2);
    in.focalText = NumberToDotText(focalMM);
    in.unitText = "mm";
    in.negative = negative;
    in.magnification = m;
    in.date = "20240315093007";
    return in;
}

std::vector<std::string> AllMatches(const std::string &text, const std::string &pattern)
{
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        found.push_back((*it)[1].str());
    return found;
}

} // namespace

TEST(ZonePlateSvg, WorkedPlatesMatchTheExpectedFiles)
{
    // N = 3, f = 100 mm, lambda = 0.00055 mm, c = 2, true size, as the PDF's expected files:
    // a 72-point page (25.4 mm), centre 36, radii D / 2 with D = 2 sqrt(i * 0.055) / 25.4 * 72,
    // worked in exact decimal arithmetic: 1.151438514042892, 0.940145609864523 and
    // 0.664783336037966 points, written to 15 significant digits.
    for (const bool negative : {false, true}) {
        const char *file = negative ? "zoneplate_n3_negative.svg" : "zoneplate_n3_positive.svg";
        const std::string expected = ReadFile(fs::path(LUMIDRA_TEST_DATA) / file);
        ASSERT_FALSE(expected.empty()) << file;
        EXPECT_EQ(BuildZonePlateSvg(Plate(3, 100, negative)), expected) << file;
    }
}

// The image is the PDF's plate number for number: the page side, the colours from the largest
// disc to the smallest, every disc's centre and its leftmost point cx - r, where the PDF's path
// starts.
TEST(ZonePlateSvg, SamePlateAsThePdf)
{
    struct Case
    {
        const char *name;
        ZonePlatePdfInput in;
    };
    const Case cases[] = {
        {"one zone", Plate(1, 100)},
        {"enlarged negative", Plate(15, 150, true, 2)},
        {"large page", Plate(101, 1000, false, 3)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdf = BuildZonePlatePdf(c.in);
        const std::string svg = BuildZonePlateSvg(c.in);
        const std::string side = AllMatches(pdf, R"(/MediaBox \[0 0 (\S+) )").at(0);
        EXPECT_EQ(AllMatches(svg, R"(viewBox="0 0 (\S+) )").at(0), side);

        // A positive's black page starts with a move to the origin.
        std::vector<std::string> starts = AllMatches(pdf, R"(\n(\S+) \S+ m\r)");
        if (!c.in.negative)
            starts.erase(starts.begin());
        const std::vector<std::string> radii = AllMatches(svg, R"re(r="([^"]+)")re");
        const std::vector<std::string> centres = AllMatches(svg, R"re(cx="([^"]+)")re");
        const std::vector<std::string> curveEnds =
            AllMatches(pdf, R"(\n\S+ \S+ \S+ \S+ (\S+) \S+ c\r)");
        ASSERT_EQ(radii.size(), c.in.values.size() - 1);
        ASSERT_EQ(starts.size(), radii.size());
        for (std::size_t i = 0; i < radii.size(); ++i) {
            const double left = std::stod(centres[i]) - std::stod(radii[i]);
            EXPECT_NEAR(left, std::stod(starts[i]), 1e-12 * std::stod(side)) << "disc " << i;
            // The top point of the disc, the end of the first curve, lies at x = cx.
            EXPECT_EQ(centres[i], curveEnds.at(4 * i)) << "disc " << i;
        }

        // The PDF's colour lines after its optional black page, against the SVG's fills after
        // its page.
        std::vector<std::string> pdfColours = AllMatches(pdf, R"(\n(\d \d \d) rg\r)");
        if (!c.in.negative)
            pdfColours.erase(pdfColours.begin());
        std::vector<std::string> svgColours = AllMatches(svg, R"re(fill="(\w+)")re");
        EXPECT_EQ(svgColours.front(), c.in.negative ? "white" : "black");
        svgColours.erase(svgColours.begin());
        ASSERT_EQ(svgColours.size(), pdfColours.size());
        for (std::size_t i = 0; i < svgColours.size(); ++i)
            EXPECT_EQ(svgColours[i], pdfColours[i] == "0 0 0" ? "black" : "white") << i;
    }
}

TEST(ZonePlateSvg, TitleAndDescriptionAreEscaped)
{
    ZonePlatePdfInput in = Plate(3, 100);
    in.focalText = "1<0>&";
    const std::string svg = BuildZonePlateSvg(in);
    EXPECT_NE(svg.find(", f 1&lt;0&gt;&amp; mm, f number 151</title>"), std::string::npos);
    EXPECT_NE(svg.find("\nFocal length: 1&lt;0&gt;&amp; mm\n"), std::string::npos);
}

TEST(ZonePlateSvg, XmlTextHoldsOnlyWhatXmlCan)
{
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case
    {
        const char *name;
        std::string in, out;
    };
    const Case cases[] = {
        {"markup", "a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c'"},
        {"tab and LF kept, CR referenced", "a\tb\nc\rd", "a\tb\nc&#13;d"},
        {"other controls", std::string("a\x01\x1f", 3) + std::string(1, '\0'),
         "a" + fffd + fffd + fffd},
        {"Latin and beyond kept", "100,5\u00b5 \u20ac \U0001F4F7", "100,5\u00b5 \u20ac \U0001F4F7"},
        {"truncated sequence", "a\xC3", "a" + fffd},
        {"overlong slash", "\xC0\xAF", fffd + fffd},
        {"not a character", "\xEF\xBF\xBE", fffd},
        {"Windows-1252 byte", "\xB5m", fffd + "m"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(XmlText(c.in), c.out) << c.name;
}

TEST(ZonePlateSvg, FileNamesAreCompletedForTheirKind)
{
    using K = ZonePlateFileKind;
    struct Case
    {
        const char *typed;
        K chosen;
        const char *used;
        K written;
    };
    const Case cases[] = {
        {"plate", K::Svg, "plate.svg", K::Svg},
        {"plate", K::Pdf, "plate.pdf", K::Pdf},
        {"plate.svg", K::Pdf, "plate.svg", K::Svg},
        {"plate.pdf", K::Svg, "plate.pdf", K::Pdf},
        {"plate.SVG", K::Svg, "plate.SVG.svg", K::Svg},
        {"", K::Svg, "", K::Svg},
    };
    for (const Case &c : cases) {
        const ZonePlateFileName name = CompleteZonePlateFileName(c.typed, c.chosen);
        EXPECT_EQ(name.path, c.used) << c.typed;
        EXPECT_EQ(name.kind, c.written) << c.typed;
    }
}
