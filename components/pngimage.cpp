// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pngimage.h"

#include <QFile>
#include <QSysInfo>

#include <png.h>

QImage DecodePng(const QByteArray &bytes)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.constData(),
                                         static_cast<png_size_t>(bytes.size())) == 0)
        return {};
    // Format_ARGB32 keeps each pixel as 0xAARRGGBB in the machine's byte order, colours not
    // multiplied by alpha, as libpng's 8-bit formats give them.
    png.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image;
    if (png.width <= 0x7fff && png.height <= 0x7fff)
        image = QImage(static_cast<int>(png.width), static_cast<int>(png.height),
                       QImage::Format_ARGB32);
    if (image.isNull() ||
        png_image_finish_read(&png, nullptr, image.bits(), image.bytesPerLine(), nullptr) == 0) {
        png_image_free(&png);
        return {};
    }
    return image;
}

QImage ReadPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodePng(file.readAll());
}
