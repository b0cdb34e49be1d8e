// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/atomicfile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tools {

namespace {

FileFault g_fault = FileFault::None;

std::string TempNameFor(const std::string &path)
{
    static std::atomic<unsigned> counter{0};
    // Beside the target, so that the rename never crosses a file system.
    return path + ".lumidra-tmp" + std::to_string(counter++);
}

bool Fail(std::string *error, std::string reason)
{
    if (error)
        *error = std::move(reason);
    return false;
}

} // namespace

void SetFileFaultForTesting(FileFault fault)
{
    g_fault = fault;
}

bool WriteFileAtomically(const std::string &path, std::string_view content, std::string *error)
{
    namespace fs = std::filesystem;
    if (path.empty())
        return Fail(error, "empty file name");

    std::string temp;
    std::FILE *f = nullptr;
    // An exclusive create never reuses a stray file of the same name.
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = TempNameFor(path);
        if (g_fault == FileFault::Open) {
            errno = EACCES;
            break;
        }
        f = std::fopen(temp.c_str(), "wbx");
        if (!f && errno != EEXIST)
            break;
    }
    if (!f)
        return Fail(error, std::strerror(errno));

    bool ok = true;
    int savedErrno = 0;
    if (!content.empty()) {
        std::size_t written =
            g_fault == FileFault::Write ? 0 : std::fwrite(content.data(), 1, content.size(), f);
        if (written != content.size()) {
            ok = false;
            savedErrno = g_fault == FileFault::Write ? ENOSPC : errno;
        }
    }
    if (ok && std::fflush(f) != 0) {
        ok = false;
        savedErrno = errno;
    }
    // The close reports what the disk refused late (a full disk often shows only here).
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && g_fault == FileFault::Close) {
        ok = false;
        savedErrno = EIO;
    }

    std::error_code ec;
    if (ok) {
        if (g_fault == FileFault::Rename)
            ec = std::make_error_code(std::errc::permission_denied);
        else
            fs::rename(temp, path, ec);
        if (!ec)
            return true;
    }
    fs::remove(temp, ec);
    return Fail(error, ok ? std::string("cannot replace the file") : std::strerror(savedErrno));
}

} // namespace tools
