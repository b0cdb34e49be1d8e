// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Where the settings operations keep their values. The operations themselves (tools/settings.h)
// check types and sizes and phrase the messages; a back end only stores typed bytes under a
// name, the way the registry does, so that every back end fails alike.
namespace tools {

// A value as the registry holds it: a type (kRegSz, kRegBinary, ... in tools/regfile.h) and its
// bytes; strings are UTF-16LE with a terminating NUL character.
struct RegData
{
    std::uint32_t type = 0;
    std::string bytes;
};

class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;
    // Empty when the value, the key or the whole store does not exist or cannot be read.
    // The key is opened without creating it.
    virtual std::optional<RegData> Read(const std::string &name) = 0;
    // Creates the key when it is missing; false when the value could not be stored.
    virtual bool Write(const std::string &name, const RegData &data) = 0;
};

// The registry key below HKEY_CURRENT_USER that holds the program's settings.
inline constexpr const char *kSettingsKeyPath = "Software\\Lumidra";

// The settings file in the text format of registry export files (tools/regfile.h); the values
// live in the section [HKEY_CURRENT_USER\Software\Lumidra]. Every call reads the file afresh;
// every write replaces it whole.
std::unique_ptr<SettingsBackend> MakeFileSettings(const std::string &path);

// The file the settings operations use where there is no registry: $LUMIDRA_SETTINGS when set,
// else $XDG_CONFIG_HOME/Lumidra/Lumidra.reg when that variable holds an absolute path, else
// $HOME/.config/Lumidra/Lumidra.reg. Empty when no home folder can be found.
std::string SettingsFilePath();

#ifdef _WIN32
// The registry key keyPath (UTF-8) below HKEY_CURRENT_USER.
std::unique_ptr<SettingsBackend> MakeRegistrySettings(const std::string &keyPath);
// Deletes the key keyPath below HKEY_CURRENT_USER with its values (tests use their own key).
bool DeleteRegistryKey(const std::string &keyPath);
#endif

// Makes the settings operations use backend instead of the registry or settings file of the
// platform; null goes back to those.
void SetSettingsBackendForTesting(std::unique_ptr<SettingsBackend> backend);

} // namespace tools
