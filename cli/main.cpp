// SPDX-License-Identifier: GPL-3.0-or-later
// lumidra-calc COMMAND [options]: the command table, help and exit status.
#include "cli/cli.h"

#include "tools/stringtable.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

using cli::OptionDef;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kProgram = "lumidra-calc";

constexpr OptionDef kPinholeOptions[] = {{"diameter", true}, {"focal", true}};
constexpr OptionDef kAngleOptions[] = {{"format", true}, {"focal", true}, {"decimal", false}};
constexpr OptionDef kMagnificationOptions[] = {
    {"distance", true}, {"focal", true}, {"size", true}};
constexpr OptionDef kExposureOptions[] = {
    {"fnumber", true}, {"film", true},  {"exact", false}, {"output", true}, {"kind", true},
    {"films", true},   {"power", true}, {"from", true},   {"pairs", true},  {"range", true, 2}};
constexpr OptionDef kFitFilmOptions[] = {
    {"power", true}, {"from", true}, {"pairs", true}, {"range", true, 2}};
constexpr OptionDef kFilmsOptions[] = {{"films", true}};
constexpr OptionDef kZonePlateOptions[] = {{"zones", true}, {"focal", true},     {"pdf", true},
                                           {"svg", true},   {"negative", false}, {"enlarge", true},
                                           {"dpi", true}};

struct Command
{
    std::string_view name;
    std::string_view summary;
    std::string_view help; // usage line and the command's own options
    std::span<const OptionDef> options;
    std::size_t positionals;
    std::string (*run)(const cli::Invocation &);
};

