// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Whether the folder of fileName, a name confirmed in a save dialog, exists. When it does not
// (a mistyped folder, a file where the folder should be), the user is told so over dialog,
// which is to stay open so that the name can be corrected: the path must exist.
bool SaveFolderExists(QWidget *dialog, const QString &fileName);
