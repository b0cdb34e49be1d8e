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
#include "tests/support/scriptedfilecalls.h"

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
    Create,
    Write,
    Sync,
    Close,
    SetMode,
    Rename
};

struct FaultCase
{
    const char *name;
    Fault fault;
    bool onlyReplacing; // the step is taken only when a file is replaced
};

const FaultCase kFaults[] = {
    {"file-size limit", Fault::SizeLimit, false},
    {"parent path is a file", Fault::ParentIsFile, false},
    {"target is a folder", Fault::TargetIsFolder, false},
    {"create fails", Fault::Create, false},
    {"write fails", Fault::Write, false},
    {"sync fails", Fault::Sync, false},
    {"close fails", Fault::Close, false},
    {"setting the mode fails", Fault::SetMode, true},
    {"rename fails", Fault::Rename, false},
};

// Where the file to save lies: plainly at its name, behind a symbolic link (the file the link
// points to is saved, in another folder, and the link stays), or under a name as long as a
// file system takes (255 bytes), which leaves no room to add to it.
enum class Where
{
    Plain,
    BehindLink,
    LongName
};

struct Layout
{
    const char *name;
    Where where;
};

const Layout kLayouts[] = {
    {"at its name", Where::Plain},
    {"behind a symbolic link", Where::BehindLink},
    {"under a 255-byte name", Where::LongName},
};

// The name to save to, and the file that holds the content.
struct Placed
{
    fs::path path;
    fs::path file;
};

// Lays out layout in dir for fileName, with the file holding content when it is given.
Placed Place(const Layout &layout, const fs::path &dir, const std::string &fileName,
             const std::optional<std::string> &content)
{
    Placed placed{dir / fileName, dir / fileName};
    if (layout.where == Where::LongName)
        placed.path = placed.file = dir / (std::string(255 - fileName.size(), 'x') + fileName);
    if (layout.where == Where::BehindLink) {
        fs::create_directories(dir / "real");
        placed.file = dir / "real" / fileName;
        fs::create_symlink(fs::path("real") / fileName, placed.path);
    }
    if (content)
        std::ofstream(placed.file, std::ios::binary) << *content;
    return placed;
}

// Puts a fault in place for its lifetime: writes beyond 16 bytes fail with EFBIG (SIGXFSZ
// ignored, so the process lives on), or one call of the atomic writer fails as the system
// would let it fail.
class ActiveFault
{
public:
    explicit ActiveFault(Fault fault)
    {
        struct Failing
        {
            Fault fault;
            const char *call;
            std::errc error;
        };
        static constexpr Failing kCalls[] = {
            {Fault::Create, "CreateNew", std::errc::no_space_on_device},
            {Fault::Write, "Write", std::errc::no_space_on_device},
            {Fault::Sync, "Sync", std::errc::io_error},
            {Fault::Close, "Close", std::errc::io_error},
            {Fault::SetMode, "SetMode", std::errc::operation_not_permitted},
            {Fault::Rename, "Rename", std::errc::permission_denied},
        };
        if (fault == Fault::SizeLimit)
            sizeLimit_.emplace(16);
        for (const Failing &f : kCalls)
            if (f.fault == fault)
                calls_.Fail(f.call, f.error);
        // A parent that is a file and a folder in the file's place are laid out on disk.
    }

private:
    testsupport::ScriptedFileCalls calls_;
    testsupport::UseFileCalls use_{calls_};
    std::optional<testsupport::FileSizeLimit> sizeLimit_;
};

class SaveFailures : public testsupport::ScratchDirTest
{
protected:
    void TearDown() override
    {
        SetFileCallsForTesting(nullptr);
        SetSettingsBackendForTesting(nullptr);
        ScratchDirTest::TearDown();
    }

    static void WriteFile(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Every file and folder below dir with the bytes and the permission bits of each file
    // ("<folder>" for folders, "<link to ...>" for symbolic links).
    static std::map<std::string, std::string> Snapshot(const fs::path &dir)
    {
        std::map<std::string, std::string> entries;
        for (const auto &entry : fs::recursive_directory_iterator(dir)) {
            const std::string name = fs::relative(entry.path(), dir).string();
            if (entry.is_symlink()) {
                entries[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
            } else if (entry.is_directory()) {
                entries[name] = "<folder>";
            } else {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream bytes;
                bytes << in.rdbuf() << " mode " << std::oct
                      << static_cast<unsigned>(fs::status(entry.path()).permissions());
                entries[name] = std::move(bytes).str();
            }
        }
        return entries;
    }
};

TEST_F(SaveFailures, EveryWriterSavesWhenNothingStandsInItsWay)
{
    // The matrix below means something only if each writer succeeds without the fault, over
    // an older file too, in each layout: the replaced file keeps its mode, a link stays a link.
    for (const Writer &w : Writers()) {
        for (const Layout &layout : kLayouts) {
            const std::string label = std::string(w.name) + ", " + layout.name;
            const fs::path dir = dir_ / "ok";
            fs::create_directories(dir);
            const Placed placed = Place(layout, dir, w.fileName, w.oldContent);
            fs::permissions(placed.file, fs::perms(0640));
            EXPECT_EQ(w.save(placed.path.string()), std::nullopt) << label;
            const auto after = Snapshot(dir);
            EXPECT_EQ(after.size(), placed.path == placed.file ? 1u : 2u)
                << label << ": only the file itself (and its link)";
            const std::string content = testsupport::ReadFile(placed.file);
            EXPECT_FALSE(content.empty() || content == w.oldContent) << label;
            EXPECT_EQ(fs::status(placed.file).permissions(), fs::perms(0640)) << label;
            EXPECT_EQ(fs::is_symlink(placed.path), placed.path != placed.file) << label;
            fs::remove_all(dir);
        }
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
                if (!existing && f.onlyReplacing)
                    continue;
                for (const Layout &layout : kLayouts) {
                    // The folder faults lay out a place of their own.
                    const bool onDisk =
                        f.fault == Fault::ParentIsFile || f.fault == Fault::TargetIsFolder;
                    if (onDisk && &layout != &kLayouts[0])
                        continue;
                    const std::string label = std::string(w.name) + ", " + f.name +
                                              (existing ? ", replacing a file" : ", new file") +
                                              ", " + layout.name;
                    const fs::path dir = dir_ / std::to_string(scenario++);
                    fs::create_directories(dir);
                    fs::path path = dir / w.fileName;
                    if (f.fault == Fault::ParentIsFile) {
                        WriteFile(dir / "folder", "a file where a folder should be");
                        path = dir / "folder" / w.fileName;
                    } else if (f.fault == Fault::TargetIsFolder) {
                        fs::create_directories(path);
                        WriteFile(path / "inside.txt", "kept");
                    } else {
                        const Placed placed =
                            Place(layout, dir, w.fileName,
                                  existing ? std::optional(w.oldContent) : std::nullopt);
                        path = placed.path;
                        if (existing)
                            fs::permissions(placed.file, fs::perms(0640));
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
        EXPECT_TRUE(after.count("Lumidra.reg.bak") &&
                    after.at("Lumidra.reg.bak").starts_with(c.content + " mode "))
            << c.name;
    }
}

} // namespace

#endif // _WIN32
