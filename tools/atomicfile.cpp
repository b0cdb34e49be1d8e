// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/atomicfile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tools {

namespace fs = std::filesystem;

namespace {

// What stands at the target before the save: only a regular file has content and a mode worth
// keeping.
struct Existing
{
    unsigned mode = 0;
    long owner = -1;
    long group = -1;
};

std::error_code LastError()
{
#ifdef _WIN32
    return {static_cast<int>(::GetLastError()), std::system_category()};
#else
    return {errno, std::generic_category()};
#endif
}

#ifdef _WIN32

HANDLE ToHandle(FileCalls::Handle file)
{
    return reinterpret_cast<HANDLE>(file);
}

class SystemCalls final : public FileCalls
{
public:
    std::error_code CreateNew(const std::string &path, unsigned, Handle &file) override
    {
        HANDLE h = ::CreateFileW(fs::path(path).wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return LastError();
        file = reinterpret_cast<Handle>(h);
        return {};
    }
    std::error_code OpenExisting(const std::string &path, Handle &file) override
    {
        HANDLE h = ::CreateFileW(fs::path(path).wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                                 TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return LastError();
        file = reinterpret_cast<Handle>(h);
        return {};
    }
    std::error_code Write(Handle file, std::string_view data) override
    {
        while (!data.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(ToHandle(file), data.data(), chunk, &written, nullptr))
                return LastError();
            if (written == 0)
                return std::make_error_code(std::errc::io_error);
            data.remove_prefix(written);
        }
        return {};
    }
    std::error_code Sync(Handle file) override
    {
        return ::FlushFileBuffers(ToHandle(file)) ? std::error_code() : LastError();
    }
    std::error_code Close(Handle file) override
    {
        return ::CloseHandle(ToHandle(file)) ? std::error_code() : LastError();
    }
    std::error_code SetMode(Handle, unsigned) override { return {}; }
    std::error_code SetOwner(Handle, long, long) override { return {}; }
    std::error_code Rename(const std::string &from, const std::string &to) override
    {
        const bool moved =
            ::MoveFileExW(fs::path(from).wstring().c_str(), fs::path(to).wstring().c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        return moved ? std::error_code() : LastError();
    }
    std::error_code SyncFolder(const std::string &) override { return {}; }
    std::error_code Remove(const std::string &path) override
    {
        return ::DeleteFileW(fs::path(path).wstring().c_str()) ? std::error_code() : LastError();
    }
};

std::optional<Existing> ExistingFile(const std::string &path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    return Existing{};
}

bool RefusesNewFiles(const std::error_code &ec)
{
    return ec == std::error_code(ERROR_ACCESS_DENIED, std::system_category());
}

std::size_t NameMax(const std::string &)
{
    return 255;
}

#else

int ToFd(FileCalls::Handle file)
{
    return static_cast<int>(file);
}

class SystemCalls final : public FileCalls
{
public:
    std::error_code CreateNew(const std::string &path, unsigned mode, Handle &file) override
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              static_cast<mode_t>(mode));
        if (fd < 0)
            return LastError();
        file = fd;
        return {};
    }
    std::error_code OpenExisting(const std::string &path, Handle &file) override
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0)
            return LastError();
        file = fd;
        return {};
    }
    std::error_code Write(Handle file, std::string_view data) override
    {
        while (!data.empty()) {
            const ssize_t n = ::write(ToFd(file), data.data(), data.size());
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return LastError();
            }
            if (n == 0)
                return std::make_error_code(std::errc::io_error);
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return {};
    }
    std::error_code Sync(Handle file) override
    {
        return ::fsync(ToFd(file)) == 0 ? std::error_code() : LastError();
    }
    std::error_code Close(Handle file) override
    {
        // Not retried on EINTR: the descriptor is gone either way on Linux.
        return ::close(ToFd(file)) == 0 ? std::error_code() : LastError();
    }
    std::error_code SetMode(Handle file, unsigned mode) override
    {
        return ::fchmod(ToFd(file), static_cast<mode_t>(mode)) == 0 ? std::error_code()
                                                                    : LastError();
    }
    std::error_code SetOwner(Handle file, long owner, long group) override
    {
        return ::fchown(ToFd(file), static_cast<uid_t>(owner), static_cast<gid_t>(group)) == 0
                   ? std::error_code()
                   : LastError();
    }
    std::error_code Rename(const std::string &from, const std::string &to) override
    {
        return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
    }
    std::error_code SyncFolder(const std::string &folder) override
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return LastError();
        std::error_code ec;
        if (::fsync(fd) != 0)
            ec = LastError();
        ::close(fd);
        return ec;
    }
    std::error_code Remove(const std::string &path) override
    {
        return ::unlink(path.c_str()) == 0 ? std::error_code() : LastError();
    }
};

std::optional<Existing> ExistingFile(const std::string &path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Existing{static_cast<unsigned>(st.st_mode & 07777), static_cast<long>(st.st_uid),
                    static_cast<long>(st.st_gid)};
}

