// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// The settings store: named values under one key of the current user's settings.
// On Windows the key is HKEY_CURRENT_USER\Software\Lumidra in the registry. Elsewhere it is a
// per-user file in the text format of registry export files, kept at
// $XDG_CONFIG_HOME/Lumidra/Lumidra.reg (~/.config when the variable is unset, empty or not
// an absolute path); the environment variable LUMIDRA_SETTINGS names another file instead.
// A damaged settings file reads as an empty store; the next write keeps it as <file>.bak and
// starts a fresh file (tools/settings_backend.h, tools/regfile.h).
//
// Every operation opens the store, does its one read or write and closes it again.
// Failures are thrown as SettingsError with the user-facing message.
namespace tools {

class SettingsError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The four process-wide preferences, with their defaults until LoadPreferences runs.
extern int DecNum;        // decimal places of results
extern int MainUnit;      // 0 millimetres, 1 inches
extern int AngleUnit;     // 0 degrees-minutes-seconds, 1 decimal degrees
extern int ExpTimeFormat; // 1 round off exposure times, 0 exact

// The largest number of decimal places that is honoured; a double shows no more.
inline constexpr int kMaxDecNum = 20;

std::int32_t ReadSettingInteger(const std::string &name);
void WriteSettingInteger(const std::string &name, std::int32_t value);
double ReadSettingFloat(const std::string &name);
void WriteSettingFloat(const std::string &name, double value);
std::string ReadSettingString(const std::string &name); // empty when absent
void WriteSettingString(const std::string &name, const std::string &value);
bool SettingExists(const std::string &name);

// Overwrites each preference in memory whose value exists in the store. A value of the wrong
// type is passed over like a missing one, and DecNum is bounded to 0..kMaxDecNum, so that no
// stored value can stop start-up or make numbers unprintable.
void LoadPreferences();

} // namespace tools
