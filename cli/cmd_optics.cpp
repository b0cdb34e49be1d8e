// SPDX-License-Identifier: GPL-3.0-or-later
// The pinhole, angle of view and magnification tabs, and the unit conversion tool.
#include "cli/cli.h"

#include "tools/numtext.h"
#include "tools/optics.h"
#include "tools/unitconvert.h"

#include <cmath>

namespace cli {

namespace {

constexpr char kDot = '.';

// "AxB" with an optional unit after B that holds for both sides, as the one unit list beside
// the two format fields of the window.
struct Format
{
    Length a;
    Length b;
};

Format ReadFormat(std::string_view text)
{
    const Length whole = SplitUnit(text);
    const std::size_t x = whole.number.find_first_of("xX");
    if (x == std::string::npos)
        throw UsageError(Problem("format", text, "the format must be written AxB, e.g. 24x36"));
    Format f;
    const std::string sides[] = {whole.number.substr(0, x), whole.number.substr(x + 1)};
    Length *targets[] = {&f.a, &f.b};
    for (int i = 0; i < 2; ++i) {
        // One unit after B holds for both sides ("24mmx36" is no format).
        if (HasUnitSuffix(sides[i]))
            throw UsageError(Problem("format", text, "write the unit once, after B: 24x36mm"));
        Length &side = *targets[i];
        side = SplitUnit(sides[i]);
        side.unit = whole.unit;
        const std::optional<double> number = tools::ParseDecimal(side.number, kDot);
        if (!number)
            throw UsageError(Problem("format", text, "the format must be written AxB, e.g. 24x36"));
        if (!(*number > 0))
            throw UsageError(Problem("format", text, "both sides must be greater than 0"));
        side.mm = tools::LengthTextToMM(side.number, side.unit, kDot);
        if (!(side.mm > 0))
            throw UsageError(Problem("format", text, "the length is out of range"));
    }
    return f;
}

} // namespace

std::string RunPinhole(const Invocation &in)
{
    const Args &args = in.args;
    const Globals &g = in.globals;
    if (!args.Has("diameter") && !args.Has("focal"))
        throw UsageError("pinhole needs --diameter, --focal or both");
    Length d, f;
    if (const std::string *text = args.Value("diameter"))
        d = ReadLength("diameter", *text);
    if (const std::string *text = args.Value("focal"))
        f = ReadLength("focal", *text);

    // An option not given stays empty text, which the routines read as missing input, as
    // the window does with an empty field.
    Output out;
    out.Line("optimal diameter",
             tools::OptimalDiameterText(f.number, f.unit, g.waveText, g.constant, g.unit, g.places,
                                        kDot),
             g.unit);
    out.Line("optimal focal length",
             tools::OptimalFocalLengthText(d.number, d.unit, g.waveText, g.constant, g.unit,
                                           g.places, kDot),
             g.unit);
    // The exposure factor is read back from the f number as shown, already rounded.
    const std::string fNumber = tools::FNumberText(d.number, d.unit, f.number, f.unit, kDot);
    out.Line("f number", fNumber);
    out.Line("exposure factor", tools::ExposureFactorText(fNumber, kDot));
    return out.Text();
}

std::string RunAngle(const Invocation &in)
{
    const Args &args = in.args;
    const Format format = ReadFormat(Required(args, "format"));
    const Length f = ReadLength("focal", Required(args, "focal"));
    const int angleUnit = args.Has("decimal") ? 1 : 0;
    Output out;
    out.Line("angle of view",
             tools::AngleOfViewText(format.a.number, format.b.number, format.a.unit, f.number,
                                    f.unit, angleUnit, in.globals.places, kDot));
    return out.Text();
}

std::string RunMagnification(const Invocation &in)
{
    const Args &args = in.args;
    const Globals &g = in.globals;
    const Length u = ReadLength("distance", Required(args, "distance"));
    const Length v = ReadLength("focal", Required(args, "focal"));
    Length s;
    if (const std::string *text = args.Value("size"))
        s = ReadLength("size", *text);
    const tools::MagnificationResult r = tools::MagnificationTexts(
        u.number, u.unit, v.number, v.unit, s.number, s.unit, g.unit, g.places, kDot);
    Output out;
    out.Line("magnification", r.magnification);
    out.Line("size on film", r.sizeOnFilm, g.unit);
    return out.Text();
}

std::string RunConvert(const Invocation &in)
{
    const std::vector<std::string> &pos = in.args.Positionals();
    if (pos.empty())
        throw UsageError("convert needs a length, e.g. lumidra-calc convert 2in");
    const std::string &text = pos.front();
    const Length typed = SplitUnit(text);
    const std::optional<tools::LengthInUnits> r =
        tools::ConvertLength(typed.number, typed.unit, kDot);
    if (!r)
        throw UsageError("'" + text +
                         "': not a length (a number, optionally followed by mm, "
                         "cm, m or in)");
    if (!std::isfinite(r->mm) || !std::isfinite(r->cm) || !std::isfinite(r->in))
        throw UsageError("'" + text + "': the length is out of range");
    Output out;
    out.Line("mm", tools::GeneralNumberText(r->mm, kDot));
    out.Line("cm", tools::GeneralNumberText(r->cm, kDot));
    out.Line("in", tools::GeneralNumberText(r->in, kDot));
    return out.Text();
}

} // namespace cli
