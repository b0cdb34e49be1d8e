// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file used where there is no registry, and the operations on top of it.
#ifndef _WIN32

#include "tools/atomicfile.h"
#include "tools/regfile.h"
#include "tools/settings.h"
#include "tools/settings_backend.h"

#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace tools;
namespace fs = std::filesystem;

namespace {

constexpr const char *kHeader = "Windows Registry Editor Version 5.00\n\n"
                                "[HKEY_CURRENT_USER\\Software\\Lumidra]\n";

// The file after a single write of MainUnit = 1 to a store without a usable file.
constexpr const char *kFreshMainUnit = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Lumidra]
"MainUnit"=dword:00000001

)";

// Every test keeps its settings in a scratch folder of its own, named by LUMIDRA_SETTINGS,
// and puts back the environment and the preferences in memory afterwards.
class Settings : public testsupport::ScratchDirTest
{
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        for (const char *name : {"LUMIDRA_SETTINGS", "XDG_CONFIG_HOME", "HOME"})
            if (const char *value = std::getenv(name))
                savedEnv_[name] = value;
        file_ = (dir_ / "Lumidra.reg").string();
        setenv("LUMIDRA_SETTINGS", file_.c_str(), 1);
        ResetPreferences();
    }

    void TearDown() override
    {
        for (const char *name : {"LUMIDRA_SETTINGS", "XDG_CONFIG_HOME", "HOME"}) {
            if (savedEnv_.count(name))
                setenv(name, savedEnv_[name].c_str(), 1);
            else
                unsetenv(name);
        }
        ResetPreferences();
        SetFileCallsForTesting(nullptr);
        ScratchDirTest::TearDown();
    }

    static void ResetPreferences()
    {
        DecNum = 3;
        MainUnit = 0;
        AngleUnit = 0;
        ExpTimeFormat = 1;
    }

    static std::string ReadFile(const std::string &path) { return testsupport::ReadFile(path); }

    static void WriteFile(const std::string &path, const std::string &text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    // The message of the SettingsError that action throws; empty when it throws none.
    static std::string ErrorOf(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const SettingsError &e) {
            return e.what();
        }
        return {};
    }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string file_;
    std::map<std::string, std::string> savedEnv_;
};

} // namespace

TEST_F(Settings, FirstRunWithoutAFileUsesTheDefaults)
{
    EXPECT_FALSE(SettingExists("DecNum"));
    EXPECT_EQ(ErrorOf([] { ReadSettingInteger("Top"); }), "Failed to get data for 'Top'");
    EXPECT_EQ(ErrorOf([] { ReadSettingFloat("CustomConstant"); }),
              "Failed to get data for 'CustomConstant'");
    EXPECT_EQ(ReadSettingString("LastDirZonePlate"), "");
    LoadPreferences();
    EXPECT_EQ(std::vector<int>({DecNum, MainUnit, AngleUnit, ExpTimeFormat}),
              std::vector<int>({3, 0, 0, 1}));
    EXPECT_TRUE(FolderEntries().empty()) << "reading never creates the file";
}

TEST_F(Settings, WritesCreateTheFolderAndARegistryExportFile)
{
    file_ = (dir_ / "config" / "Lumidra" / "Lumidra.reg").string();
    setenv("LUMIDRA_SETTINGS", file_.c_str(), 1);
    WriteSettingInteger("DecNum", 3);
    WriteSettingFloat("CustomConstant", 1.5);
    WriteSettingString("LastDirZonePlate", "/home/user/plates");
    WriteSettingString("LastDirExposureTimes", R"(C:\Pinhole "Tests")");
    WriteSettingInteger("Top", -20);
    WriteSettingInteger("DecNum", 4); // replaced in its place
    // 1.5 is 0x3FF8000000000000, stored little-endian; -20 is 0xFFFFFFEC.
    EXPECT_EQ(ReadFile(file_), R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Lumidra]
"DecNum"=dword:00000004
"CustomConstant"=hex:00,00,00,00,00,00,f8,3f
"LastDirZonePlate"="/home/user/plates"
"LastDirExposureTimes"="C:\\Pinhole \"Tests\""
"Top"=dword:ffffffec

)");
}

