// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pictures.h"

#include <QDirIterator>

QPixmap Picture(const QString &name, qreal devicePixelRatio)
{
    const QString base = QStringLiteral(":/pictures/") + name;
    if (devicePixelRatio > 1) {
        QPixmap sharp(base + QStringLiteral("@2x.png"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return QPixmap(base + QStringLiteral(".png"));
}

QIcon ApplicationIcon()
{
    QIcon icon;
    QDirIterator files(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files);
    while (files.hasNext())
        icon.addFile(files.next());
    return icon;
}
