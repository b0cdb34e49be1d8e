// SPDX-License-Identifier: GPL-3.0-or-later
// The web page's way into the core. Each function hands the page's field texts to the routine
// the window calls for the same field and gives back its texts, numbers and file bytes; none
// computes a number of its own. The calculators are bound here, the films and the exposure
// table in bindings_films.cpp.
#include "web/bindings.h"

#include "tools/constants.h"
#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/stringtable.h"
#include "tools/unitconvert.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"
#include "tools/zoneplateprint.h"
#include "tools/zoneplatesvg.h"

#include <emscripten/bind.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using emscripten::val;
using web::Bytes;
using web::Number;
using web::Sep;
using web::Strings;

val CheckZoneCount(const std::string &text)
{
    std::int32_t n = 0;
    const tools::ZoneCountCheck check = tools::CheckZoneCount(text, &n);
    val result = val::object();
    result.set("ok", check == tools::ZoneCountCheck::Ok);
    result.set("n", n);
    result.set("message", tools::ZoneCountMessage(check, text));
    return result;
}

// The plate of the zone plate tab, as the window computes it: n is a count CheckZoneCount
// accepted, the lengths in millimetres.
struct Plate
{
    int n;
    double focalMM;
    double waveMM;
    double c;

    tools::TZonePlateValues Values() const
    {
        return tools::CalculateZonePlate(n, focalMM, waveMM, c);
    }
};

val ZonePlateTable(int n, double focalMM, double waveMM, double c, int mainUnit, int places,
                   int sep)
{
    const tools::TZonePlateValues values = Plate{n, focalMM, waveMM, c}.Values();
    std::vector<std::string> cells;
    for (std::size_t i = 1; i < values.size(); ++i)
        cells.push_back(tools::ZoneTableCellText(values[i], mainUnit, places, Sep(sep)));
    val result = val::object();
    result.set("fNumber", tools::ZonePlateFNumberText(values));
    result.set("cells", Strings(cells));
    return result;
}

val ZonePlatePrintCheck(int n, double focalMM, double waveMM, double c, int m, int dpi,
                        int mainUnit, int places, int sep)
{
    const tools::ZonePlatePrintCheck check =
        tools::CheckZonePlatePrint(Plate{n, focalMM, waveMM, c}.Values(), m, dpi);
    val result = val::object();
    result.set("text", tools::PrintCheckText(check, dpi, mainUnit, places, Sep(sep)));
    result.set("tooFine", check.tooFine);
    return result;
}

bool ZonePlatePageTooLarge(int n, double focalMM, double waveMM, double c, int m)
{
    const tools::TZonePlateValues values = Plate{n, focalMM, waveMM, c}.Values();
    return tools::PageTooLarge(tools::ZonePlatePageSide(values, m));
}

// The bytes of the PDF (svg false) or SVG drawing, dated now.
val ZonePlateDrawing(bool svg, int n, double focalMM, double waveMM, double c,
                     const std::string &focalText, const std::string &unitText, bool negative,
                     int m)
{
    tools::ZonePlatePdfInput input;
    input.values = Plate{n, focalMM, waveMM, c}.Values();
    input.focalText = focalText;
    input.unitText = unitText;
    input.negative = negative;
    input.magnification = m;
    input.date = tools::CurrentPdfDate();
    return Bytes(svg ? tools::BuildZonePlateSvg(input) : tools::BuildZonePlatePdf(input));
}

std::string ZonePlateFileName(const std::string &name, bool svg)
{
    return tools::ZonePlateFileNameFor(name, svg ? tools::ZonePlateFileKind::Svg
                                                 : tools::ZonePlateFileKind::Pdf);
}

val ParseWholeNumber(const std::string &text)
{
    const std::optional<std::int32_t> n = tools::ParseWholeNumber(text);
    return n ? val(*n) : val::null();
}

val ParsePrinterDpi(const std::string &text)
{
    const std::optional<int> dpi = tools::ParsePrinterDpi(text);
    return dpi ? val(*dpi) : val::null();
}

val ParseUserConstant(const std::string &text, int sep)
{
    const tools::UserConstantInput in = tools::ParseUserConstant(text, Sep(sep));
    val result = val::object();
    result.set("store", in.kind == tools::UserConstantInput::Kind::Store);
    result.set("value", in.value);
    result.set("message", in.message);
    return result;
}

val AngleOfView(const std::string &a, const std::string &b, const std::string &formatUnit,
                const std::string &focal, const std::string &focalUnit, int sep)
{
    const std::optional<tools::ViewAngle> angle =
        tools::AngleOfView(a, b, formatUnit, focal, focalUnit, Sep(sep));
    if (!angle)
        return val::null();
    val result = val::object();
    result.set("halfAngle", angle->halfAngle);
    result.set("degrees", angle->degrees);
    return result;
}

// The ends of the diagram's lines, upper first: [x, y, x, y] for the normal lens and for the
// chosen angle.
val AngleDiagram(double halfAngle)
{
    const tools::AngleDiagram d = tools::AngleDiagramLines(halfAngle);
    const auto ends = [](const std::array<tools::DiagramPoint, 2> &p) {
        val array = val::array();
        for (const tools::DiagramPoint &point : p) {
            array.call<void>("push", point.x);
            array.call<void>("push", point.y);
        }
        return array;
    };
    val result = val::object();
    result.set("apexX", d.apex.x);
    result.set("apexY", d.apex.y);
    result.set("normal", ends(d.normal));
    result.set("chosen", ends(d.chosen));
    return result;
}

