// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The small pictures of the windows (formula, arrow, eye, legend, camera), built into the
// program from resources/pictures. name is the file name without extension; on a screen with
// a device pixel ratio above 1 the drawing at double size is taken, shown at the same size.
QPixmap Picture(const QString &name, qreal devicePixelRatio = 1);

// The program's icon, a pinhole camera, in every size it is drawn in (resources/icons, 16 to
// 256 pixels): the window icon. Built from PNG files because Qt's base libraries read no SVG.
QIcon ApplicationIcon();
