// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <ostream>

// `lumidra --check-data`: tells where the program finds the data it reads at run time, the
// film database and the help document, without opening a window (an installation or a
// package checks itself with it).

// The option, as the only argument.
bool IsCheckDataRequest(int argc, const char *const *argv);

// Looks for the data of the program in exeDir the way the program does, and writes one line
// for each file to out: where it was found (and how many films the database holds), or that it
// is missing or unreadable and where it was looked for. 0 when both were found and read, else 1.
int CheckData(const QString &exeDir, std::ostream &out);
