// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pictures.h"

#include <QDirIterator>
#include <QFileInfo>

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
    // Each file is named after its size (org.example.Lumidra-32.png). A window manager draws a
    // window's icon at most kMaxWindowIconSize pixels large; the larger drawings serve the
    // desktop menu, from the installed icon theme, and decoding them would only slow the start.
    constexpr int kMaxWindowIconSize = 128;
    QIcon icon;
    QDirIterator files(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString base = QFileInfo(file).completeBaseName();
        bool ok = false;
        const int size = base.mid(base.lastIndexOf(QLatin1Char('-')) + 1).toInt(&ok);
        if (ok && size <= kMaxWindowIconSize)
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}