const Command kCommands[] = {
    {"pinhole", "optimal pinhole diameter and focal length, f number, exposure factor",
     "usage: lumidra-calc pinhole [--diameter LEN] [--focal LEN] [global options]\n"
     "  --diameter LEN   pinhole diameter: gives the optimal focal length\n"
     "  --focal LEN      focal length: gives the optimal diameter\n"
     "  with both: the f number and the exposure factor against f 22 as well\n"
     "  uses --constant and --wavelength\n",
     kPinholeOptions, 0, cli::RunPinhole},
    {"angle", "diagonal angle of view of a film format",
     "usage: lumidra-calc angle --format AxB[UNIT] --focal LEN [--decimal] [global options]\n"
     "  --format AxB[UNIT]  film format, e.g. 24x36, 6x9cm, 4x5in (one unit for both sides)\n"
     "  --focal LEN         focal length\n"
     "  --decimal           decimal degrees (with --places) instead of degrees, minutes and "
     "seconds\n",
     kAngleOptions, 0, cli::RunAngle},
    {"magnification", "magnification and size of a subject on the film",
     "usage: lumidra-calc magnification --distance LEN --focal LEN [--size LEN] "
     "[global options]\n"
     "  --distance LEN   subject distance\n"
     "  --focal LEN      focal length\n"
     "  --size LEN       subject size: gives its size on the film\n",
     kMagnificationOptions, 0, cli::RunMagnification},
    {"exposure", "exposure times for an f number, with reciprocity failure of a film",
     "usage: lumidra-calc exposure --fnumber N [--film NAME | FILM OF YOUR OWN] [--exact]\n"
     "                             [--output FILE --kind KIND] [--films FILE]\n"
     "  --fnumber N      f number of the camera, a whole number of 22 or more\n"
     "  --film NAME      correct the times for the reciprocity failure of the film NAME\n"
     "                   (lumidra-calc films lists them); rows beyond the film's data are\n"
     "                   marked with a third column *\n"
     "  FILM OF YOUR OWN: (--power P [--from T0] | --pairs LIST) [--range MIN MAX]\n"
     "                   correct for a film given by its reciprocity data, fitted as the\n"
     "                   window's Tools > Films... fits it (see lumidra-calc fitfilm --help)\n"
     "  --exact          exact times instead of times rounded off\n"
     "  --output FILE    save the table as the window's Save does, instead of printing it;\n"
     "                   FILE gets the extension of KIND (.xls, .txt or .csv) and an\n"
     "                   existing FILE is replaced\n"
     "  --kind KIND      excel, txtformat (space delimited), txttab (tab delimited) or csv\n"
     "  --films FILE     the film database to read instead of the one beside the program\n"
     "  prints the exposure factor, then one row per metered time for f 22:\n"
     "  LABEL<TAB>TIME[<TAB>*]\n",
     kExposureOptions, 0, cli::RunExposure},
    {"zoneplate", "zone diameters and f number of a zone plate, or its PDF or SVG drawing",
     "usage: lumidra-calc zoneplate --zones N --focal LEN [--pdf FILE] [--svg FILE]\n"
     "                              [--negative] [--enlarge M] [--dpi R] [global options]\n"
     "  --zones N        number of zones, odd, from 1 to 10001\n"
     "  --focal LEN      focal length\n"
     "  --pdf FILE       write the plate as a one-page PDF instead of printing the table;\n"
     "                   \".pdf\" is added unless FILE ends in it; an existing FILE is "
     "replaced\n"
     "  --svg FILE       write the same drawing as an SVG image (\".svg\" added likewise);\n"
     "                   with --pdf too, both files are written\n"
     "  --negative       black open zones on white (default: white open zones on black)\n"
     "  --enlarge M      draw the plate M times its size (M of 2 or more)\n"
     "  --dpi R          check the print on a printer of R dots per inch (72 to 9600) at\n"
     "                   the enlargement M: adds the plate's size on paper and the width of\n"
     "                   its outer ring (with 1 zone: the disc itself), in the unit of --unit\n"
     "                   and in dots; under 2 dots a warning on standard error names the\n"
     "                   smallest enlargement that gives 3 dots (exit status 0)\n"
     "  prints the f number and the outer diameter of each zone, in the unit of --unit\n"
     "  uses --constant and --wavelength\n",
     kZonePlateOptions, 0, cli::RunZonePlate},
    {"fitfilm", "fit the formula of a film of your own from its reciprocity data",
     "usage: lumidra-calc fitfilm NAME (--power P [--from T0] | --pairs LIST)\n"
     "                             [--range MIN MAX]\n"
     "  NAME             the film's name (at most 255 characters of Windows-1252, no\n"
     "                   control characters)\n"
     "  --power P        the film needs Tc = Tm^P seconds for Tm metered (P from 1 to 3)\n"
     "  --from T0        the power law applies from T0 seconds on, as Tc = T0 (Tm / T0)^P\n"
     "                   (default 1; 0.001 to 1000)\n"
     "  --pairs LIST     up to 12 measured pairs METERED:NEEDED in seconds, or METERED:+STOPS\n"
     "                   for the stops added (1/3, 1/2, 2/3 and decimals), comma-separated\n"
     "                   with rising metered times: 1:2,10:50,100:1200 or 10:+1,100:+2;\n"
     "                   between two pairs the film follows a power law\n"
     "  --range MIN MAX  the metered times the formula covers (default: the data's own, for\n"
     "                   a power law T0 to 1000 T0 but not past 10000 s, nor shorter than\n"
     "                   10 T0); it may only narrow them\n"
     "  prints the formula (coefficients of the metered time, constant term first), its\n"
     "  range and its largest error against the data; exit status 1 when no formula comes\n"
     "  within 5 % of the data under the rules of the film database\n",
     kFitFilmOptions, 1, cli::RunFitFilm},
    {"convert",
     "a length in millimetres, centimetres and inches",
     "usage: lumidra-calc convert LEN\n"
     "  LEN              a number, optionally followed by mm, cm, m or in (default mm)\n",
     {},
     1,
     cli::RunConvert},
    {"films", "list the film database",
     "usage: lumidra-calc films [--films FILE]\n"
     "  prints the version of the film database, then one film a line:\n"
     "  NAME<TAB>MINTIME<TAB>MAXTIME<TAB>FORMULA (times in seconds)\n"
     "  --films FILE     the film database to read instead of the one beside the program\n",
     kFilmsOptions, 0, cli::RunFilms},
};

constexpr std::string_view kGlobalHelp =
    "global options:\n"
    "  --places N       decimal places of results, 0 to 20 (default 3)\n"
    "  --unit mm|in     unit of length results (default mm)\n"
    "  --constant C     diffraction constant (default 1.9, Lord Rayleigh; 2: first Fresnel "
    "zone)\n"
    "  --wavelength MM  light wavelength in millimetres (default 0.00055, that is 550 nm)\n"
    "  --help           this help; COMMAND --help: the help of a command\n"
    "  --version        the program's name and version (before a command)\n"
    "A length LEN is a number in millimetres, or followed by mm, cm, m or in: 50, 50mm, 2in, "
    "1.5m.\n"
    "Numbers are read and printed with \".\" as the decimal separator.\n";

