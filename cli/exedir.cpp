// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace cli {

std::string ExecutableDir(const char *argv0)
{
    namespace fs = std::filesystem;
    std::error_code ec;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD size = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (size > 0 && size < buffer.size()) {
        buffer.resize(size);
        return fs::path(buffer).parent_path().string();
    }
#elif defined(__EMSCRIPTEN__)
    // Under node the program is a script started by node, which /proc/self/exe would name;
    // the script's own name is argv0.
#else
    // Linux names the running program's file here, with symbolic links resolved: a link to
    // the program elsewhere still finds the data installed beside the program.
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path().string();
#endif
    // Elsewhere: the folder of the name the program was started by.
    const fs::path started = argv0 ? fs::path(argv0) : fs::path();
    if (started.has_parent_path()) {
        const fs::path absolute = fs::absolute(started, ec);
        if (!ec)
            return absolute.parent_path().string();
    }
    return fs::current_path(ec).string();
}

} // namespace cli
