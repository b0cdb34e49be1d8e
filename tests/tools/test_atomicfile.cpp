// SPDX-License-Identifier: GPL-3.0-or-later
// The atomic writer as a careful editor saves: links followed, modes and owners kept, the
// temporary name within the folder's limit, the order of the calls that makes a save survive
// a power cut, and the save in place where the folder refuses new files. The failures of each
// call for every writer are in test_savefailures.cpp.
#ifndef _WIN32

#include "tools/atomicfile.h"

#include "tests/support/scratchdir.h"
#include "tests/support/scriptedfilecalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace tools;
namespace fs = std::filesystem;

namespace {

class AtomicFile : public testsupport::ScratchDirTest
{
protected:
    void TearDown() override
    {
        SetFileCallsForTesting(nullptr);
        ScratchDirTest::TearDown();
    }

    static void WriteFile(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    static std::vector<std::string> FolderEntries(const fs::path &dir)
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A link, a chain of links, and a link to a file not yet there: the file at the end of the
// chain gets the content, every link stays as it was.
TEST_F(AtomicFile, FollowsSymbolicLinks)
{
    struct Case
    {
        const char *name;
        std::vector<std::pair<std::string, std::string>> links; // link, what it points to
        std::string file;                                       // where the content lands
        bool fileExists;
    };
    const Case cases[] = {
        {"relative link", {{"link.csv", "target.csv"}}, "target.csv", true},
        {"link into another folder", {{"link.csv", "sub/target.csv"}}, "sub/target.csv", true},
        {"chain of links",
         {{"link.csv", "middle.csv"}, {"middle.csv", "sub/target.csv"}},
         "sub/target.csv",
         true},
        {"link to a file not yet there", {{"link.csv", "sub/new.csv"}}, "sub/new.csv", false},
    };
    for (const Case &c : cases) {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
        if (c.fileExists)
            WriteFile(dir_ / c.file, "old");
        for (const auto &[link, to] : c.links)
            fs::create_symlink(to, dir_ / link);

        std::string error;
        ASSERT_TRUE(WriteFileAtomically((dir_ / "link.csv").string(), "new", &error))
            << c.name << ": " << error;
        EXPECT_EQ(testsupport::ReadFile(dir_ / c.file), "new") << c.name;
        for (const auto &[link, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir_ / link)) << c.name << ": " << link;
            EXPECT_EQ(fs::read_symlink(dir_ / link), fs::path(to)) << c.name;
        }
    }
}

// The replaced file keeps its permission bits whatever the umask; a new file gets the umask's.
TEST_F(AtomicFile, KeepsThePermissionBits)
{
    const mode_t savedMask = ::umask(022);
    struct Case
    {
        const char *name;
        int before; // -1: no file yet
        unsigned after;
    };
    const Case cases[] = {
        {"group may read", 0640, 0640},  {"private", 0600, 0600}, {"executable", 0755, 0755},
        {"group may write", 0664, 0664}, {"new file", -1, 0644},
    };
    for (const Case &c : cases) {
        const fs::path file = dir_ / "times.csv";
        fs::remove(file);
        if (c.before >= 0) {
            WriteFile(file, "old");
            ::chmod(file.c_str(), static_cast<mode_t>(c.before));
        }
        ASSERT_TRUE(WriteFileAtomically(file.string(), "new")) << c.name;
        struct stat st
        {
        };
        ASSERT_EQ(::stat(file.c_str(), &st), 0) << c.name;
        EXPECT_EQ(st.st_mode & 07777, c.after) << c.name << std::oct << ": " << st.st_mode;
    }
    ::umask(savedMask);
}

// Only a process that may give files away (root) keeps another user's owner and group.
TEST_F(AtomicFile, KeepsOwnerAndGroupWhereAllowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    const fs::path file = dir_ / "plate.pdf";
    WriteFile(file, "old");
    ASSERT_EQ(::chown(file.c_str(), 12345, 23456), 0);
    ASSERT_TRUE(WriteFileAtomically(file.string(), "new"));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
}

// The temporary name is hidden beside the target, and however long the target's name, never
// longer than the folder takes; a cut never splits a UTF-8 character.
TEST_F(AtomicFile, TemporaryNameStaysWithinTheLimit)
{
    const std::string e = "\xc3\xa9"; // é, two bytes
    std::string accents;
    for (int i = 0; i < 127; ++i)
        accents += e;
    struct Case
    {
        const char *name;
        std::string fileName;
        std::size_t nameMax;
    };
    const Case cases[] = {
        {"short name", "times.csv", 255},
        {"name of 255 bytes", std::string(251, 'x') + ".csv", 255},
        {"254 bytes of two-byte characters", accents, 255},
        {"small limit", "a-rather-long-name.pdf", 20},
    };
    for (const Case &c : cases) {
        const fs::path target = dir_ / c.fileName;
        const fs::path temp = TemporaryNameFor(target.string(), c.nameMax);
        const std::string name = temp.filename().string();
        EXPECT_EQ(temp.parent_path(), dir_) << c.name;
        EXPECT_LE(name.size(), c.nameMax) << c.name;
        EXPECT_EQ(name.front(), '.') << c.name;
        EXPECT_NE(name, target.filename().string()) << c.name;
        // Every multi-byte sequence is whole: lead bytes are followed by their continuations.
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto byte = static_cast<unsigned char>(name[i]);
            if (byte == 0xc3) {
                EXPECT_TRUE(i + 1 < name.size() && name[i + 1] == e[1]) << c.name << " at " << i;
            }
        }
    }
    // And the save of a 255-byte name works and leaves nothing else behind.
    const fs::path longName = dir_ / (std::string(251, 'y') + ".csv");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(longName.string(), "content", &error)) << error;
    EXPECT_EQ(FolderEntries(dir_), std::vector<std::string>{longName.filename().string()});
}