val MagnificationTexts(const std::string &dist, const std::string &distUnit,
                       const std::string &focal, const std::string &focalUnit,
                       const std::string &size, const std::string &sizeUnit,
                       const std::string &resultUnit, int places, int sep)
{
    const tools::MagnificationResult r = tools::MagnificationTexts(
        dist, distUnit, focal, focalUnit, size, sizeUnit, resultUnit, places, Sep(sep));
    val result = val::object();
    result.set("magnification", r.magnification);
    result.set("sizeOnFilm", r.sizeOnFilm);
    return result;
}

val ConvertLength(const std::string &text, const std::string &unit, int sep)
{
    const std::optional<tools::LengthInUnits> r = tools::ConvertLength(text, unit, Sep(sep));
    if (!r)
        return val::null();
    val result = val::object();
    result.set("mm", r->mm);
    result.set("cm", r->cm);
    result.set("in", r->in);
    return result;
}

// A key of a numeric field: the key to let through (0 swallows it) and the clipboard text a
// paste may have stripped.
val FilterKey(bool decimal, int key, const std::string &fieldText, const std::string &outside,
              const std::string &clipboard, int sep)
{
    std::string clip = clipboard;
    const char32_t passed = decimal ? tools::FilterDecimalKey(static_cast<char32_t>(key), fieldText,
                                                              outside, clip, Sep(sep))
                                    : tools::FilterIntegerKey(static_cast<char32_t>(key), clip);
    val result = val::object();
    result.set("key", static_cast<int>(passed));
    result.set("clipboard", clip);
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(lumidra)
{
    using namespace emscripten;

    function(
        "loadStr", +[](int id) { return tools::LoadStr(id); });
    function(
        "formatStr", +[](int id, const std::string &arg) { return tools::FormatStr(id, arg); });

    // Numbers and units.
    function(
        "textToNumber",
        +[](const std::string &text, int sep) { return tools::TextToNumber(text, Sep(sep)); });
    function(
        "lengthTextToMM", +[](const std::string &text, const std::string &unit, int sep) {
            return tools::LengthTextToMM(text, unit, Sep(sep));
        });
    function(
        "formatLength", +[](const std::string &unit, int places, double mm, int sep) {
            return tools::FormatLength(unit, places, mm, Sep(sep));
        });
    function(
        "generalNumberText",
        +[](double value, int sep) { return tools::GeneralNumberText(value, Sep(sep)); });
    function("filterKey", &FilterKey);
    function("convertLength", &ConvertLength);
    function("parseWholeNumber", &ParseWholeNumber);

    // The constant lists and the user constant dialog.
    function(
        "constantListEntries", +[](double stored, int sep) {
            return Strings(tools::ConstantListEntries(stored, Sep(sep)));
        });
    function("constantListSelection", &tools::ConstantListSelection);
    function(
        "isSeparatorEntry",
        +[](const std::string &entry) { return tools::IsSeparatorEntry(entry); });
    function(
        "isActionEntry", +[](const std::string &entry) { return tools::IsActionEntry(entry); });
    function(
        "constantFromEntry", +[](const std::string &entry, int sep) {
            return Number(tools::ConstantFromEntry(entry, Sep(sep)));
        });
    function(
        "userConstantFromStored",
        +[](double stored) { return Number(tools::UserConstantFromStored(stored)); });
    function(
        "userConstantFieldText",
        +[](double stored, int sep) { return tools::UserConstantFieldText(stored, Sep(sep)); });
    function("parseUserConstant", &ParseUserConstant);

    // The pinhole, angle of view and magnification tabs.
    function(
        "optimalDiameterText",
        +[](const std::string &focal, const std::string &focalUnit, const std::string &wave,
            double c, const std::string &resultUnit, int places, int sep) {
            return tools::OptimalDiameterText(focal, focalUnit, wave, c, resultUnit, places,
                                              Sep(sep));
        });
    function(
        "optimalFocalLengthText",
        +[](const std::string &diam, const std::string &diamUnit, const std::string &wave, double c,
            const std::string &resultUnit, int places, int sep) {
            return tools::OptimalFocalLengthText(diam, diamUnit, wave, c, resultUnit, places,
                                                 Sep(sep));
        });
    function(
        "fNumberText", +[](const std::string &diam, const std::string &diamUnit,
                           const std::string &focal, const std::string &focalUnit, int sep) {
            return tools::FNumberText(diam, diamUnit, focal, focalUnit, Sep(sep));
        });
    function(
        "exposureFactorText", +[](const std::string &fNumber, int sep) {
            return tools::ExposureFactorText(fNumber, Sep(sep));
        });
    function("angleOfView", &AngleOfView);
    function(
        "angleText", +[](double degrees, int angleUnit, int places, int sep) {
            return tools::AngleText(degrees, angleUnit, places, Sep(sep));
        });
    function("angleDiagram", &AngleDiagram);
    function("magnificationTexts", &MagnificationTexts);

    // The zone plate tab and its drawing.
    function(
        "zonePlateInputsPositive",
        +[](const std::string &zones, const std::string &focal, const std::string &wave, int sep) {
            return tools::ZonePlateInputsPositive(zones, focal, wave, Sep(sep));
        });
    function("checkZoneCount", &CheckZoneCount);
    function("zoneTableHeaderText", &tools::ZoneTableHeaderText);
    function("zonePlateTable", &ZonePlateTable);
    function("zonePlatePrintCheck", &ZonePlatePrintCheck);
    function("zonePlatePageTooLarge", &ZonePlatePageTooLarge);
    function("zonePlateDrawing", &ZonePlateDrawing);
    function("zonePlateFileName", &ZonePlateFileName);
    function("parsePrinterDpi", &ParsePrinterDpi);
    function(
        "defaultPrinterDpi", +[] { return tools::kDefaultPrinterDpi; });
    function("printerDpiRangeText", &tools::PrinterDpiRangeText);
}