TEST_F(Settings, ValuesRoundTrip)
{
    const std::int32_t integers[] = {0, 1, -1, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t v : integers) {
        WriteSettingInteger("Int", v);
        EXPECT_EQ(ReadSettingInteger("Int"), v);
    }
    const double floats[] = {-1.0,
                             0.00055,
                             1e-310,
                             -0.0,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity()};
    for (double v : floats) {
        WriteSettingFloat("Float", v);
        double got = ReadSettingFloat("Float");
        EXPECT_EQ(std::memcmp(&got, &v, sizeof v), 0) << v;
    }
    const std::string strings[] = {
        "",
        R"(C:\)",
        R"(a "quoted" \\server\share\)",
        "Zonenplatte \u00e4\u00f6\u00fc \u20ac \u4e2d \U0001F600",
        "two\r\nlines\tand a tab",
        std::string("inner\0NUL", 9),
    };
    for (const std::string &v : strings) {
        WriteSettingString("Text", v);
        EXPECT_EQ(ReadSettingString("Text"), v);
    }
    // All three are still there; names compare without regard to case.
    EXPECT_EQ(ReadSettingInteger("INT"), std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(SettingExists("float"));
    EXPECT_EQ(ReadSettingString("text"), std::string("inner\0NUL", 9));
}

// A write of what the file holds already leaves the file alone (the same file, not a fresh
// copy put in its place); any other value, type or name is written.
TEST_F(Settings, WritingTheValueHeldLeavesTheFileAlone)
{
    struct Case
    {
        const char *what;
        std::function<void()> write;
        bool rewritten;
    };
    const Case cases[] = {
        {"the same integer", [] { WriteSettingInteger("Top", 120); }, false},
        {"the same integer, name in other case", [] { WriteSettingInteger("TOP", 120); }, false},
        {"the same float", [] { WriteSettingFloat("Constant", 1.5); }, false},
        {"the same text", [] { WriteSettingString("Folder", "C:\\films"); }, false},
        {"another integer", [] { WriteSettingInteger("Top", 121); }, true},
        {"the integer as a float", [] { WriteSettingFloat("Top", 120); }, true},
        {"a new name", [] { WriteSettingInteger("Left", 120); }, true},
    };
    for (const Case &c : cases) {
        fs::remove(file_);
        WriteSettingInteger("Top", 120);
        WriteSettingFloat("Constant", 1.5);
        WriteSettingString("Folder", "C:\\films");
        const std::string before = ReadFile(file_);
        struct stat held{};
        ASSERT_EQ(::stat(file_.c_str(), &held), 0);

        c.write();
        struct stat now{};
        ASSERT_EQ(::stat(file_.c_str(), &now), 0);
        EXPECT_EQ(now.st_ino != held.st_ino, c.rewritten) << c.what;
        EXPECT_EQ(ReadFile(file_) != before, c.rewritten) << c.what;
    }
    EXPECT_EQ(ReadSettingInteger("Top"), 120);
}

TEST_F(Settings, RewriteKeepsOtherKeysCommentsAndSpelling)
{
    WriteFile(file_, "Windows Registry Editor Version 5.00\r\n\r\n"
                     "; my notes\r\n"
                     "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                     "\"DecNum\"=dword:00000009\r\n"
                     "[hkey_current_user\\software\\lumidra]\r\n"
                     "\"decnum\"=dword:00000002\r\n"
                     "\"Unknown\"=hex(7):41,00,00,00,00,00\r\n");
    EXPECT_EQ(ReadSettingInteger("DecNum"), 2);
    WriteSettingInteger("DecNum", 5);
    WriteSettingInteger("MainUnit", 1);
    EXPECT_EQ(ReadFile(file_), R"(Windows Registry Editor Version 5.00

; my notes

[HKEY_CURRENT_USER\Software\Other]
"DecNum"=dword:00000009

[hkey_current_user\software\lumidra]
"decnum"=dword:00000005
"Unknown"=hex(7):41,00,00,00,00,00
"MainUnit"=dword:00000001

)");
}

TEST_F(Settings, ValuesOfTheWrongTypeFailOrAreReadAsTheSystemWould)
{
    WriteFile(file_, std::string(kHeader) + "\"Dword\"=dword:00000001\n"
                                            "\"String\"=\"12\"\n"
                                            "\"Four\"=hex:00,00,80,3f\n"
                                            "\"Nine\"=hex:00,00,00,00,00,00,f0,3f,00\n"
                                            "\"Eight\"=hex:00,00,00,00,00,00,f0,3f\n"
                                            "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n"
                                            "\"BigEndian\"=hex(5):00,00,00,01\n"
                                            "\"DwordAsBytes\"=hex(4):07,00,00,00\n"
                                            "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\n"
                                            "\"NoNul\"=hex(1):61,00\n");
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
        const char *expected; // the value read, or the message
    };
    const Case cases[] = {
        {"Dword", Float, "Invalid data type for 'Dword'"},
        {"Dword", String, "Invalid data type for 'Dword'"},
        {"String", Integer, "Invalid data type for 'String'"},
        {"Four", Float, "Invalid data type for 'Four'"},
        {"Nine", Float, "Invalid data type for 'Nine'"},
        {"Eight", Integer, "Invalid data type for 'Eight'"},
        {"Qword", Integer, "Invalid data type for 'Qword'"},
        {"BigEndian", Integer, "Invalid data type for 'BigEndian'"},
        {"Eight", Float, "1"},
        {"DwordAsBytes", Integer, "7"},
        {"Expand", String, "%T%"}, // read as it stands, not expanded
        {"NoNul", String, "a"},
    };
    for (const Case &c : cases) {
        std::string got;
        try {
            if (c.kind == Integer)
                got = std::to_string(ReadSettingInteger(c.name));
            else if (c.kind == Float)
                got = ReadSettingFloat(c.name) == 1.0 ? "1" : "other";
            else
                got = ReadSettingString(c.name);
        } catch (const SettingsError &e) {
            got = e.what();
        }
        EXPECT_EQ(got, c.expected) << c.name << " as kind " << c.kind;
    }
}

