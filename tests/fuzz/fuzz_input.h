// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

// Helpers shared by the fuzz targets. Inputs are split into lines so that the seed files
// stay readable; every byte string is still a valid input.
namespace fuzz {

inline std::string_view AsText(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

// The input cut at each '\n', padded with empty fields up to `count`.
inline std::vector<std::string_view> Fields(std::string_view text, std::size_t count)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;
        fields.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    fields.push_back(text);
    fields.resize(count);
    return fields;
}

// A broken property: say which and abort, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char *what, std::string_view detail = {})
{
    std::fprintf(stderr, "property broken: %s [%.*s]\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

inline void Check(bool condition, const char *what, std::string_view detail = {})
{
    if (!condition)
        Fail(what, detail);
}

// A folder of this process's own for targets that need files: below $LUMIDRA_FUZZ_SCRATCH
// when set, else in memory (/dev/shm) where that exists. Removed at a normal exit; a run
// ended by libFuzzer may leave it, which is why scripts/run-hardening.sh names its own
// scratch folder and removes it afterwards.
inline const std::filesystem::path &ScratchFolder()
{
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        fs::path base = fs::temp_directory_path();
        if (const char *env = std::getenv("LUMIDRA_FUZZ_SCRATCH"); env && *env)
            base = env;
        else if (fs::is_directory("/dev/shm"))
            base = "/dev/shm";
        fs::path dir = base / ("lumidra-fuzz-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(ScratchFolder(), ec);
        });
        return dir;
    }();
    return folder;
}

} // namespace fuzz
