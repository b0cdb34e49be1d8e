// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/savefolder.h"

#include "components/uitext.h"
#include "tools/stringtable.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

bool SaveFolderExists(QWidget *dialog, const QString &fileName)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    QMessageBox box(QMessageBox::NoIcon, Str(1),
                    FromStd(tools::FormatStr(2600, ToStd(QDir::toNativeSeparators(folder)))),
                    QMessageBox::Ok, dialog);
    box.exec();
    return false;
}
