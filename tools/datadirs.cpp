// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/datadirs.h"

#include <filesystem>

// The build system defines the path from the installed binaries to the installed data; a
// build without it (another build system) assumes the usual prefix layout.
#ifndef LUMIDRA_DATA_FROM_BIN
#define LUMIDRA_DATA_FROM_BIN "../share/lumidra"
#endif

namespace tools {

std::string_view InstalledDataDirFromBin()
{
    return LUMIDRA_DATA_FROM_BIN;
}

std::vector<std::string> DataFilePaths(const std::string &exeDir, std::string_view fileName)
{
    namespace fs = std::filesystem;
    const fs::path dir(exeDir);
    const fs::path name(fileName);
    return {(dir / name).string(), (dir / fs::path(InstalledDataDirFromBin()) / name).string()};
}

} // namespace tools
