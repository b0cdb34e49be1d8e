// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the programs find the data files they read at run time (films.dat, lumi.html).
//
// A build keeps them beside the programs. An installation puts the programs into its binary
// folder and the data into its own folder under the data folder (bin/ and share/lumidra/ under
// the prefix by default); the path from the one to the other is fixed when the build is
// configured, so the installed programs find their data wherever the prefix is moved.
namespace tools {

// The installation's data folder relative to its binary folder, "../share/lumidra" by default.
std::string_view InstalledDataDirFromBin();

// The places file_name is looked for, in order: beside the executable, then in the
// installation's data folder. exeDir is the folder of the executable, with or without a
// trailing separator.
std::vector<std::string> DataFilePaths(const std::string &exeDir, std::string_view fileName);

} // namespace tools
