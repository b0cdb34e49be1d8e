// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer of the core against every way a save can fail: the disk refusing the bytes
// (a file-size limit), a parent path that is a file, a folder where the file should go, and a
// failure injected at each step of the atomic write. After each failure the user is told, no
// new file is left (no temporary file either), and a file that was to be replaced is byte
// for byte as before.
#ifndef _WIN32

#include "tools/atomicfile.h"
#include "tools/exposureexport.h"
#include "tools/settings.h"
#include "tools/settings_backend.h"
#include "tools/zoneplatepdf.h"
#include "tools/zoneplatesvg.h"

#include "tests/support/scratchdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

using namespace tools;
namespace fs = std::filesystem;

namespace {

// A writer as the window uses it: save to path, and the message the user is shown when the
// save failed (nullopt when it succeeded).
struct Writer
{
    const char *name;
    const char *fileName;
    std::string oldContent; // what an earlier save left there
    std::function<std::optional<std::string>(const std::string &path)> save;
    // The message the user must see for a failed save to path.
    std::function<std::string(const std::string &path)> message;
};

// The message of both windows for a file that could not be saved, after "File <path>".
const std::string kCannotBeSaved = " cannot be saved. Make sure the disk is not full, "
                                   "write-protected or that the file is not currently in use.";

std::string CannotBeSaved(const std::string &path)
{
    return "File " + path + kCannotBeSaved;
}

std::vector<Writer> Writers()
{
    ZonePlatePdfInput plate;
    plate.values = CalculateZonePlate(3, 100, 0.00055, 2);
    plate.focalText = "100";
    plate.unitText = "mm";
    plate.date = "20240102030405";

    ExportTexts table;
    table.T1 = "Exposure times";
    table.H1 = "Metered";
    table.H2 = "Exposure";
    table.Labels.fill("1 s");
    table.Values.fill("2,5 s");
    const auto exposureTable = [table](const char *name, const char *fileName, const char *kind) {
        return Writer{name, fileName, "an older table\r\n",
                      [table, kind](const std::string &path) -> std::optional<std::string> {
                          if (ExportExposureTable(path, kind, table))
                              return std::nullopt;
                          return ExposureSaveFailedText(path);
                      },
                      CannotBeSaved};
    };

    return {
        exposureTable("exposure spreadsheet", "times.xls", "excel"),
        exposureTable("exposure formatted text", "times.txt", "txtformat"),
        exposureTable("exposure tab-delimited text", "times.txt", "txttab"),
        exposureTable("exposure CSV", "times.csv", "csv"),
        {"zone plate PDF", "plate.pdf", "%PDF-1.2 an older plate\r\n",
         [plate](const std::string &path) -> std::optional<std::string> {
             if (WriteZonePlatePdf(path, plate))
                 return std::nullopt;
             return ZonePlateSaveFailedText(path);
         },
         CannotBeSaved},
        {"zone plate SVG", "plate.svg", "<svg>an older plate</svg>\n",
         [plate](const std::string &path) -> std::optional<std::string> {
             if (WriteZonePlateSvg(path, plate))
                 return std::nullopt;
             return ZonePlateSaveFailedText(path);
         },
         CannotBeSaved},
        {"settings file", "Lumidra.reg",
         "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Lumidra]\n"
         "\"DecNum\"=dword:00000007\n\n",
         [](const std::string &path) -> std::optional<std::string> {
             SetSettingsBackendForTesting(MakeFileSettings(path));
             std::optional<std::string> message;
             try {
                 WriteSettingString("LastDirZonePlate", "/home/user/plates");
             } catch (const SettingsError &e) {
                 message = e.what();
             }
             SetSettingsBackendForTesting(nullptr);
             return message;
         },
         [](const std::string &) {
             return std::string("Failed to set data for 'LastDirZonePlate'");
         }},
        // The writer underneath them all, with the reason it gives.
        {"atomic file", "notes.txt", "an older file\r\n",
         [](const std::string &path) -> std::optional<std::string> {
             std::string error;
             if (WriteFileAtomically(path, std::string(64, 'x'), &error))
                 return std::nullopt;
             return error.empty() ? "failed" : "failed: " + error;
         },
         [](const std::string &) { return std::string("failed: "); }}, // and a reason
    };
}

enum class Fault
{
    SizeLimit,
    ParentIsFile,
    TargetIsFolder,
    Open,
    Write,
    Close,
    Rename
};

struct FaultCase
{
    const char *name;
    Fault fault;
};

const FaultCase kFaults[] = {
    {"file-size limit", Fault::SizeLimit},
    {"parent path is a file", Fault::ParentIsFile},
    {"target is a folder", Fault::TargetIsFolder},
    {"open fails", Fault::Open},
    {"write fails", Fault::Write},
    {"close fails", Fault::Close},
    {"rename fails", Fault::Rename},
};

// Puts a fault in place for its lifetime: writes beyond 16 bytes fail with EFBIG (SIGXFSZ
// ignored, so the process lives on), or the atomic writer fails at the given step.
class ActiveFault
{
public:
    explicit ActiveFault(Fault fault)
    {
        switch (fault) {
        case Fault::SizeLimit:
            sizeLimit_.emplace(16);
            break;
        case Fault::Open:
            SetFileFaultForTesting(FileFault::Open);
            break;
        case Fault::Write:
            SetFileFaultForTesting(FileFault::Write);
            break;
        case Fault::Close:
            SetFileFaultForTesting(FileFault::Close);
            break;
        case Fault::Rename:
            SetFileFaultForTesting(FileFault::Rename);
            break;
        case Fault::ParentIsFile:
        case Fault::TargetIsFolder:
            break; // laid out on disk
        }
    }
    ~ActiveFault() { SetFileFaultForTesting(FileFault::None); }
    ActiveFault(const ActiveFault &) = delete;
    ActiveFault &operator=(const ActiveFault &) = delete;

private:
    std::optional<testsupport::FileSizeLimit> sizeLimit_;
};

class SaveFailures : public testsupport::ScratchDirTest
{
protected:
    void TearDown() override
    {
        SetFileFaultForTesting(FileFault::None);
        SetSettingsBackendForTesting(nullptr);
        ScratchDirTest::TearDown();
    }

