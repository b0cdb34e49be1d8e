// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>

// `lumidra --help` and `lumidra --version`: answered from the arguments alone, before Qt is
// started, so that they work without a display (and the manual page can be made from them).
// Returns the exit status when the arguments ask for one of them, nothing otherwise.
std::optional<int> AnswerHelpOrVersion(int argc, const char *const *argv, std::ostream &out);