// The file reaches the disk before it replaces the old one, and the folder after the rename;
// a file that replaces another takes its owner and mode before any content goes in.
TEST_F(AtomicFile, SyncsTheFileBeforeTheRenameAndTheFolderAfter)
{
    const std::string folder = dir_.string();
    struct Case
    {
        const char *name;
        bool replacing;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"new file",
         false,
         {"CreateNew", "Write", "Sync", "Close", "Rename", "SyncFolder " + folder}},
        {"replacing a file",
         true,
         {"CreateNew", "SetOwner", "SetMode", "Write", "Sync", "Close", "Rename",
          "SyncFolder " + folder}},
    };
    for (const Case &c : cases) {
        const fs::path file = dir_ / "notes.txt";
        fs::remove(file);
        if (c.replacing)
            WriteFile(file, "old");
        testsupport::ScriptedFileCalls calls;
        {
            testsupport::UseFileCalls use(calls);
            ASSERT_TRUE(WriteFileAtomically(file.string(), "new")) << c.name;
        }
        EXPECT_EQ(calls.Log(), c.calls) << c.name;
    }
}

// Once the new file has its name, a folder that cannot be synced does not make the save a
// failure: it happened.
TEST_F(AtomicFile, FolderThatCannotBeSyncedStillSaves)
{
    const fs::path file = dir_ / "notes.txt";
    testsupport::ScriptedFileCalls calls;
    calls.Fail("SyncFolder", std::errc::invalid_argument);
    testsupport::UseFileCalls use(calls);
    EXPECT_TRUE(WriteFileAtomically(file.string(), "new"));
    EXPECT_EQ(testsupport::ReadFile(file), "new");
}

// A folder that refuses new files (no temporary file can be made) while the file itself may
// be written: the file is written in place, the same file with its new content. Without a
// file to write into, or when the file refuses too, the save fails with the folder's reason.
TEST_F(AtomicFile, FolderThatRefusesNewFilesIsSavedIntoInPlace)
{
    struct Case
    {
        const char *name;
        bool fileExists;
        std::errc createError;
        bool fileRefuses;
        bool saved;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"writable file",
         true,
         std::errc::permission_denied,
         false,
         true,
         {"CreateNew", "OpenExisting", "Write", "Sync", "Close"}},
        {"operation not permitted",
         true,
         std::errc::operation_not_permitted,
         false,
         true,
         {"CreateNew", "OpenExisting", "Write", "Sync", "Close"}},
        {"file refuses too",
         true,
         std::errc::permission_denied,
         true,
         false,
         {"CreateNew", "OpenExisting"}},
        {"no file to write into", false, std::errc::permission_denied, false, false, {"CreateNew"}},
        {"other failure than a refusal",
         true,
         std::errc::no_space_on_device,
         false,
         false,
         {"CreateNew"}},
    };
    for (const Case &c : cases) {
        const fs::path file = dir_ / "times.txt";
        fs::remove(file);
        ino_t inode = 0;
        if (c.fileExists) {
            WriteFile(file, "the older, longer content");
            struct stat st
            {
            };
            ::stat(file.c_str(), &st);
            inode = st.st_ino;
        }
        testsupport::ScriptedFileCalls calls;
        calls.Fail("CreateNew", c.createError);
        if (c.fileRefuses)
            calls.Fail("OpenExisting", std::errc::permission_denied);
        std::string error;
        bool saved = false;
        {
            testsupport::UseFileCalls use(calls);
            saved = WriteFileAtomically(file.string(), "new", &error);
        }
        EXPECT_EQ(saved, c.saved) << c.name;
        EXPECT_EQ(calls.Log(), c.calls) << c.name;
        if (c.saved) {
            EXPECT_EQ(testsupport::ReadFile(file), "new") << c.name;
            struct stat st
            {
            };
            ::stat(file.c_str(), &st);
            EXPECT_EQ(st.st_ino, inode) << c.name << ": not the same file";
        } else {
            EXPECT_EQ(error, std::make_error_code(c.createError).message()) << c.name;
            if (c.fileExists) {
                EXPECT_EQ(testsupport::ReadFile(file), "the older, longer content") << c.name;
            }
        }
        EXPECT_EQ(FolderEntries(dir_).size(), c.fileExists ? 1u : 0u) << c.name;
    }
}

} // namespace

#endif // _WIN32