bool RefusesNewFiles(const std::error_code &ec)
{
    return ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
}

std::size_t NameMax(const std::string &folder)
{
    const long max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? static_cast<std::size_t>(max) : 255;
}

#endif

FileCalls *g_testCalls = nullptr;

FileCalls &Calls()
{
    return g_testCalls ? *g_testCalls : SystemFileCalls();
}

bool Fail(std::string *error, const std::error_code &ec)
{
    if (error)
        *error = ec.message();
    return false;
}

// The file a save of path replaces: path itself, or the file at the end of its chain of
// symbolic links (which need not exist yet). A chain too long to be real stops where it is.
std::string FollowLinks(const std::string &path)
{
    fs::path p = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(p, ec))
            break;
        const fs::path link = fs::read_symlink(p, ec);
        if (ec)
            break;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p.string();
}

std::string FolderOf(const std::string &path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string RandomTag()
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    std::mt19937 mix(
        seed ^ counter++ ^
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static constexpr char kHex[] = "0123456789abcdef";
    std::string tag(8, '0');
    for (char &c : tag)
        c = kHex[mix() % 16];
    return tag;
}

// Writes, syncs and closes; the first failure counts, and the file is closed in any case.
std::error_code WriteAndClose(FileCalls &calls, FileCalls::Handle file, std::string_view content)
{
    std::error_code ec = calls.Write(file, content);
    if (!ec)
        ec = calls.Sync(file);
    // The close reports what the disk refused late (a full disk or a network file system
    // often tells only here).
    const std::error_code closed = calls.Close(file);
    return ec ? ec : closed;
}

// The folder refuses new files, so no temporary file can be made beside the target, while the
// target itself may be written: its content is replaced in place. This is the one save that
// is not whole-or-nothing: should it fail half-way, the file holds part of the new content.
// Refusing the save instead would leave the user no way at all to save over the file.
bool WriteInPlace(FileCalls &calls, const std::string &target, std::string_view content,
                  const std::error_code &refused, std::string *error)
{
    FileCalls::Handle file = -1;
    if (calls.OpenExisting(target, file))
        return Fail(error, refused);
    if (const std::error_code ec = WriteAndClose(calls, file, content))
        return Fail(error, ec);
    return true;
}

} // namespace

FileCalls &SystemFileCalls()
{
    static SystemCalls calls;
    return calls;
}

void SetFileCallsForTesting(FileCalls *calls)
{
    g_testCalls = calls;
}

std::string TemporaryNameFor(const std::string &target, std::size_t nameMax)
{
    // "." + name + "." + 8 random hex digits + ".tmp"
    constexpr std::size_t kAdded = 1 + 1 + 8 + 4;
    std::string name = fs::path(target).filename().string();
    const std::size_t room = nameMax > kAdded ? nameMax - kAdded : 0;
    if (name.size() > room) {
        name.resize(room);
        // A cut must not leave half of a UTF-8 character behind.
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
            name.pop_back();
        if (!name.empty() && (static_cast<unsigned char>(name.back()) & 0x80) != 0)
            name.pop_back();
    }
    const fs::path folder = fs::path(target).parent_path();
    return (folder / ("." + name + "." + RandomTag() + ".tmp")).string();
}

bool WriteFileAtomically(const std::string &path, std::string_view content, std::string *error)
{
    if (path.empty())
        return Fail(error, std::make_error_code(std::errc::invalid_argument));
    FileCalls &calls = Calls();

    const std::string target = FollowLinks(path);
    const std::string folder = FolderOf(target);
    const std::optional<Existing> existing = ExistingFile(target);

    // An exclusive create never reuses a stray file of the same name. A file that replaces
    // another is private while it is written and takes the other's mode before the rename.
    std::string temp;
    FileCalls::Handle file = -1;
    std::error_code ec;
    const std::size_t nameMax = NameMax(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TemporaryNameFor(target, nameMax);
        ec = calls.CreateNew(temp, existing ? 0600 : 0666, file);
        if (ec != std::errc::file_exists)
            break;
    }
    if (ec) {
        if (existing && RefusesNewFiles(ec))
            return WriteInPlace(calls, target, content, ec, error);
        return Fail(error, ec);
    }

    if (existing) {
        // The owner and group only where the process may give them away (root, or a group
        // it belongs to); a file it cannot give them stays its own.
        if (calls.SetOwner(file, existing->owner, existing->group))
            calls.SetOwner(file, -1, existing->group);
        ec = calls.SetMode(file, existing->mode);
    }
    if (ec)
        calls.Close(file);
    else
        ec = WriteAndClose(calls, file, content);
    if (!ec)
        ec = calls.Rename(temp, target);
    if (ec) {
        calls.Remove(temp);
        return Fail(error, ec);
    }
    // The new file is in place whatever the folder's sync says: reporting a failure now would
    // tell the user that a save which happened did not. Some file systems cannot sync a folder.
    calls.SyncFolder(folder);
    return true;
}

} // namespace tools
