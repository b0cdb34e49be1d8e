// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cmdline.h"

#include "tools/stringtable.h"

#include <string_view>

namespace {

constexpr std::string_view kHelp =
    "Usage: lumidra [OPTION]...\n"
    "The window of Lumidra, a calculator for pinhole photography: the optimal pinhole\n"
    "diameter and focal length, exposure times corrected for the reciprocity failure of a\n"
    "film, the angle of view, the magnification, and Fresnel zone plates drawn as a PDF\n"
    "file to print.\n"
    "\n"
    "Options:\n"
    "  --check-data  tell where the film database and the help are found, without\n"
    "                opening a window; the exit status is 1 when one of them is missing\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME or -style NAME, are taken as well.\n"
    "\n"
    "Environment:\n"
    "  LUMIDRA_SETTINGS  the settings file to use instead of\n"
    "                    $XDG_CONFIG_HOME/Lumidra/Lumidra.reg\n"
    "                    (~/.config/Lumidra/Lumidra.reg)\n"
    "\n"
    "The same calculators on the command line: lumidra-calc --help.\n";

constexpr std::string_view kLicence =
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

} // namespace

std::optional<int> AnswerHelpOrVersion(int argc, const char *const *argv, std::ostream &out)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return out.flush() ? 0 : 1;
        }
        if (arg == "--version") {
            out << tools::LoadStr(2) << '\n' << kLicence;
            return out.flush() ? 0 : 1;
        }
    }
    return std::nullopt;
}
