// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/settings.h"

#include "tools/regfile.h"
#include "tools/settings_backend.h"
#include "tools/stdcompat.h"
#include "tools/stringtable.h"
#include "tools/utf16.h"

#include <algorithm>

namespace tools {

int DecNum = 3;
int MainUnit = 0;
int AngleUnit = 0;
int ExpTimeFormat = 1;

namespace {

constexpr int kGetFailed = 2400;
constexpr int kWrongType = 2401;
constexpr int kSetFailed = 2402;

std::unique_ptr<SettingsBackend> g_testBackend;

// Names are UTF-8 text without control characters, which both the registry and the
// settings file can hold.
bool IsValidName(const std::string &name)
{
    return IsValidUtf8(name) && std::none_of(name.begin(), name.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20;
           });
}

std::unique_ptr<SettingsBackend> PlatformStore()
{
#ifdef _WIN32
    return MakeRegistrySettings(kSettingsKeyPath);
#else
    return MakeFileSettings(SettingsFilePath());
#endif
}

// Every operation opens the store afresh: the file may have changed in between.
template <class Operation> auto WithStore(Operation operation)
{
    if (g_testBackend)
        return operation(*g_testBackend);
    return operation(*PlatformStore());
}

std::optional<RegData> ReadValue(const std::string &name)
{
    if (!IsValidName(name))
        return std::nullopt;
    return WithStore([&](SettingsBackend &store) { return store.Read(name); });
}

void WriteValue(const std::string &name, const RegData &data)
{
    if (!IsValidName(name) ||
        !WithStore([&](SettingsBackend &store) { return store.Write(name, data); }))
        throw SettingsError(FormatStr(kSetFailed, name));
}

// The value must exist and have the expected type and size.
std::string ReadFixed(const std::string &name, std::uint32_t type, std::size_t size)
{
    std::optional<RegData> data = ReadValue(name);
    if (!data)
        throw SettingsError(FormatStr(kGetFailed, name));
    if (data->type != type || data->bytes.size() != size)
        throw SettingsError(FormatStr(kWrongType, name));
    return std::move(data->bytes);
}

std::uint64_t FromLittleEndian(const std::string &bytes)
{
    std::uint64_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        v = v << 8 | static_cast<unsigned char>(bytes[i]);
    return v;
}

std::string ToLittleEndian(std::uint64_t v, int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i, v >>= 8)
        bytes += static_cast<char>(v & 0xFF);
    return bytes;
}

} // namespace

void SetSettingsBackendForTesting(std::unique_ptr<SettingsBackend> backend)
{
    g_testBackend = std::move(backend);
}

std::int32_t ReadSettingInteger(const std::string &name)
{
    auto v = static_cast<std::uint32_t>(FromLittleEndian(ReadFixed(name, kRegDword, 4)));
    return static_cast<std::int32_t>(v);
}

void WriteSettingInteger(const std::string &name, std::int32_t value)
{
    WriteValue(name, {kRegDword, ToLittleEndian(static_cast<std::uint32_t>(value), 4)});
}

double ReadSettingFloat(const std::string &name)
{
    return compat::bit_cast<double>(FromLittleEndian(ReadFixed(name, kRegBinary, 8)));
}

void WriteSettingFloat(const std::string &name, double value)
{
    WriteValue(name, {kRegBinary, ToLittleEndian(compat::bit_cast<std::uint64_t>(value), 8)});
}

std::string ReadSettingString(const std::string &name)
{
    std::optional<RegData> data = ReadValue(name);
    if (!data)
        return {};
    if (data->type != kRegSz && data->type != kRegExpandSz)
        throw SettingsError(FormatStr(kWrongType, name));
    // The terminating NUL is usually stored with the text, but need not be.
    std::u16string units = LeBytesToUtf16(data->bytes);
    while (!units.empty() && units.back() == 0)
        units.pop_back();
    return Utf16ToUtf8(units);
}

void WriteSettingString(const std::string &name, const std::string &value)
{
    std::optional<std::u16string> units = Utf8ToUtf16(value);
    if (!units)
        throw SettingsError(FormatStr(kSetFailed, name));
    WriteValue(name, {kRegSz, Utf16ToLeBytes(*units) + std::string(2, '\0')});
}

bool SettingExists(const std::string &name)
{
    return ReadValue(name).has_value();
}

void LoadPreferences()
{
    struct Preference
    {
        const char *name;
        int *value;
    };
    const Preference preferences[] = {
        {"DecNum", &DecNum},
        {"MainUnit", &MainUnit},
        {"AngleUnit", &AngleUnit},
        {"ExpTimeFormat", &ExpTimeFormat},
    };
    for (const Preference &p : preferences) {
        if (!SettingExists(p.name))
            continue;
        try {
            *p.value = ReadSettingInteger(p.name);
        } catch (const SettingsError &) {
            // A value of the wrong type counts as absent: start-up must go on.
        }
    }
    // More places than a double can show would only print noise, and a huge count would
    // make every number printed take forever.
    DecNum = std::clamp(DecNum, 0, kMaxDecNum);
}

} // namespace tools
