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
//
// Printing: numbers are rounded half away from zero on their decimal digits, taken from the
// shortest text that reads back as the same double (so 2.675 rounds to 2.68 although its
// binary value lies a hair below). A value that rounds to zero never prints a minus sign.
// Values that are not finite print as "NAN", "INF" and "-INF" wherever a number is printed;
// huge values print all their integer digits. Decimal places outside 0..20 count as the
// nearest end of that range.
namespace tools {

// Millimetres per unit: 1, 10, 1000, 25.4; 0 for a name outside the table.
double UnitFactor(std::string_view unit);

// A decimal number in the locale's format: optional sign, digits, at most one decimal
// separator, optional exponent (E or e, optional sign, at least one digit), blanks (spaces
// and tabs) around it allowed. Digits may stand on either side of the separator or on both:
// "1.", ".5" and "1.5e3" are numbers; ".", "e5", "1e", "1.5.2", "- 1", "1,000" (under '.')
// and "inf" are not. Empty when the text is not such a number or its magnitude is too large
// for a double; a magnitude too small for a double reads as zero.
std::optional<double> ParseDecimal(std::string_view text, char decSep);

// Field text in a unit to millimetres; 0 for empty or unreadable text or an unknown unit, and
// also when the length in millimetres would be too large for a double.
double LengthTextToMM(std::string_view text, std::string_view unit, char decSep);

// A plain number; 0 for empty or unreadable text.
double TextToNumber(std::string_view text, char decSep);

// Prints value with a pattern of digit places: "0" always printed, "#" only when
// significant, "." where the separator goes; rounded half away from zero. The integer part
// is printed whole; a "0" among the integer places forces that place and those to its right
// ("#" prints 0.4 as empty text, "#.#" prints 0.5 as decSep followed by 5). Other characters
// of the pattern are ignored; an empty pattern prints the general number text.
std::string FormatFloat(std::string_view pattern, double value, char decSep);

// The pattern of `places` decimal places: "0.###" for 3, "#" for 0 (places clamped to 0..20).
std::string LengthPattern(int places);

// A length in millimetres printed in unit with `places` decimal places; an empty or unknown
// unit name prints the value unconverted (plain numbers).
std::string FormatLength(std::string_view unit, int places, double mm, char decSep);

// The shortest text showing value to 15 significant digits; scientific notation below
// 0.00001 or from 1e15 on (after rounding to 15 digits): the mantissa, "E", and the exponent
// with a minus sign only when negative and no leading zeros ("1.5E20", "-2.5E-7").
std::string GeneralNumberText(double value, char decSep);

// The general number text with '.' whatever the locale (numbers inside PDF files).
std::string NumberToDotText(double value);

// Millimetres to PDF points (1/72 inch).
double MMToPoints(double mm);

// Decimal degrees to degrees, the degree sign (U+00B0), minutes, "'", whole seconds and '"'.
// Seconds are rounded on their own and never carried (10.99999 gives 10°59'60"). A negative
// angle carries one minus sign in front of the degrees.
std::string AngleToDMS(double degrees, char decSep);

// Key filters of the numeric fields. key is the typed character; 22 (Ctrl+V) asks to paste.
// The result is the key to let through, or 0 to swallow it.
//   fieldText: the whole text of the field;
//   textOutsideSelection: the field's text without its selected part;
//   clipboard: the clipboard's text; an accepted paste replaces it by the stripped text
//   (blanks and control characters, codes 0 to 32, removed at both ends).
// Keys above 255 are swallowed like every other character that is not a digit.
inline constexpr char32_t kPasteKey = 22;
char32_t FilterDecimalKey(char32_t key, std::string_view fieldText,
                          std::string_view textOutsideSelection, std::string &clipboard,
                          char decSep);
char32_t FilterIntegerKey(char32_t key, std::string &clipboard);

} // namespace tools
