// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/formplan.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>

class QWidget;

// The room the fitting of the window worked out for the pages not built yet, kept from one
// start to the next. Working it out means measuring every text of four pages before the window
// can show, most of what the fitting costs at start-up, and the same plan at the same font,
// style and screen always needs the same room.
//
// A size is found by a key made of everything the fitting of a plan reads: the plan's controls,
// texts and grids, the form's size, the font (its description, the face the system gives for it
// and its heights and mean width), the style, the screen's resolution, Qt's version and the
// program file itself, so that a new build of the program works the sizes out afresh. Should a
// page still need more room once built, its page control grows (TPageControl).
class TPlanSizes
{
public:
    // file: where the sizes are kept between runs; empty keeps them for this run only. A file
    // that cannot be read, or holds something else, is as good as none.
    explicit TPlanSizes(QString file = {});

    // The size fit() works out for plan in a form of formSize at the font, in the style and on
    // the screen of context: from the file when it has it.
    QSize Size(const FormPlan &plan, QSize formSize, const QWidget *context,
               const std::function<QSize()> &fit);

    // Writes the file, whole, when this run worked out a size it did not hold. It then keeps the
    // sizes of this run only: an older font's or an older program's go.
    void Save();

    static std::uint64_t Key(const FormPlan &plan, QSize formSize, const QWidget *context);
    // What is kept of sizes, one line each, and what is read back from such text.
    static QByteArray Text(const std::map<std::uint64_t, QSize> &sizes);
    static std::map<std::uint64_t, QSize> Parse(const QByteArray &text);

private:
    QString m_file;
    std::map<std::uint64_t, QSize> m_kept; // as read from the file
    std::map<std::uint64_t, QSize> m_used; // asked for in this run
    bool m_changed = false;
};
