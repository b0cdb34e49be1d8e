// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include "tools/numtext.h"
#include "tools/settings.h"
#include "tools/stringtable.h"
#include "tools/zoneplate.h"

#include <algorithm>
#include <cmath>

namespace cli {

namespace {

constexpr char kDot = '.';

// The unit names a length may end with. "m" comes after "mm" and "cm", which end in it too.
constexpr std::string_view kUnitSuffixes[] = {"mm", "cm", "in", "m"};

const OptionDef *FindOption(std::span<const OptionDef> defs, std::string_view name)
{
    for (const OptionDef &def : defs)
        if (def.name == name)
            return &def;
    return nullptr;
}

} // namespace

const std::string *Args::Value(std::string_view name) const
{
    const auto it = options_.find(name);
    return it == options_.end() || it->second.empty() ? nullptr : &it->second.front();
}

const std::vector<std::string> *Args::Values(std::string_view name) const
{
    const auto it = options_.find(name);
    return it == options_.end() ? nullptr : &it->second;
}

Args ParseArgs(std::span<const std::string> args, std::span<const OptionDef> defs,
               std::size_t maxPositionals)
{
    Args out;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !arg.starts_with("--")) {
            if (out.positionals_.size() >= maxPositionals)
                throw UsageError("unexpected argument '" + arg + "'");
            out.positionals_.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name =
            arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        const OptionDef *def = FindOption(defs, name);
        if (!def)
            throw UsageError("unknown option '--" + name + "'");
        std::vector<std::string> values;
        if (def->takesValue && def->valueCount > 1) {
            if (eq != std::string::npos ||
                i + static_cast<std::size_t>(def->valueCount) >= args.size())
                throw UsageError("option --" + name + " needs " + std::to_string(def->valueCount) +
                                 " values");
            for (int k = 0; k < def->valueCount; ++k)
                values.push_back(args[++i]);
        } else if (def->takesValue) {
            if (eq != std::string::npos)
                values.push_back(arg.substr(eq + 1));
            else if (i + 1 < args.size())
                values.push_back(args[++i]);
            else
                throw UsageError("option --" + name + " needs a value");
        } else if (eq != std::string::npos) {
            throw UsageError("option --" + name + " takes no value");
        } else {
            values.emplace_back();
        }
        out.options_.insert_or_assign(name, std::move(values));
    }
    return out;
}

std::string Problem(std::string_view option, std::string_view value, std::string_view problem)
{
    std::string text = "--";
    text += option;
    text += " '";
    text += value;
    text += "': ";
    text += problem;
    return text;
}

bool HasUnitSuffix(std::string_view text)
{
    return std::any_of(std::begin(kUnitSuffixes), std::end(kUnitSuffixes),
                       [text](std::string_view unit) { return text.ends_with(unit); });
}

Length SplitUnit(std::string_view text)
{
    std::string_view unit = "mm";
    for (std::string_view suffix : kUnitSuffixes) {
        if (text.ends_with(suffix)) {
            unit = suffix;
            text.remove_suffix(suffix.size());
            break;
        }
    }
    // Blanks between number and unit ("50 mm" in one argument) are no part of the number
    // text, which the zone plate PDF shows as given.
    const std::size_t begin = text.find_first_not_of(" \t");
    const std::size_t end = text.find_last_not_of(" \t");
    const std::string_view number =
        begin == std::string_view::npos ? std::string_view{} : text.substr(begin, end - begin + 1);
    return {std::string(number), std::string(unit)};
}

Length ReadLength(std::string_view option, std::string_view text)
{
    Length length = SplitUnit(text);
    const std::optional<double> number = tools::ParseDecimal(length.number, kDot);
    if (!number)
        throw UsageError(Problem(option, text,
                                 "not a length (a number in millimetres, or followed by mm, "
                                 "cm, m or in)"));
    if (!(*number > 0))
        throw UsageError(Problem(option, text, "the length must be greater than 0"));
    length.mm = tools::LengthTextToMM(length.number, length.unit, kDot);
    // LengthTextToMM gives 0 for millimetres beyond a double, and a tiny length may vanish.
    if (!(length.mm > 0))
        throw UsageError(Problem(option, text, "the length is out of range"));
    return length;
}

const std::string &Required(const Args &args, std::string_view option)
{
    const std::string *value = args.Value(option);
    if (!value)
        throw UsageError("option --" + std::string(option) + " is required");
    return *value;
}

double ReadPositiveNumber(std::string_view option, std::string_view text)
{
    const std::optional<double> number = tools::ParseDecimal(text, kDot);
    if (!number)
        throw UsageError(Problem(option, text, "not a number"));
    if (!(*number > 0))
        throw UsageError(Problem(option, text, "the number must be greater than 0"));
    return *number;
}

std::int32_t ReadWholeNumber(std::string_view option, std::string_view text)
{
    const std::optional<std::int32_t> number = tools::ParseWholeNumber(text);
    if (!number)
        throw UsageError(Problem(option, text, tools::FormatStr(2008, text)));
    return *number;
}

Globals ReadGlobals(const Args &args)
{
    Globals g;
    if (const std::string *places = args.Value("places"))
        // Bounded as the settings store bounds the stored preference.
        g.places = std::clamp(ReadWholeNumber("places", *places), 0, tools::kMaxDecNum);
    if (const std::string *unit = args.Value("unit")) {
        if (*unit != "mm" && *unit != "in")
            throw UsageError(Problem("unit", *unit, "the unit must be mm or in"));
        g.unit = *unit;
        g.mainUnit = *unit == "in" ? 1 : 0;
    }
    if (const std::string *c = args.Value("constant"))
        g.constant = ReadPositiveNumber("constant", *c);
    if (const std::string *wave = args.Value("wavelength")) {
        ReadPositiveNumber("wavelength", *wave);
        g.waveText = *wave;
    }
    return g;
}

void Output::Line(std::string_view label, std::string_view value, std::string_view unit)
{
    if (value.empty())
        return;
    text_ += label;
    text_ += ": ";
    text_ += value;
    if (!unit.empty()) {
        text_ += ' ';
        text_ += unit;
    }
    text_ += '\n';
}

} // namespace cli
