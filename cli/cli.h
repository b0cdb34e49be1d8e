// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/filmfit.h"

#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// lumidra-calc: the calculators of the window on the command line. Every number is computed
// and printed by the same core routines the window calls (tools/), with "." as the decimal
// separator whatever the locale; the settings store is neither read nor written.
namespace cli {

// A bad command line: exit status 2, one line on stderr.
struct UsageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// A file that cannot be written or read: exit status 1, the window's message on stderr.
struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct OptionDef
{
    std::string_view name; // without the leading "--"
    bool takesValue;
    int valueCount = 1; // the values an option with values takes ("--range MIN MAX": 2)
};

// The options and arguments after the command. An option given twice counts with its last
// value.
class Args
{
public:
    bool Has(std::string_view name) const { return options_.contains(name); }
    // The (first) value of an option, or nullptr when it was not given.
    const std::string *Value(std::string_view name) const;
    // All values of an option, or nullptr when it was not given.
    const std::vector<std::string> *Values(std::string_view name) const;
    const std::vector<std::string> &Positionals() const { return positionals_; }

private:
    friend Args ParseArgs(std::span<const std::string> args, std::span<const OptionDef> defs,
                          std::size_t maxPositionals);
    std::map<std::string, std::vector<std::string>, std::less<>> options_;
    std::vector<std::string> positionals_;
};

// "--name VALUE", "--name=VALUE", "--name VALUE VALUE" for two values and "--name" for flags;
// "--" ends the options. Throws
// UsageError for an unknown option, a missing or unwanted value and a surplus argument.
Args ParseArgs(std::span<const std::string> args, std::span<const OptionDef> defs,
               std::size_t maxPositionals);

// The options every command takes.
inline constexpr OptionDef kGlobalOptions[] = {
    {"places", true}, {"unit", true}, {"constant", true}, {"wavelength", true}};

struct Globals
{
    int places = 3;                   // decimal places of results
    int mainUnit = 0;                 // 0 millimetres, 1 inches
    std::string unit = "mm";          // the unit name of length results
    double constant = 1.9;            // the diffraction constant c
    std::string waveText = "0.00055"; // the wavelength in millimetres, as given
};

Globals ReadGlobals(const Args &args);

// A length as given: its number text and its unit ("mm" unless a suffix says otherwise),
// and the millimetres the window's LengthTextToMM makes of them.
struct Length
{
    std::string number;
    std::string unit;
    double mm = 0;
};

// Whether text ends with a unit name (mm, cm, m, in).
bool HasUnitSuffix(std::string_view text);

// Splits a trailing unit name (mm, cm, m, in) off text; no suffix means millimetres. Blanks
// around the number are dropped.
Length SplitUnit(std::string_view text);

// A length greater than 0; option names the option in messages.
Length ReadLength(std::string_view option, std::string_view text);

// The value of a required option, or UsageError naming it.
const std::string &Required(const Args &args, std::string_view option);

// A number greater than 0 (finite).
double ReadPositiveNumber(std::string_view option, std::string_view text);

// A whole number in the 32-bit range.
std::int32_t ReadWholeNumber(std::string_view option, std::string_view text);

// "--option 'value': problem".
std::string Problem(std::string_view option, std::string_view value, std::string_view problem);

// Result lines "label: value" or "label: value unit"; a line without value is left out.
class Output
{
public:
    void Line(std::string_view label, std::string_view value, std::string_view unit = {});
    void Raw(std::string_view text) { text_ += text; }
    const std::string &Text() const { return text_; }

private:
    std::string text_;
};

// What a command needs besides its arguments.
struct Invocation
{
    const Args &args;
    const Globals &globals;
    const std::string &exeDir; // where the film database is looked for
    std::string &warnings;     // lines for standard error that do not fail the run
};

// Each command returns what it prints on stdout.
std::string RunPinhole(const Invocation &in);
std::string RunAngle(const Invocation &in);
std::string RunMagnification(const Invocation &in);
std::string RunConvert(const Invocation &in);
std::string RunExposure(const Invocation &in);
std::string RunFilms(const Invocation &in);
std::string RunFitFilm(const Invocation &in);

// A film given by --power P [--from T0] or --pairs LIST, with [--range MIN MAX]: whether one
// is given, its fit (UsageError for bad input, Failure when no formula meets the rules), and
// the name a saved table gives it.
bool HasOwnFilm(const Args &args);
tools::FilmFit FitOwnFilm(const Args &args);
std::string OwnFilmName(const Args &args);
std::string RunZonePlate(const Invocation &in);

// The folder of the running executable; argv0 is the fallback where the system cannot say.
std::string ExecutableDir(const char *argv0);

} // namespace cli