TEST_F(Settings, NamesAndTextsTheStoreCannotHoldAreRefused)
{
    EXPECT_EQ(ErrorOf([] { WriteSettingInteger("a\nb", 1); }), "Failed to set data for 'a\nb'");
    EXPECT_EQ(ErrorOf([] { WriteSettingString("Dir", "\xC3("); }), "Failed to set data for 'Dir'");
    EXPECT_FALSE(fs::exists(file_));
    WriteSettingInteger("Top", 1);
    EXPECT_FALSE(SettingExists("Top\n"));
    EXPECT_EQ(ReadSettingString("\xFF"), "");
}

TEST_F(Settings, DamagedFileGivesDefaultsAndIsKeptAsideOnTheNextWrite)
{
    struct Case
    {
        const char *name;
        std::string text;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"bad header", "Windows Registry Editor Version 4.00\n\n[HKEY_CURRENT_USER\\Software\\"
                       "Lumidra]\n\"DecNum\"=dword:00000007\n"},
        {"unparsable value line", std::string(kHeader) + "\"DecNum\"=dword:00000007\n\"x\"=y\n"},
        {"invalid UTF-8", std::string(kHeader) + "\"DecNum\"=dword:00000007\n\"s\"=\"\xFF\"\n"},
        {"binary garbage", std::string("\x7F"
                                       "ELF\0\1\2",
                                       7)},
        {"too large to be settings",
         std::string(kHeader) + "\"DecNum\"=dword:00000007\n" + std::string(1 << 20, ';') + "\n"},
    };
    for (const Case &c : cases) {
        fs::remove(file_ + ".bak");
        WriteFile(file_, c.text);
        ResetPreferences();
        LoadPreferences();
        EXPECT_EQ(DecNum, 3) << c.name;
        EXPECT_FALSE(SettingExists("DecNum")) << c.name;
        EXPECT_EQ(ReadSettingString("DecNum"), "") << c.name;

        WriteSettingInteger("MainUnit", 1);
        EXPECT_EQ(ReadFile(file_ + ".bak"), c.text) << c.name;
        EXPECT_EQ(ReadFile(file_), kFreshMainUnit) << c.name;
    }
}

// Failed writes of every kind: tests/tools/test_savefailures.cpp.

TEST_F(Settings, StoreThatCannotBeAFileFailsWritesAndReadsAsEmpty)
{
    WriteFile((dir_ / "plain").string(), "not a folder");
    const std::string paths[] = {
        (dir_ / "plain" / "Lumidra.reg").string(), // parent is a regular file
        dir_.string(),                             // a folder in place of the file
    };
    for (const std::string &path : paths) {
        setenv("LUMIDRA_SETTINGS", path.c_str(), 1);
        EXPECT_FALSE(SettingExists("DecNum")) << path;
        EXPECT_EQ(ErrorOf([] { WriteSettingString("LastDirZonePlate", "/tmp"); }),
                  "Failed to set data for 'LastDirZonePlate'")
            << path;
    }
    EXPECT_EQ(ReadFile((dir_ / "plain").string()), "not a folder");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"plain"});
}

TEST_F(Settings, LinkedFileStaysALink)
{
    fs::create_directories(dir_ / "dotfiles");
    const fs::path real = dir_ / "dotfiles" / "Lumidra.reg";
    WriteFile(real.string(), std::string(kHeader) + "\"DecNum\"=dword:00000007\n");
    fs::create_symlink(real, file_);
    WriteSettingInteger("MainUnit", 1);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(ReadSettingInteger("DecNum"), 7);
    EXPECT_EQ(ReadSettingInteger("MainUnit"), 1);
}