    static void WriteFile(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Every file and folder below dir with the bytes of each file ("<folder>" for folders).
    static std::map<std::string, std::string> Snapshot(const fs::path &dir)
    {
        std::map<std::string, std::string> entries;
        for (const auto &entry : fs::recursive_directory_iterator(dir)) {
            const std::string name = fs::relative(entry.path(), dir).string();
            if (entry.is_directory()) {
                entries[name] = "<folder>";
            } else {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream bytes;
                bytes << in.rdbuf();
                entries[name] = std::move(bytes).str();
            }
        }
        return entries;
    }
};

TEST_F(SaveFailures, EveryWriterSavesWhenNothingStandsInItsWay)
{
    // The matrix below means something only if each writer succeeds without the fault,
    // over an older file too.
    for (const Writer &w : Writers()) {
        const fs::path path = dir_ / w.fileName;
        WriteFile(path, w.oldContent);
        EXPECT_EQ(w.save(path.string()), std::nullopt) << w.name;
        const auto after = Snapshot(dir_);
        EXPECT_EQ(after.size(), 1u) << w.name << ": only the file itself";
        EXPECT_NE(after.at(w.fileName), w.oldContent) << w.name;
        fs::remove(path);
    }
}

TEST_F(SaveFailures, FailedSaveTellsTheUserAndLeavesTheDiskAsItWas)
{
    int scenario = 0;
    for (const Writer &w : Writers()) {
        for (const FaultCase &f : kFaults) {
            for (const bool existing : {false, true}) {
                // A parent that is a file or a folder in the file's place leaves no room for
                // an older file.
                if (existing &&
                    (f.fault == Fault::ParentIsFile || f.fault == Fault::TargetIsFolder))
                    continue;
                const std::string label = std::string(w.name) + ", " + f.name +
                                          (existing ? ", replacing a file" : ", new file");
                const fs::path dir = dir_ / std::to_string(scenario++);
                fs::create_directories(dir);
                fs::path path = dir / w.fileName;
                if (f.fault == Fault::ParentIsFile) {
                    WriteFile(dir / "folder", "a file where a folder should be");
                    path = dir / "folder" / w.fileName;
                } else if (f.fault == Fault::TargetIsFolder) {
                    fs::create_directories(path);
                    WriteFile(path / "inside.txt", "kept");
                } else if (existing) {
                    WriteFile(path, w.oldContent);
                }
                const auto before = Snapshot(dir);

                std::optional<std::string> message;
                {
                    ActiveFault fault(f.fault);
                    message = w.save(path.string());
                }

                ASSERT_TRUE(message.has_value()) << label << ": reported as saved";
                EXPECT_TRUE(message->starts_with(w.message(path.string())))
                    << label << ": the user is told \"" << *message << "\"";
                EXPECT_EQ(Snapshot(dir), before) << label << ": the disk changed";
            }
        }
    }
}

// A settings file that cannot be read is set aside as Lumidra.reg.bak when a write replaces
// it. A failed write must leave both the file and an earlier backup as they were; a write
// that succeeds leaves the fresh file and the backup of what it replaced, nothing more.
TEST_F(SaveFailures, UnreadableSettingsFileAndItsBackupSurviveAFailedSave)
{
    const std::vector<Writer> writers = Writers();
    const auto it = std::find_if(writers.begin(), writers.end(), [](const Writer &w) {
        return std::string_view(w.name) == "settings file";
    });
    ASSERT_NE(it, writers.end());
    const Writer &settings = *it;
    struct Case
    {
        const char *name;
        std::string content;
    };
    const Case cases[] = {
        {"damaged", "garbage"},
        {"too large to be settings", std::string((1 << 20) + 1, ';')},
    };
    for (const Case &c : cases) {
#ifdef __EMSCRIPTEN__
        // Node's file system has no hard links: there an oversized file can only be kept by
        // moving it aside before the write, so a failed save cannot leave the disk as it was.
        if (c.content.size() > (1 << 20))
            continue;
#endif
        const fs::path file = dir_ / "Lumidra.reg";
        const auto layOut = [&] {
            fs::remove_all(dir_);
            fs::create_directories(dir_);
            WriteFile(file, c.content);
            WriteFile(dir_ / "Lumidra.reg.bak", "an earlier damaged file");
            return Snapshot(dir_);
        };
        for (const FaultCase &f : kFaults) {
            if (f.fault == Fault::ParentIsFile || f.fault == Fault::TargetIsFolder)
                continue;
            const auto before = layOut();
            std::optional<std::string> message;
            {
                ActiveFault fault(f.fault);
                message = settings.save(file.string());
            }
            EXPECT_EQ(message, settings.message(file.string())) << c.name << ", " << f.name;
            EXPECT_TRUE(Snapshot(dir_) == before)
                << c.name << ", " << f.name << ": the disk changed";
        }

        layOut();
        EXPECT_EQ(settings.save(file.string()), std::nullopt) << c.name;
        const auto after = Snapshot(dir_);
        EXPECT_EQ(after.size(), 2u) << c.name << ": the file and its backup, nothing more";
        EXPECT_TRUE(after.count("Lumidra.reg.bak") && after.at("Lumidra.reg.bak") == c.content)
            << c.name;
    }
}

} // namespace

#endif // _WIN32
