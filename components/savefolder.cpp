// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/savefolder.h"

#include "components/messagebox.h"
#include "components/uitext.h"
#include "tools/stringtable.h"

#include <QDir>
#include <QFileInfo>

bool SaveFolderExists(QWidget *dialog, const QString &fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    ShowMessage(dialog, FromStd(tools::FormatStr(2600, ToStd(QDir::toNativeSeparators(folder)))));
    return false;
}
