// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the program's UTF-8 text and the UTF-16 the settings store keeps, both
// as code units and as the little-endian bytes of a registry string value.
namespace tools {

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Empty when text is not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

// An unpaired surrogate becomes U+FFFD, as the system's own conversion does.
std::string Utf16ToUtf8(std::u16string_view text);

// Code units as little-endian byte pairs, and back; a final odd byte is dropped.
std::string Utf16ToLeBytes(std::u16string_view text);
std::u16string LeBytesToUtf16(std::string_view bytes);

} // namespace tools
