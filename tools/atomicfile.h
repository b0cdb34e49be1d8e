// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

// Every file the program writes is written whole or not at all, the way a careful editor
// saves: the content goes to a new temporary file beside the target, every write, the sync to
// the disk and the close are checked, and only then is the temporary file renamed over the
// target and the folder synced. A failed write leaves no new file behind and leaves an
// existing target exactly as it was; a power cut leaves the old file or the new one.
//
// A target that is a symbolic link is followed: the file it points to is replaced and the link
// stays. A replaced file keeps its permission bits, and its owner and group where the process
// may set them. Where the folder refuses new files but the file itself may be written, the file
// is written in place (the one save that is not whole-or-nothing).
namespace tools {

// Returns false on failure, with the reason in *error when error is given.
bool WriteFileAtomically(const std::string &path, std::string_view content,
                         std::string *error = nullptr);

// The operating system calls a save is made of. The writer makes each of them through this
// seam, so that tests can make any one of them fail and see the failure reported. Each call
// returns an empty error code on success.
class FileCalls
{
public:
    // A file descriptor, or a Windows file handle.
    using Handle = std::intptr_t;

    virtual ~FileCalls() = default;

    // Creates path, which must not exist yet, for writing, with the permission bits mode
    // (POSIX; the umask applies).
    virtual std::error_code CreateNew(const std::string &path, unsigned mode, Handle &file) = 0;
    // Opens the existing file path for writing and empties it.
    virtual std::error_code OpenExisting(const std::string &path, Handle &file) = 0;
    // Writes all of data.
    virtual std::error_code Write(Handle file, std::string_view data) = 0;
    // Hands what was written to the disk (fsync; on Windows FlushFileBuffers).
    virtual std::error_code Sync(Handle file) = 0;
    virtual std::error_code Close(Handle file) = 0;
    // The permission bits, and the owner and group, of the file a new one replaces (POSIX;
    // nothing on Windows).
    virtual std::error_code SetMode(Handle file, unsigned mode) = 0;
    virtual std::error_code SetOwner(Handle file, long owner, long group) = 0;
    // Renames from to to, replacing to in one step (on Windows written through to the disk).
    virtual std::error_code Rename(const std::string &from, const std::string &to) = 0;
    // Hands the folder's entries to the disk, so that a rename in it survives a power cut
    // (nothing on Windows, where the rename is written through).
    virtual std::error_code SyncFolder(const std::string &folder) = 0;
    virtual std::error_code Remove(const std::string &path) = 0;

protected:
    FileCalls() = default;
    FileCalls(const FileCalls &) = default;
    FileCalls &operator=(const FileCalls &) = default;
};

// The calls of the operating system.
FileCalls &SystemFileCalls();

// Makes the writer use calls instead of the system's; nullptr puts the system's back.
void SetFileCallsForTesting(FileCalls *calls);

// The name of the temporary file that a save of target starts with: hidden beside it, and
// never longer than the longest name the folder takes (nameMax), however long target's is.
std::string TemporaryNameFor(const std::string &target, std::size_t nameMax);

} // namespace tools
