// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The text format of registry export files, in which the settings are kept where there is no
// registry:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Lumidra]
//   "DecNum"=dword:00000003
//   "CustomConstant"=hex:00,00,00,00,00,00,f8,3f
//   "LastDirZonePlate"="/home/user/plates"
//
// Strings escape only '\' and '"' (as \\ and \"). Data of any other type is written as bytes,
// "hex(n):" for type n, long lists continued on the next line after a trailing '\'. Lines
// starting with ';' are comments. The files are UTF-8 (a UTF-8 byte order mark and the UTF-16LE
// of the system's own export tool are also read); lines end in LF or CR LF.
namespace tools {

// Registry value types, numbered as the system numbers them.
inline constexpr std::uint32_t kRegSz = 1;       // string
inline constexpr std::uint32_t kRegExpandSz = 2; // string with %VARIABLES%
inline constexpr std::uint32_t kRegBinary = 3;   // bytes
inline constexpr std::uint32_t kRegDword = 4;    // 32-bit little-endian number

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

// One named value with its data exactly as the registry holds it: a string is UTF-16LE
// followed by a NUL character, a DWORD four little-endian bytes.
struct RegValue
{
    std::string name; // UTF-8, no control characters; empty for the key's default value "@"
    std::uint32_t type = kRegSz;
    std::string data;
    bool operator==(const RegValue &) const = default;
};

// A comment line, its text starting with ';', kept where it stood.
struct RegComment
{
    std::string text;
    bool operator==(const RegComment &) const = default;
};

using RegEntry = std::variant<RegValue, RegComment>;

struct RegSection
{
    std::string key; // the path between the brackets
    std::vector<RegEntry> entries;
    bool operator==(const RegSection &) const = default;
};

struct RegFile
{
    std::vector<RegComment> comments; // between the header and the first section
    std::vector<RegSection> sections;
    bool operator==(const RegFile &) const = default;
};

// Empty on anything that is not a well-formed file, with the line and reason in *error:
// a missing header, a line that is neither a section, a value nor a comment, a value outside
// a section, a key or value name that occurs twice, text that is not UTF-8, control characters.
std::optional<RegFile> ParseRegFile(std::string_view text, std::string *error = nullptr);

// The file as text with LF line ends; ParseRegFile gives back the same RegFile. A string value
// that cannot stand between quotes (control characters, an embedded NUL, ill-formed UTF-16)
// is written as bytes, "hex(1):".
std::string SerializeRegFile(const RegFile &file);

// Key and value names compare as the registry compares them: ignoring the case of ASCII letters.
bool SameRegName(std::string_view a, std::string_view b);

RegSection *FindRegSection(RegFile &file, std::string_view key);
RegValue *FindRegValue(RegSection &section, std::string_view name);

// Replaces the type and data of the value of that name, keeping its spelling and place, or
// appends the value to the section.
void SetRegValue(RegSection &section, RegValue value);

} // namespace tools
