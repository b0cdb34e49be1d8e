// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTabWidget>

// A page control whose tabs always fit its width. When the captions together are wider than
// the control (a long caption, a large system font), the widest tabs give way first and their
// captions are elided, so that the short ones stay readable and no scroll arrows appear.
class TPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TPageControl(QWidget *parent = nullptr);

    // The size of the pages of a control of size, and the size of a control whose pages have
    // size page, at the running font and style.
    QSize PageSizeFor(const QSize &size) const;
    QSize SizeForPage(const QSize &page) const;
    // The width in which every tab caption shows whole.
    int TabsNaturalWidth() const;
};
