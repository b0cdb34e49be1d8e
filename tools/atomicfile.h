// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Every file the program writes is written whole or not at all: the content goes to a new
// temporary file beside the target, every write and the close are checked, and only then is
// the temporary file renamed over the target. A failed write leaves no new file behind and
// leaves an existing target exactly as it was.
namespace tools {

// Returns false on failure, with the reason in *error when error is given.
bool WriteFileAtomically(const std::string &path, std::string_view content,
                         std::string *error = nullptr);

// Where a write can be made to fail on purpose, so that tests reach every failure path.
enum class FileFault
{
    None,
    Open,
    Write,
    Close,
    Rename
};
void SetFileFaultForTesting(FileFault fault);

} // namespace tools
