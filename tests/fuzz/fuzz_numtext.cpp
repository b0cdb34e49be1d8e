// SPDX-License-Identifier: GPL-3.0-or-later
// Number text: reading field texts, printing lengths and the key filters, on arbitrary texts,
// separators and decimal places.
//
// Input, one field a line:
//   1. options: the decimal separator (first byte), the decimal places ('0' + places; any
//      byte gives a count from -48 to 207), then the key: "^V" for Ctrl+V, else the first
//      UTF-8 character (a lone byte when it is not UTF-8)
//   2. a number text     3. a unit name     4. the field's text
//   5. the field's text outside its selection     6. the clipboard
//   7. a value to print (C syntax, "inf" and "nan" too); absent: the number text's value
#include "fuzz_input.h"
#include "tools/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

using namespace tools;

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char32_t KeyOf(std::string_view text)
{
    if (text.empty())
        return U'5';
    if (text == "^V")
        return kPasteKey;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t length = b(0) < 0x80 ? 1 : b(0) >= 0xF0 ? 4 : b(0) >= 0xE0 ? 3 : 2;
    if (length == 1 || text.size() < length)
        return b(0);
    char32_t key = b(0) & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        key = key << 6 | (b(i) & 0x3F);
    return key;
}

// The decimal number grammar of ParseDecimal, read independently: blanks, an optional sign,
// digits with at most one separator (at least one digit), an optional exponent; then the
// same number with '.' handed to from_chars.
enum class Reference
{
    NotANumber,
    Value,
    OutOfRange
};

Reference ReferenceParse(std::string_view text, char decSep, double &value)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            number += text[i];
            digits = true;
        } else if (text[i] == decSep && !separator) {
            number += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (!digits)
        return Reference::NotANumber;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        bool expDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            number += text[i];
            expDigits = true;
        }
        if (!expDigits)
            return Reference::NotANumber;
    }
    if (i != text.size())
        return Reference::NotANumber;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return Reference::OutOfRange;
    return ec == std::errc{} && end == number.data() + number.size() ? Reference::Value
                                                                     : Reference::NotANumber;
}

void CheckReading(std::string_view text, std::string_view unit, char decSep)
{
    const std::optional<double> parsed = ParseDecimal(text, decSep);
    const double number = TextToNumber(text, decSep);
    fuzz::Check(std::isfinite(number), "TextToNumber gives a finite number", text);
    fuzz::Check(number == parsed.value_or(0.0), "TextToNumber agrees with ParseDecimal", text);

    const double factor = UnitFactor(unit);
    const double mm = LengthTextToMM(text, unit, decSep);
    const double expected = factor == 0 || !std::isfinite(number * factor) ? 0 : number * factor;
    fuzz::Check(mm == expected, "LengthTextToMM is the number times the unit", text);

    // The grammar can only be checked where the separator is not also part of it.
    if (IsDigit(decSep) || decSep == '+' || decSep == '-' || decSep == 'e' || decSep == 'E')
        return;
    double value = 0;
    switch (ReferenceParse(text, decSep, value)) {
    case Reference::NotANumber:
        fuzz::Check(!parsed, "text outside the grammar is no number", text);
        break;
    case Reference::Value:
        fuzz::Check(parsed && *parsed == value, "a number reads as its nearest double", text);
        break;
    case Reference::OutOfRange:
        fuzz::Check(!parsed || *parsed == 0, "too large is no number, too small is zero", text);
        break;
    }
}

// A printed length reads back as the value, rounded to the places asked for.
void CheckPrinting(double mm, int places, std::string_view unit, char decSep)
{
    const std::string text = FormatLength(unit, places, mm, decSep);
    const double factor = UnitFactor(unit) == 0 ? 1 : UnitFactor(unit);
    const double value = mm / factor;
    if (!std::isfinite(value)) {
        fuzz::Check(text == "NAN" || text == "INF" || text == "-INF", "NAN, INF or -INF", text);
        return;
    }
    const int p = std::clamp(places, 0, 20);
    const double half = 0.5 * std::pow(10.0, -p);
    if (text.empty()) {
        fuzz::Check(p == 0 && std::fabs(value) <= 0.5, "only '#' prints nothing, below one half");
        return;
    }
    const std::optional<double> back = ParseDecimal(text, decSep);
    fuzz::Check(back.has_value(), "a printed length reads back", text);
    fuzz::Check(std::fabs(*back - value) <= half * (1 + 1e-9) + std::fabs(value) * 1e-15,
                "printed length within half a last place", text);
    fuzz::Check(*back != 0 || text.front() != '-', "zero prints without a minus sign", text);
    fuzz::Check(std::count(text.begin(), text.end(), decSep) <= 1, "one separator at most", text);
    fuzz::Check(text.find('e') == std::string::npos && text.find('E') == std::string::npos,
                "lengths print without exponent", text);
}

