// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

// The small pictures of the windows (formula, arrow, eye, legend, camera), built into the
// program from resources/pictures. name is the file name without extension; on a screen with
// a device pixel ratio above 1 the drawing at double size is taken, shown at the same size.
QPixmap Picture(const QString &name, qreal devicePixelRatio = 1);