TEST_F(Settings, LoadPreferencesTakesOnlyWhatExistsWithTheRightType)
{
    struct Case
    {
        const char *name;
        const char *values;
        std::vector<int> expected; // DecNum, MainUnit, AngleUnit, ExpTimeFormat
    };
    const Case cases[] = {
        {"nothing stored", "", {3, 0, 0, 1}},
        {"all four",
         "\"DecNum\"=dword:5\n\"MainUnit\"=dword:1\n\"AngleUnit\"=dword:1\n"
         "\"ExpTimeFormat\"=dword:0\n",
         {5, 1, 1, 0}},
        {"DecNum 12 as entered by hand", "\"DecNum\"=dword:0000000c\n", {12, 0, 0, 1}},
        {"DecNum above the bound", "\"DecNum\"=dword:00000063\n", {20, 0, 0, 1}},
        {"DecNum negative", "\"DecNum\"=dword:ffffffff\n", {0, 0, 0, 1}},
        {"others unchecked", "\"MainUnit\"=dword:7\n\"AngleUnit\"=dword:ffffffff\n", {3, 7, -1, 1}},
        {"wrong types keep the defaults",
         "\"DecNum\"=\"5\"\n\"MainUnit\"=hex:01,00,00,00\n\"AngleUnit\"=dword:1\n",
         {3, 0, 1, 1}},
    };
    for (const Case &c : cases) {
        WriteFile(file_, std::string(kHeader) + c.values);
        ResetPreferences();
        LoadPreferences();
        EXPECT_EQ(std::vector<int>({DecNum, MainUnit, AngleUnit, ExpTimeFormat}), c.expected)
            << c.name;
    }

    // Only stored values replace what is in memory (as after the options dialog).
    WriteFile(file_, std::string(kHeader) + "\"ExpTimeFormat\"=dword:0\n");
    ResetPreferences();
    DecNum = 6;
    MainUnit = 1;
    LoadPreferences();
    EXPECT_EQ(std::vector<int>({DecNum, MainUnit, AngleUnit, ExpTimeFormat}),
              std::vector<int>({6, 1, 0, 0}));
}

TEST_F(Settings, FileLocationFollowsTheEnvironment)
{
    const std::string d = dir_.string();
    struct Case
    {
        const char *name;
        const char *lumidra; // null: unset
        const char *xdg;
        std::string expected;
    };
    const Case cases[] = {
        {"LUMIDRA_SETTINGS wins", "/x/s.reg", "/cfg", "/x/s.reg"},
        {"XDG_CONFIG_HOME", nullptr, "/cfg", "/cfg/Lumidra/Lumidra.reg"},
        {"XDG_CONFIG_HOME with slash", "", "/cfg/", "/cfg/Lumidra/Lumidra.reg"},
        {"XDG_CONFIG_HOME empty", nullptr, "", d + "/.config/Lumidra/Lumidra.reg"},
        {"XDG_CONFIG_HOME unset", nullptr, nullptr, d + "/.config/Lumidra/Lumidra.reg"},
        {"XDG_CONFIG_HOME relative", nullptr, "cfg", d + "/.config/Lumidra/Lumidra.reg"},
    };
    setenv("HOME", d.c_str(), 1);
    for (const Case &c : cases) {
        for (auto [name, value] :
             {std::pair{"LUMIDRA_SETTINGS", c.lumidra}, std::pair{"XDG_CONFIG_HOME", c.xdg}}) {
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        }
        EXPECT_EQ(SettingsFilePath(), c.expected) << c.name;
    }

    // A first write makes the folders below the configuration folder.
    unsetenv("LUMIDRA_SETTINGS");
    setenv("XDG_CONFIG_HOME", (d + "/xdg").c_str(), 1);
    WriteSettingInteger("MainUnit", 1);
    EXPECT_EQ(ReadFile(d + "/xdg/Lumidra/Lumidra.reg"), kFreshMainUnit);
}

TEST_F(Settings, OperationsGoThroughTheBackendGiven)
{
    // A store in memory, as the registry would answer; it refuses the name "Locked".
    struct MemoryStore : SettingsBackend
    {
        std::map<std::string, RegData> *values;
        std::optional<RegData> Read(const std::string &name) override
        {
            auto it = values->find(name);
            return it == values->end() ? std::nullopt : std::optional(it->second);
        }
        bool Write(const std::string &name, const RegData &data) override
        {
            (*values)[name] = data;
            return name != "Locked";
        }
    };
    std::map<std::string, RegData> values;
    auto store = std::make_unique<MemoryStore>();
    store->values = &values;
    SetSettingsBackendForTesting(std::move(store));
    WriteSettingInteger("DecNum", 8);
    std::string error = ErrorOf([] { WriteSettingFloat("Locked", 1); });
    LoadPreferences();
    SetSettingsBackendForTesting(nullptr);

    EXPECT_EQ(error, "Failed to set data for 'Locked'");
    EXPECT_EQ(DecNum, 8);
    EXPECT_EQ(values["DecNum"].type, kRegDword);
    EXPECT_EQ(values["DecNum"].bytes, std::string("\x08\0\0\0", 4));
    EXPECT_FALSE(fs::exists(file_));
}

#endif // _WIN32
