// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/stringaligngrid.h"

#include <QVector>

// A result table of the calculator tabs (the exposure times, the zone diameters), which the
// user reads, selects and copies. It shows one of two states:
// - empty: the header row alone, on the button face colour; the one data row below it is
//   hidden and emptied, so that copying the table cannot bring back a result that no longer
//   stands;
// - filled: the data rows on the window colour, nothing selected.
// Ctrl+C copies the selected cells (the whole table with its header when none are), Ctrl+A
// selects every data cell, the wheel starts a selection on the first row when there is none
// (it moves the selection), and the selection shows in the highlight colours while the table
// has the focus; without the focus a lone selected cell looks like any other.
class TResultGrid : public TStringAlignGrid
{
    Q_OBJECT

public:
    explicit TResultGrid(QWidget *parent = nullptr);

    // Column widths as given, for a small font (SetColWidth).
    void ShowEmpty(const QVector<int> &widths);
    // dataRows rows below the header, each of the default row height; the cells are the
    // caller's to write.
    void ShowFilled(int dataRows, const QVector<int> &widths);
    bool IsFilled() const { return RowHeight(1) > 0; }

private:
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void WheelTurned();
    void FocusEntered();
    void FocusLeft();
    void SetColWidths(const QVector<int> &widths);
};
