// SPDX-License-Identifier: GPL-3.0-or-later
// The settings operations on the Windows registry, against a key of the test's own below
// HKEY_CURRENT_USER (never the program's own key). Values are planted and checked with the
// registry functions directly, so the back end is judged by what the registry really holds.
// A plain program: it prints each failed check and ends with "N passed, N failed".
#include "tools/regfile.h"
#include "tools/settings.h"
#include "tools/settings_backend.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace tools;
using namespace std::string_literals;

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string &what)
{
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

void CheckEqual(const std::string &got, const std::string &expected, const std::string &what)
{
    Check(got == expected, what + ": got \"" + got + "\", expected \"" + expected + "\"");
}

// The message of the SettingsError that action throws, or what it returned.
std::string Outcome(const std::function<std::string()> &action)
{
    try {
        return action();
    } catch (const SettingsError &e) {
        return e.what();
    }
}

std::wstring Wide(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::string KeyPathForThisRun()
{
    std::random_device random;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Software\\LumidraTest-%08x%08x", random(),
                  static_cast<unsigned>(GetCurrentProcessId()));
    return buffer;
}

bool KeyExists(const std::string &path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Direct access to the test key, beside the back end under test.
class TestKey
{
public:
    explicit TestKey(const std::string &path) : path_(Wide(path)) {}

    void Plant(const std::string &name, DWORD type, const std::string &bytes) const
    {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                      KEY_SET_VALUE, nullptr, &key, nullptr);
        if (result == ERROR_SUCCESS) {
            result = RegSetValueExW(key, Wide(name).c_str(), 0, type,
                                    reinterpret_cast<const BYTE *>(bytes.data()),
                                    static_cast<DWORD>(bytes.size()));
            RegCloseKey(key);
        }
        Check(result == ERROR_SUCCESS, "planting " + name);
    }

    // The type and bytes the registry holds, or type REG_NONE with "missing".
    std::pair<DWORD, std::string> Held(const std::string &name) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS)
            return {REG_NONE, "missing"};
        DWORD type = 0;
        DWORD size = 0;
        std::string bytes;
        LONG result = RegQueryValueExW(key, Wide(name).c_str(), nullptr, &type, nullptr, &size);
        if (result == ERROR_SUCCESS) {
            bytes.resize(size);
            result = RegQueryValueExW(key, Wide(name).c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE *>(bytes.data()), &size);
        }
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return {REG_NONE, "missing"};
        return {type, bytes};
    }

private:
    std::wstring path_;
};

std::string Hex(const std::string &bytes)
{
    std::string out;
    char two[4];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%02x", b);
        out += two;
    }
    return out;
}

const char *const kAllNames[] = {
    "DecNum",
    "MainUnit",
    "AngleUnit",
    "ExpTimeFormat",
    "Top",
    "Left",
    "sTop",
    "sLeft",
    "CustomConstant",
    "CustomConstantZP",
    "LastDirExposureTimes",
    "LastDirZonePlate",
};

// Before anything is written: no key, so nothing exists, numbers cannot be read, texts are
// empty and the preferences keep their defaults.
void MissingKey()
{
    for (const char *name : kAllNames) {
        Check(!SettingExists(name), std::string("no key: ") + name + " does not exist");
        CheckEqual(Outcome([&] { return std::to_string(ReadSettingInteger(name)); }),
                   "Failed to get data for '"s + name + "'",
                   "no key: integer " + std::string(name));
        CheckEqual(Outcome([&] { return std::to_string(ReadSettingFloat(name)); }),
                   "Failed to get data for '"s + name + "'", "no key: float " + std::string(name));
        CheckEqual(Outcome([&] { return ReadSettingString(name); }), "",
                   "no key: string " + std::string(name));
    }
    DecNum = 3, MainUnit = 0, AngleUnit = 0, ExpTimeFormat = 1;
    LoadPreferences();
    Check(DecNum == 3 && MainUnit == 0 && AngleUnit == 0 && ExpTimeFormat == 1,
          "no key: the preferences keep their defaults");
}

