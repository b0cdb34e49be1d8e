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
};
