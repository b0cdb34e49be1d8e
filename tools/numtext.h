// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one place where text becomes a number and a number becomes text.
//
// Lengths are held in millimetres. A length unit is passed by its name, exactly as it stands
// in the unit lists: "mm", "cm", "m" or "in". Texts are UTF-8. The decimal separator of the
// user's locale (one ASCII character, '.' or ',' in practice) is read once by the window and
// handed to every routine that reads or prints a number for the user; nothing here depends
// on the C library's locale.
namespace tools {

// Millimetres per unit: 1, 10, 1000, 25.4; 0 for a name outside the table.
double UnitFactor(std::string_view unit);

// A decimal number in the locale's format: optional sign, digits, at most one decimal
// separator, optional exponent (E or e, optional sign), blanks around it allowed.
// Empty when the text is not such a number (or does not fit a double).
std::optional<double> ParseDecimal(std::string_view text, char decSep);

// Field text in a unit to millimetres; 0 for empty or unreadable text or an unknown unit.
double LengthTextToMM(std::string_view text, std::string_view unit, char decSep);

// A plain number; 0 for empty or unreadable text.
double TextToNumber(std::string_view text, char decSep);

// Prints value with a pattern of digit places: "0" always printed, "#" only when
// significant, "." where the separator goes; rounded half away from zero.
std::string FormatFloat(std::string_view pattern, double value, char decSep);

// The pattern of `places` decimal places: "0.###" for 3, "#" for 0.
std::string LengthPattern(int places);

// A length in millimetres printed in unit with `places` decimal places; an empty or unknown
// unit name prints the value unconverted (plain numbers).
std::string FormatLength(std::string_view unit, int places, double mm, char decSep);

// The shortest text showing value to 15 significant digits; scientific notation below
// 0.00001 or from 1e15 on.
std::string GeneralNumberText(double value, char decSep);

// The general number text with '.' whatever the locale (numbers inside PDF files).
std::string NumberToDotText(double value);

// Millimetres to PDF points (1/72 inch).
double MMToPoints(double mm);

// Decimal degrees to degrees, the degree sign, minutes, "'", whole seconds and '"'.
std::string AngleToDMS(double degrees, char decSep);

// Key filters of the numeric fields. key is the typed character; 22 (Ctrl+V) asks to paste.
// The result is the key to let through, or 0 to swallow it.
//   fieldText: the whole text of the field;
//   textOutsideSelection: the field's text without its selected part;
//   clipboard: the clipboard's text; an accepted paste replaces it by the stripped text.
inline constexpr char32_t kPasteKey = 22;
char32_t FilterDecimalKey(char32_t key, std::string_view fieldText,
                          std::string_view textOutsideSelection, std::string &clipboard,
                          char decSep);
char32_t FilterIntegerKey(char32_t key, std::string &clipboard);

} // namespace tools
