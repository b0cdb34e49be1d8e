// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate tab and its PDF dialog.
#include "cli/cli.h"

#include "tools/numtext.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"
#include "tools/zoneplateprint.h"
#include "tools/zoneplatesvg.h"

#include <optional>
#include <utility>
#include <vector>

namespace cli {

namespace {

constexpr char kDot = '.';

// The print check's lines; under 2 dots a warning that does not fail the run.
void PrintCheck(const tools::ZonePlatePrintCheck &c, int dpi, const Globals &g, Output &out,
                std::string &warnings)
{
    const auto length = [&g](double mm) { return tools::FormatLength(g.unit, g.places, mm, kDot); };
    out.Line("size on paper", length(c.plateMM), g.unit);
    out.Line("outer ring", length(c.outerRingMM), g.unit);
    out.Line("outer ring at " + std::to_string(dpi) + " dpi",
             tools::DotsText(c.outerRingDots, kDot), "dots");
    if (!c.tooFine)
        return;
    warnings += "warning: the printer cannot draw the outer zones";
    if (c.cleanEnlargement)
        warnings += "; enlarge at least " + tools::FormatLength("", 0, *c.cleanEnlargement, kDot) +
                    " times";
    warnings += '\n';
}

} // namespace

std::string RunZonePlate(const Invocation &in)
{
    const Args &args = in.args;
    const Globals &g = in.globals;

    // The checks of Calculate and Create PDF, with their messages.
    const std::string &zonesText = Required(args, "zones");
    std::int32_t n = 0;
    const tools::ZoneCountCheck check = tools::CheckZoneCount(zonesText, &n);
    if (check != tools::ZoneCountCheck::Ok)
        throw UsageError(Problem("zones", zonesText, tools::ZoneCountMessage(check, zonesText)));
    const Length f = ReadLength("focal", Required(args, "focal"));

    const std::string *pdf = args.Value("pdf");
    const std::string *svg = args.Value("svg");
    const std::string *dpiText = args.Value("dpi");
    const bool drawing = pdf || svg;
    if (!drawing && args.Has("negative"))
        throw UsageError("option --negative needs --pdf or --svg");
    if (!drawing && !dpiText && args.Has("enlarge"))
        throw UsageError("option --enlarge needs --pdf, --svg or --dpi");

    // The PDF dialog: Enlarge ticked with a factor below 2 is refused.
    std::int32_t m = 1;
    if (const std::string *enlarge = args.Value("enlarge")) {
        m = ReadWholeNumber("enlarge", *enlarge);
        if (m < 2)
            throw UsageError(Problem("enlarge", *enlarge, tools::LoadStr(1622)));
    }
    std::optional<int> dpi;
    if (dpiText) {
        dpi = tools::ParsePrinterDpi(*dpiText);
        if (!dpi)
            throw UsageError(Problem("dpi", *dpiText, tools::PrinterDpiRangeText()));
    }

    const tools::TZonePlateValues values =
        tools::CalculateZonePlate(n, f.mm, tools::TextToNumber(g.waveText, kDot), g.constant);

    Output out;
    if (!drawing) {
        out.Line("f number", tools::ZonePlateFNumberText(values));
        for (std::int32_t i = 1; i <= n; ++i)
            out.Line("zone " + std::to_string(i),
                     tools::ZoneTableCellText(values[i], g.mainUnit, g.places, kDot));
    }
    if (dpi)
        PrintCheck(tools::CheckZonePlatePrint(values, m, *dpi), *dpi, g, out, in.warnings);
    if (!drawing)
        return out.Text();

    // Then a page beyond the largest PDF page is refused, for either drawing.
    if (tools::PageTooLarge(tools::ZonePlatePageSide(values, m)))
        throw UsageError(tools::LoadStr(1623));

    tools::ZonePlatePdfInput pi;
    pi.values = values;
    pi.focalText = f.number;
    pi.unitText = f.unit;
    pi.negative = args.Has("negative");
    pi.magnification = m;
    pi.date = tools::CurrentPdfDate();
    // Every name is checked before the first file is written.
    using Kind = tools::ZonePlateFileKind;
    std::vector<std::pair<std::string, Kind>> files;
    for (const auto &[option, kind] : {std::pair{pdf, Kind::Pdf}, std::pair{svg, Kind::Svg}}) {
        if (!option)
            continue;
        // The kind asked for is written, whatever the name ends in.
        files.emplace_back(tools::ZonePlateFileNameFor(*option, kind), kind);
        if (files.back().first.empty())
            throw UsageError(std::string("option --") + (kind == Kind::Pdf ? "pdf" : "svg") +
                             " needs a file name");
    }
    for (const auto &[name, kind] : files) {
        const bool written = kind == Kind::Pdf ? tools::WriteZonePlatePdf(name, pi)
                                               : tools::WriteZonePlateSvg(name, pi);
        if (!written)
            throw Failure(tools::ZonePlateSaveFailedText(name));
    }
    return out.Text();
}

} // namespace cli
