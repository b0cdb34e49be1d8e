// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QProxyStyle>

// The program's widget style: the one Qt picked (the desktop's, or -style), drawing exactly as
// it does. Two of Qt's drawings come from PNG files that Qt's image reader would read before the
// window's first frame, and that reader loads every image-format plugin installed the first
// time it runs (pngimage.h):
//  - the menu bar's overflow arrow, whose icon every menu bar asks for when it is made and
//    shows only on a window too narrow for its menus: here it is read when first drawn;
//  - Fusion's group box frame, drawn here as Fusion draws it, from the same file read by
//    ReadPng.
class TAppStyle : public QProxyStyle
{
public:
    // key: the name of the style to draw with (QStyleFactory).
    explicit TAppStyle(const QString &key);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    bool m_fusion = false;
    mutable QPixmap m_groupBoxFrame; // read at the first group box drawn
};
