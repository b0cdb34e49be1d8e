// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The diffraction constant lists of the pinhole tab and the zone plate tab.
//
// A list holds the two built-in constants, at most one constant of the user's own, a separator
// line and an action entry that opens the user constant dialog. The list is the only holder of
// the constant in use: the number stands at the start of each numeric entry's text and is read
// back from it whenever a calculation needs it.
namespace tools {

// Which list the user constant dialog works on; each keeps its own stored constant.
enum class ConstantTarget
{
    Pinhole = 0,   // tab 1, stored as "CustomConstant"
    ZonePlate = 1, // zone plate tab, stored as "CustomConstantZP"
};

// The settings value that holds the user constant of a list.
const char *ConstantSettingName(ConstantTarget target);

// The stored value is a user constant when it is a finite number above 0; 0, negative
// values (the dialog stores -1 to remove a constant) and anything unreadable mean none.
std::optional<double> UserConstantFromStored(double stored);

// The entry texts of a list, in order, for the stored value of its user constant:
// "2 - first Fresnel zone", "1.9 - Lord Rayleigh" (with the locale separator), the user
// entry "u - user constant" when there is one, the separator and the action entry
// ("Edit user constant" with a user constant, "Add user constant" without).
std::vector<std::string> ConstantListEntries(double stored, char decSep);

// Position of the user entry and of the Lord Rayleigh entry.
inline constexpr int kRayleighIndex = 1;
inline constexpr int kUserConstantIndex = 2;

// The position to select after filling a list: the user entry when selectUser is set and
// the list has one, otherwise the Lord Rayleigh entry. (Never the separator.)
int ConstantListSelection(double stored, bool selectUser);

// The separator entry: 43 en dashes.
const std::string &ConstantSeparatorText();
bool IsSeparatorEntry(std::string_view entry);
// "Add user constant" or "Edit user constant", compared exactly with the string table.
bool IsActionEntry(std::string_view entry);

// The constant of an entry: its text up to the first blank, read strictly as a number in the
// locale's format. Empty for the separator, the action entries and any other text that does
// not start with a finite number.
std::optional<double> ConstantFromEntry(std::string_view entry, char decSep);

// The text the user constant dialog opens with: the stored constant, or empty when none.
std::string UserConstantFieldText(double stored, char decSep);

// What OK in the user constant dialog does with the text of its field.
struct UserConstantInput
{
    enum class Kind
    {
        Store,   // store `value`: the constant (> 0) or -1, which removes it
        Refused, // show `message`, keep the dialog open, store nothing
    };
    Kind kind = Kind::Refused;
    double value = -1;
    std::string message;
};

// Empty text removes the constant (-1); a positive number is the new constant; a negative
// one removes it too. Zero is refused with "User constant must be greater than zero.", and
// text that is not a finite number with "'<text>' is not a valid floating point value".
UserConstantInput ParseUserConstant(std::string_view text, char decSep);

} // namespace tools
