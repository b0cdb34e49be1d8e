// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// PNG files (the program's pictures and icons, a resource path works too) decoded straight by
// libpng into an ARGB32 image; a null image when the file cannot be read or holds no PNG.
//
// Qt's image reader asks every image-format plugin installed whether it reads a file before its
// own PNG reader gets to try, which loads all of them, and libjpeg with one, at the first
// picture of the start. libpng is the library behind Qt's own PNG reader and is loaded with Qt
// anyway; the pixels come out the same.
QImage DecodePng(const QByteArray &bytes);
QImage ReadPng(const QString &path);
