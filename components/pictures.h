// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The small pictures of the windows (formula, arrow, eye, legend, camera), built into the
// program from resources/pictures. name is the file name without extension; on a screen with
// a device pixel ratio above 1 the drawing at double size is taken, shown at the same size.
QPixmap Picture(const QString &name, qreal devicePixelRatio = 1);

// The window icon, a pinhole camera, in the sizes a window manager draws (16 to 128 pixels of
// resources/icons; the installed icon theme has 256 as well). Built from PNG files because
// Qt's base libraries read no SVG.
QIcon ApplicationIcon();