// Degrees, the degree sign, whole minutes, "'", whole seconds from 0 to 60 and '"'; one minus
// sign at most, in front.
void CheckAngle(double value, char decSep)
{
    const std::string text = AngleToDMS(value, decSep);
    if (!std::isfinite(value) || std::fabs(value) >= 1e15 || IsDigit(decSep) || decSep == '-')
        return;
    const std::size_t degree = text.find("\xC2\xB0");
    const std::size_t minute = text.find('\'', degree);
    fuzz::Check(degree != std::string::npos && minute != std::string::npos && text.back() == '"',
                "degrees, minutes and seconds", text);
    fuzz::Check(text.find('-', 1) == std::string::npos, "one minus sign in front", text);
    const std::string_view seconds(text.data() + minute + 1, text.size() - minute - 2);
    int s = -1;
    const auto [end, ec] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), s);
    fuzz::Check(ec == std::errc{} && end == seconds.data() + seconds.size() && s >= 0 && s <= 60,
                "whole seconds from 0 to 60", text);
}

void CheckGeneralText(double value, char decSep)
{
    const std::string text = GeneralNumberText(value, decSep);
    fuzz::Check(NumberToDotText(value) == GeneralNumberText(value, '.'), "dot text is general");
    CheckAngle(value, decSep);
    if (!std::isfinite(value) || (decSep != '.' && decSep != ','))
        return;
    const std::optional<double> back = ParseDecimal(text, decSep);
    // Rounded to 15 digits, the largest doubles print above the largest double.
    if (!back) {
        fuzz::Check(std::fabs(value) > 1.797693134862e308, "general text reads back", text);
        return;
    }
    fuzz::Check(std::fabs(*back - value) <= std::fabs(value) * 1e-14,
                "general text holds 15 digits", text);
}

void CheckKeyFilters(char32_t key, std::string_view fieldText, std::string_view outside,
                     std::string_view clipboardText, char decSep)
{
    const auto stripped = [](std::string_view s) {
        const auto control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
        while (!s.empty() && control(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && control(s.back()))
            s.remove_suffix(1);
        return std::string(s);
    };

    std::string clipboard(clipboardText);
    const char32_t decimal = FilterDecimalKey(key, fieldText, outside, clipboard, decSep);
    fuzz::Check(decimal == key || decimal == 0, "a key passes or is swallowed");
    if (key != kPasteKey || decimal == 0) {
        fuzz::Check(clipboard == clipboardText, "the clipboard changes only on a paste");
    } else {
        fuzz::Check(clipboard == stripped(clipboardText), "a paste strips the clipboard");
        const bool sepOutside = outside.find(decSep) != std::string_view::npos;
        const auto seps = std::count(clipboard.begin(), clipboard.end(), decSep);
        if (!IsDigit(decSep))
            fuzz::Check(seps + (sepOutside ? 1 : 0) <= 1, "a paste brings no second separator",
                        clipboard);
        fuzz::Check(std::all_of(clipboard.begin(), clipboard.end(),
                                [&](char c) { return IsDigit(c) || c == decSep; }),
                    "a paste brings digits and the separator only", clipboard);
    }
    const char32_t sepKey = static_cast<unsigned char>(decSep);
    if (key >= U'0' && key <= U'9' && key != sepKey)
        fuzz::Check(decimal == key, "digits always pass");
    if ((key == U'-' || key == U'+' || key == U' ') && key != sepKey)
        fuzz::Check(decimal == 0, "signs and blanks are swallowed");

    clipboard = std::string(clipboardText);
    const char32_t integer = FilterIntegerKey(key, clipboard);
    fuzz::Check(integer == key || integer == 0, "a key passes or is swallowed");
    if (key == kPasteKey && integer != 0) {
        fuzz::Check(clipboard == stripped(clipboardText), "a paste strips the clipboard");
        fuzz::Check(std::all_of(clipboard.begin(), clipboard.end(), IsDigit),
                    "a whole-number paste brings digits only", clipboard);
    } else {
        fuzz::Check(clipboard == clipboardText, "the clipboard changes only on a paste");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto f = fuzz::Fields(fuzz::AsText(data, size), 7);
    const std::string_view options = f[0];
    const char decSep = options.empty() ? '.' : options[0];
    const int places = options.size() > 1 ? static_cast<unsigned char>(options[1]) - '0' : 3;
    const char32_t key = KeyOf(options.size() > 2 ? options.substr(2) : std::string_view{});

    CheckReading(f[1], f[2], decSep);

    double value = TextToNumber(f[1], decSep);
    if (!f[6].empty()) {
        const auto [end, ec] = std::from_chars(f[6].data(), f[6].data() + f[6].size(), value);
        if (ec != std::errc{})
            value = std::numeric_limits<double>::quiet_NaN();
    }
    const bool checkable = decSep == '.' || decSep == ',';
    for (std::string_view unit : {f[2], std::string_view("in"), std::string_view("cm")}) {
        if (checkable)
            CheckPrinting(value, places, unit, decSep);
        else
            FormatLength(unit, places, value, decSep);
    }
    CheckGeneralText(value, decSep);
    FormatFloat(f[3], value, decSep);
    CheckKeyFilters(key, f[3], f[4], f[5], decSep);
    return 0;
}