// Writes create the key and store the types the program's other versions expect.
void WritesAndTheirRegistryTypes(const std::string &path, const TestKey &key)
{
    WriteSettingInteger("DecNum", 7);
    Check(KeyExists(path), "the first write creates the key");
    struct Written
    {
        const char *name;
        std::function<void()> write;
        DWORD type;
        std::string bytes;
    };
    const Written cases[] = {
        {"DecNum", [] {}, REG_DWORD, "\x07\0\0\0"s},
        {"Top", [] { WriteSettingInteger("Top", -20); }, REG_DWORD, "\xec\xff\xff\xff"s},
        {"Left", [] { WriteSettingInteger("Left", std::numeric_limits<std::int32_t>::min()); },
         REG_DWORD, "\0\0\0\x80"s},
        // 1.5 is 0x3FF8000000000000: eight bytes, little-endian.
        {"CustomConstant", [] { WriteSettingFloat("CustomConstant", 1.5); }, REG_BINARY,
         "\0\0\0\0\0\0\xf8\x3f"s},
        {"CustomConstantZP", [] { WriteSettingFloat("CustomConstantZP", -1); }, REG_BINARY,
         "\0\0\0\0\0\0\xf0\xbf"s},
        // UTF-16LE with the terminating NUL: "C:\Zö" and an emoji as a surrogate pair.
        {"LastDirZonePlate",
         [] { WriteSettingString("LastDirZonePlate", "C:\\Z\xC3\xB6\xF0\x9F\x98\x80"); }, REG_SZ,
         "C\0:\0\\\0Z\0\xf6\0\x3d\xd8\x00\xde\0\0"s},
        {"LastDirExposureTimes", [] { WriteSettingString("LastDirExposureTimes", ""); }, REG_SZ,
         "\0\0"s},
    };
    for (const Written &c : cases) {
        c.write();
        const auto [type, bytes] = key.Held(c.name);
        Check(type == c.type, std::string(c.name) + " has the registry type " +
                                  std::to_string(c.type) + ", not " + std::to_string(type));
        CheckEqual(Hex(bytes), Hex(c.bytes), std::string(c.name) + " bytes");
    }

    CheckEqual(std::to_string(ReadSettingInteger("DecNum")), "7", "DWORD read back");
    CheckEqual(std::to_string(ReadSettingInteger("Top")), "-20", "negative DWORD read back");
    CheckEqual(std::to_string(ReadSettingInteger("Left")), "-2147483648", "smallest DWORD");
    Check(ReadSettingFloat("CustomConstant") == 1.5, "8-byte double read back");
    CheckEqual(ReadSettingString("LastDirZonePlate"), "C:\\Z\xC3\xB6\xF0\x9F\x98\x80",
               "string read back");
    Check(SettingExists("LastDirExposureTimes") &&
              ReadSettingString("LastDirExposureTimes").empty(),
          "an empty string exists and reads as empty");
    // Value names compare without regard to case, as the registry compares them.
    CheckEqual(std::to_string(ReadSettingInteger("decnum")), "7", "names ignore case");

    for (double v : {0.0, -0.0, 1e-310, 1.7976931348623157e308, 0.1 + 0.2}) {
        WriteSettingFloat("CustomConstant", v);
        const double back = ReadSettingFloat("CustomConstant");
        Check(std::memcmp(&back, &v, sizeof v) == 0, "double bits round trip");
    }
    WriteSettingInteger("DecNum", 4);
    CheckEqual(std::to_string(ReadSettingInteger("DecNum")), "4", "an overwrite replaces");

    std::string longText(5000, 'x');
    longText += "\xE2\x82\xAC";
    WriteSettingString("LastDirZonePlate", longText);
    Check(ReadSettingString("LastDirZonePlate") == longText, "a long string round trips");
}

