// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/resultgrid.h"

#include <QApplication>

namespace {

QColor WindowColour()
{
    return QApplication::palette().color(QPalette::Base);
}

QColor ButtonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

TResultGrid::TResultGrid(QWidget *parent) : TStringAlignGrid(parent)
{
    connect(this, &TStringAlignGrid::keyReleased, this, &TResultGrid::KeyReleased);
    connect(this, &TStringAlignGrid::wheelTurned, this, &TResultGrid::WheelTurned);
    connect(this, &TStringAlignGrid::focusEntered, this, &TResultGrid::FocusEntered);
    connect(this, &TStringAlignGrid::focusLeft, this, &TResultGrid::FocusLeft);
}

void TResultGrid::SetColWidths(const QVector<int> &widths)
{
    for (int col = 0; col < widths.size(); ++col)
        SetColWidth(col, widths[col]);
}

void TResultGrid::ShowEmpty(const QVector<int> &widths)
{
    SetRowCount(2);
    SetRowHeight(1, 0);
    for (int col = 0; col < ColCount(); ++col)
        SetCell(col, 1, QString());
    SetColWidths(widths);
    ClearRowColors();
    SetGridColor(ButtonFaceColour());
    ClearSelection();
}

void TResultGrid::ShowFilled(int dataRows, const QVector<int> &widths)
{
    SetRowCount(dataRows + 1);
    SetRowHeight(1, DefaultRowHeight());
    SetColWidths(widths);
    ClearRowColors();
    SetGridColor(WindowColour());
    ClearSelection();
}

void TResultGrid::KeyReleased(int key, Qt::KeyboardModifiers modifiers)
{
    if (!modifiers.testFlag(Qt::ControlModifier))
        return;
    if (key == Qt::Key_C) {
        CopyToClipboard();
    } else if (key == Qt::Key_A) {
        ClearSelection();
        SetSelection({0, 1, ColCount() - 1, RowCount() - 1});
    }
}

void TResultGrid::WheelTurned()
{
    if (GetSelection().isEmpty())
        SetSelection({0, 1, 0, 1});
}

// Restored whatever is selected: a block chosen after the table lost the focus with a single
// cell selected would otherwise stay invisible.
void TResultGrid::FocusEntered()
{
    SetSelectedCellColor(QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    SetSelectedFontColor(Qt::white);
}

void TResultGrid::FocusLeft()
{
    if (!GetSelection().isSingleCell())
        return;
    SetSelectedCellColor(WindowColour());
    SetSelectedFontColor(QApplication::palette().color(QPalette::Text));
}
