// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/constants.h"

#include "tools/numtext.h"
#include "tools/stringtable.h"

#include <cmath>

namespace tools {

namespace {

constexpr int kFresnelName = 1311;
constexpr int kRayleighName = 1312;
constexpr int kUserName = 1330;
constexpr int kAddAction = 1331;
constexpr int kEditAction = 1332;
constexpr int kZeroRefused = 1333;
constexpr int kNotANumber = 2302;

constexpr int kSeparatorDashes = 43;

std::string BuildSeparator()
{
    std::string text;
    for (int i = 0; i < kSeparatorDashes; ++i) {
        text += "\u2013";
    }
    return text;
}

} // namespace

const char *ConstantSettingName(ConstantTarget target)
{
    return target == ConstantTarget::ZonePlate ? "CustomConstantZP" : "CustomConstant";
}

std::optional<double> UserConstantFromStored(double stored)
{
    if (std::isfinite(stored) && stored > 0) {
        return stored;
    }
    return std::nullopt;
}

std::vector<std::string> ConstantListEntries(double stored, char decSep)
{
    const std::optional<double> user = UserConstantFromStored(stored);
    // The built-in numbers belong to the program, not to the string table: a translation
    // changes only the names after " - ".
    std::vector<std::string> entries;
    entries.push_back("2 - " + LoadStr(kFresnelName));
    entries.push_back(std::string("1") + decSep + "9 - " + LoadStr(kRayleighName));
    if (user) {
        entries.push_back(GeneralNumberText(*user, decSep) + " - " + LoadStr(kUserName));
    }
    entries.push_back(ConstantSeparatorText());
    entries.push_back(LoadStr(user ? kEditAction : kAddAction));
    return entries;
}

int ConstantListSelection(double stored, bool selectUser)
{
    if (selectUser && UserConstantFromStored(stored)) {
        return kUserConstantIndex;
    }
    return kRayleighIndex;
}

const std::string &ConstantSeparatorText()
{
    static const std::string separator = BuildSeparator();
    return separator;
}

bool IsSeparatorEntry(std::string_view entry)
{
    return entry == ConstantSeparatorText();
}

bool IsActionEntry(std::string_view entry)
{
    return entry == LoadStr(kAddAction) || entry == LoadStr(kEditAction);
}

std::optional<double> ConstantFromEntry(std::string_view entry, char decSep)
{
    const std::string_view number = entry.substr(0, entry.find(' '));
    if (number.empty()) {
        return std::nullopt;
    }
    const std::optional<double> value = ParseDecimal(number, decSep);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

std::string UserConstantFieldText(double stored, char decSep)
{
    const std::optional<double> user = UserConstantFromStored(stored);
    return user ? GeneralNumberText(*user, decSep) : std::string();
}

UserConstantInput ParseUserConstant(std::string_view text, char decSep)
{
    UserConstantInput input;
    if (text.empty()) {
        input.kind = UserConstantInput::Kind::Store;
        input.value = -1;
        return input;
    }
    const std::optional<double> value = ParseDecimal(text, decSep);
    if (!value || !std::isfinite(*value)) {
        input.message = FormatStr(kNotANumber, text);
        return input;
    }
    if (*value == 0) {
        input.message = LoadStr(kZeroRefused);
        return input;
    }
    input.kind = UserConstantInput::Kind::Store;
    input.value = *value > 0 ? *value : -1;
    return input;
}

} // namespace tools
