// SPDX-License-Identifier: GPL-3.0-or-later
// A film of one's own on the command line: its model from --power or --pairs, fitted as the
// window's Films dialog fits it.
#include "cli/cli.h"

#include "tools/cp1252.h"
#include "tools/filmfit.h"
#include "tools/numtext.h"

namespace cli {

namespace {

constexpr char kDot = '.';

// The option whose value holds the fault, and that value as given.
std::string ProblemOf(const Args &args, const tools::FilmInputCheck &check)
{
    using F = tools::FilmInputFault;
    const std::string text = tools::FilmInputFaultText(check, kDot);
    switch (check.Fault) {
    case F::PowerOutOfRange:
        return Problem("power", *args.Value("power"), text);
    case F::FromOutOfRange:
        return Problem("from", *args.Value("from"), text);
    case F::RangeNotNumber:
    case F::RangeBeyondData: {
        const std::vector<std::string> &range = *args.Values("range");
        return Problem("range", range[0] + " " + range[1], text);
    }
    default:
        return Problem("pairs", *args.Value("pairs"), text);
    }
}

} // namespace

bool HasOwnFilm(const Args &args)
{
    return args.Has("power") || args.Has("pairs");
}

tools::FilmFit FitOwnFilm(const Args &args)
{
    const bool power = args.Has("power");
    if (power && args.Has("pairs"))
        throw UsageError("give either --power or --pairs");
    if (!power && !args.Has("pairs"))
        throw UsageError("option --power or --pairs is required");
    if (args.Has("from") && !power)
        throw UsageError("option --from needs --power");
    tools::FilmInput input;
    input.PowerLaw = power;
    if (power) {
        input.Power = *args.Value("power");
        if (const std::string *from = args.Value("from"))
            input.From = *from;
    } else {
        const std::string &list = *args.Value("pairs");
        const auto pairs = tools::ParseFilmPairList(list);
        if (!pairs) {
            tools::FilmInputCheck syntax;
            syntax.Fault = tools::FilmInputFault::PairListSyntax;
            throw UsageError(Problem("pairs", list, tools::FilmInputFaultText(syntax, kDot)));
        }
        input.Pairs = *pairs;
    }
    if (const std::vector<std::string> *range = args.Values("range")) {
        input.RangeMin = (*range)[0];
        input.RangeMax = (*range)[1];
    }
    const tools::FilmInputCheck check = tools::ReadFilmInput(input);
    if (check.Fault != tools::FilmInputFault::None)
        throw UsageError(ProblemOf(args, check));
    tools::FilmFit fit = tools::FitFilm(check.Model);
    if (!fit.Faults.empty())
        throw Failure(tools::FitFaultText(fit, kDot));
    return fit;
}

std::string OwnFilmName(const Args &args)
{
    if (const std::string *power = args.Value("power")) {
        const std::string *from = args.Value("from");
        return "power law " + *power + " from " + (from ? *from : std::string("1")) + " s";
    }
    return "pairs " + *args.Value("pairs");
}

std::string RunFitFilm(const Invocation &in)
{
    const std::string name = tools::TrimFilmName(
        in.args.Positionals().empty() ? std::string() : in.args.Positionals().front());
    const tools::FilmNameFault fault = tools::CheckFilmName(name, {});
    if (fault != tools::FilmNameFault::None)
        throw UsageError("NAME '" + name + "': " + tools::FilmNameFaultText(fault, name));
    const tools::FilmFit fit = FitOwnFilm(in.args);
    Output out;
    out.Line("formula", fit.Formula);
    out.Line("range", tools::GeneralNumberText(fit.MinTime, kDot) + " " +
                          tools::GeneralNumberText(fit.MaxTime, kDot));
    out.Line("largest error", tools::FitErrorPercentText(fit, kDot), "%");
    return out.Text();
}

} // namespace cli