void Print(std::FILE *to, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), to);
}

std::string TopHelp()
{
    std::string text = "usage: lumidra-calc COMMAND [options]\n"
                       "The calculators of Lumidra on the command line.\n\ncommands:\n";
    for (const Command &c : kCommands) {
        text += "  ";
        text += c.name;
        text.append(c.name.size() < 15 ? 15 - c.name.size() : 1, ' ');
        text += c.summary;
        text += '\n';
    }
    text += '\n';
    text += kGlobalHelp;
    text += "\nexit status: 0 success, 1 a file cannot be written or read (or a film's data\n"
            "cannot be fitted), 2 a usage error\n";
    return text;
}

const Command *FindCommand(std::string_view name)
{
    for (const Command &c : kCommands)
        if (c.name == name)
            return &c;
    return nullptr;
}

bool IsHelp(std::string_view arg)
{
    return arg == "--help" || arg == "-h";
}

int Run(int argc, char **argv)
{
    std::vector<std::string> all;
    for (int k = 1; k < argc; ++k)
        all.emplace_back(argv[k]);

    // Global options may stand before the command too.
    std::vector<std::string> args;
    std::size_t i = 0;
    for (; i < all.size() && all[i].starts_with("-"); ++i) {
        if (IsHelp(all[i])) {
            Print(stdout, TopHelp());
            return kExitOk;
        }
        if (all[i] == "--version") {
            Print(stdout, tools::LoadStr(2) + "\n");
            return kExitOk;
        }
        const std::size_t eq = all[i].find('=');
        const std::string name = all[i].substr(0, eq);
        const bool global = std::any_of(
            std::begin(cli::kGlobalOptions), std::end(cli::kGlobalOptions),
            [&name](const OptionDef &def) { return "--" + std::string(def.name) == name; });
        if (!global)
            throw cli::UsageError("unknown option '" + name +
                                  "' before the command (a command's options follow it)");
        args.push_back(all[i]);
        if (eq == std::string::npos) {
            if (i + 1 == all.size())
                throw cli::UsageError("option " + name + " needs a value");
            args.push_back(all[++i]);
        }
    }
    if (i == all.size())
        throw cli::UsageError("no command given (lumidra-calc --help lists them)");
    const Command *command = FindCommand(all[i]);
    if (!command)
        throw cli::UsageError("unknown command '" + all[i] + "' (lumidra-calc --help lists them)");

    const std::span<const std::string> rest(all.data() + i + 1, all.size() - i - 1);
    for (const std::string &arg : rest) {
        if (arg == "--")
            break;
        if (IsHelp(arg)) {
            Print(stdout, std::string(command->help) + "\n" + std::string(kGlobalHelp));
            return kExitOk;
        }
    }
    args.insert(args.end(), rest.begin(), rest.end());
    std::vector<OptionDef> defs(std::begin(cli::kGlobalOptions), std::end(cli::kGlobalOptions));
    defs.insert(defs.end(), command->options.begin(), command->options.end());
    // The leading global options count as given before the command's own.
    const cli::Args parsed = cli::ParseArgs(args, defs, command->positionals);
    const cli::Globals globals = cli::ReadGlobals(parsed);
    const std::string exeDir = cli::ExecutableDir(argc > 0 ? argv[0] : nullptr);
    std::string warnings;
    const std::string out = command->run({parsed, globals, exeDir, warnings});
    Print(stdout, out);
    Print(stderr, warnings);
    return kExitOk;
}

} // namespace

int main(int argc, char **argv)
{
    int status = kExitOk;
    try {
        status = Run(argc, argv);
    } catch (const cli::UsageError &e) {
        Print(stderr, std::string(kProgram) + ": " + e.what() + "\n");
        return kExitUsage;
    } catch (const cli::Failure &e) {
        Print(stderr, std::string(kProgram) + ": " + e.what() + "\n");
        return kExitFailure;
    } catch (const std::exception &e) {
        Print(stderr, std::string(kProgram) + ": " + e.what() + "\n");
        return kExitFailure;
    }
    // A full disk or a closed pipe on stdout is a failed run, not a silent success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        Print(stderr, std::string(kProgram) + ": cannot write the results to standard output\n");
        return kExitFailure;
    }
    return status;
}
