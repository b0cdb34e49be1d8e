// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate tab and its PDF dialog.
#include "cli/cli.h"

#include "tools/numtext.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"
#include "tools/zoneplatepdf.h"

namespace cli {

namespace {

constexpr char kDot = '.';

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
    if (!pdf && (args.Has("negative") || args.Has("enlarge")))
        throw UsageError("options --negative and --enlarge need --pdf");

    const tools::TZonePlateValues values =
        tools::CalculateZonePlate(n, f.mm, tools::TextToNumber(g.waveText, kDot), g.constant);

    if (!pdf) {
        Output out;
        out.Line("f number", tools::ZonePlateFNumberText(values));
        for (std::int32_t i = 1; i <= n; ++i)
            out.Line("zone " + std::to_string(i),
                     tools::ZoneTableCellText(values[i], g.mainUnit, g.places, kDot));
        return out.Text();
    }

    // The PDF dialog: Enlarge ticked with a factor below 2 is refused, then a page beyond
    // the largest PDF page.
    std::int32_t m = 1;
    if (const std::string *enlarge = args.Value("enlarge")) {
        m = ReadWholeNumber("enlarge", *enlarge);
        if (m < 2)
            throw UsageError(Problem("enlarge", *enlarge, tools::LoadStr(1622)));
    }
    if (tools::PageTooLarge(tools::ZonePlatePageSide(values, m)))
        throw UsageError(tools::LoadStr(1623));
    const std::string name = tools::ValidateZoneplateFileName(*pdf);
    if (name.empty())
        throw UsageError("option --pdf needs a file name");

    tools::ZonePlatePdfInput pi;
    pi.values = values;
    pi.focalText = f.number;
    pi.unitText = f.unit;
    pi.negative = args.Has("negative");
    pi.magnification = m;
    pi.date = tools::CurrentPdfDate();
    if (!tools::WriteZonePlatePdf(name, pi))
        throw Failure(tools::ZonePlateSaveFailedText(name));
    return {};
}

} // namespace cli