// Values planted by hand, of the right and of the wrong registry type or size.
void PlantedValues(const TestKey &key)
{
    key.Plant("Dword", REG_DWORD, "\x01\0\0\0"s);
    key.Plant("String", REG_SZ, "1\0002\0\0\0"s);
    key.Plant("Expand", REG_EXPAND_SZ, "%\0T\0E\0M\0P\0%\0\0\0"s);
    key.Plant("NoNul", REG_SZ, "a\0b\0"s);
    key.Plant("Four", REG_BINARY, "\0\0\x80\x3f"s); // 1.0f: a 4-byte "double"
    key.Plant("Nine", REG_BINARY, "\0\0\0\0\0\0\xf0\x3f\0"s);
    key.Plant("Eight", REG_BINARY, "\0\0\0\0\0\0\xf0\x3f"s); // 1.0
    key.Plant("Qword", REG_QWORD, "\x01\0\0\0\0\0\0\0"s);
    key.Plant("BigEndian", REG_DWORD_BIG_ENDIAN, "\0\0\0\x01"s);
    key.Plant("Multi", REG_MULTI_SZ, "a\0\0\0\0\0"s);
    key.Plant("CustomConstantZP", REG_BINARY, "\0\0\x80\xbf"s); // 4 bytes: no user constant
    key.Plant("MainUnit", REG_SZ, "1\0\0\0"s);                  // wrong type: default kept
    key.Plant("AngleUnit", REG_DWORD, "\x01\0\0\0"s);

    enum Kind
    {
        Integer,
        Float,
        String
    };
    struct Case
    {
        const char *name;
        Kind kind;
        std::string expected; // the value read, or the message
    };
    const auto wrong = [](const char *name) { return "Invalid data type for '"s + name + "'"; };
    const Case cases[] = {
        {"Dword", Float, wrong("Dword")},
        {"Dword", String, wrong("Dword")},
        {"String", Integer, wrong("String")},
        {"String", Float, wrong("String")},
        {"Four", Float, wrong("Four")},
        {"Four", Integer, wrong("Four")},
        {"Nine", Float, wrong("Nine")},
        {"Eight", Integer, wrong("Eight")},
        {"Eight", String, wrong("Eight")},
        {"Qword", Integer, wrong("Qword")},
        {"Qword", Float, wrong("Qword")},
        {"BigEndian", Integer, wrong("BigEndian")},
        {"Multi", String, wrong("Multi")},
        {"Missing", Integer, "Failed to get data for 'Missing'"},
        {"Missing", Float, "Failed to get data for 'Missing'"},
        {"Missing", String, ""},
        {"Dword", Integer, "1"},
        {"Eight", Float, "1"},
        {"String", String, "12"},
        {"Expand", String, "%TEMP%"}, // read as it stands, not expanded
        {"NoNul", String, "ab"},
    };
    for (const Case &c : cases) {
        const std::string got = Outcome([&]() -> std::string {
            if (c.kind == Integer)
                return std::to_string(ReadSettingInteger(c.name));
            if (c.kind == Float)
                return ReadSettingFloat(c.name) == 1.0 ? "1" : "other";
            return ReadSettingString(c.name);
        });
        CheckEqual(got, c.expected,
                   std::string(c.name) + " read as kind " + std::to_string(c.kind));
    }
    Check(SettingExists("Four") && !SettingExists("Missing"), "SettingExists sees any type");

    DecNum = 3, MainUnit = 0, AngleUnit = 0, ExpTimeFormat = 1;
    WriteSettingInteger("DecNum", 12);
    LoadPreferences();
    Check(DecNum == 12 && MainUnit == 0 && AngleUnit == 1 && ExpTimeFormat == 1,
          "preferences: 12 places taken, a string MainUnit passed over, AngleUnit read");
}

// Writes the registry refuses, and names no key can hold, fail with the set-data message.
void FailedWrites(const std::string &path)
{
    CheckEqual(Outcome([] {
                   WriteSettingInteger("Bad\xC3", 1);
                   return std::string("written");
               }),
               "Failed to set data for 'Bad\xC3'", "a name that is not UTF-8");
    CheckEqual(Outcome([] {
                   WriteSettingString("LastDirZonePlate", "\xC3(");
                   return std::string("written");
               }),
               "Failed to set data for 'LastDirZonePlate'", "a text that is not UTF-8");

    // A key below a value-less path segment longer than the registry allows (255 characters).
    const std::string badPath = path + "\\" + std::string(300, 'k');
    SetSettingsBackendForTesting(MakeRegistrySettings(badPath));
    CheckEqual(Outcome([] {
                   WriteSettingInteger("DecNum", 1);
                   return std::string("written");
               }),
               "Failed to set data for 'DecNum'", "a key the registry cannot create");
    Check(!SettingExists("DecNum"), "nothing exists under a key that cannot be");
    SetSettingsBackendForTesting(MakeRegistrySettings(path));
}

} // namespace

int main()
{
    const std::string path = KeyPathForThisRun();
    const std::string programKey = kSettingsKeyPath;
    const bool programKeyBefore = KeyExists(programKey);
    Check(!KeyExists(path), "the test key is new");
    std::printf("test key: HKEY_CURRENT_USER\\%s\n", path.c_str());

    TestKey key(path);
    SetSettingsBackendForTesting(MakeRegistrySettings(path));
    try {
        MissingKey();
        WritesAndTheirRegistryTypes(path, key);
        PlantedValues(key);
        FailedWrites(path);
    } catch (const std::exception &e) {
        Check(false, std::string("unexpected exception: ") + e.what());
    }
    SetSettingsBackendForTesting(nullptr);

    Check(DeleteRegistryKey(path), "the test key is deleted");
    Check(!KeyExists(path), "the test key is gone");
    Check(DeleteRegistryKey(path), "deleting a missing key succeeds");
    Check(KeyExists(programKey) == programKeyBefore, "the program's own key is untouched");

    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
