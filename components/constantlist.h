// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/constants.h"

#include <QComboBox>

// A list of diffraction constants, as the diameter and zone plate tabs have one: the built-in
// constants, the user's own constant of its target, a separator and the entry that opens the
// user constant dialog (tools/constants.h makes the entries). The number of the entry shown is
// the constant in use.
//
// The list remembers an entry to go back to: the one shown when the user entered the list (by
// the focus, or by a click, which can change the entry before the focus arrives) and the one
// of every numeric pick. Picking the separator goes back to it. Picking the action entry asks
// for the user constant dialog (userConstantRequested), which refills the list or puts it back;
// when no dialog answered, the list goes back itself: it never rests on the separator or the
// action entry. Selecting in code runs nothing.
class TConstantList : public QComboBox
{
    Q_OBJECT

public:
    explicit TConstantList(QWidget *parent = nullptr);

    tools::ConstantTarget Target() const { return m_target; }
    void SetTarget(tools::ConstantTarget target) { m_target = target; }

    // Rebuilds the entries from the constant stored for the target, and selects the user entry
    // (selectUser) or the Lord Rayleigh entry. A stored constant that cannot be read is none.
    void Fill(bool selectUser);

    // The constant of the entry shown; throws when it holds no number.
    double SelectedConstant() const;

    // Shows the entry at index without running anything.
    void Select(int index);
    int Remembered() const { return m_remembered; }
    void SetRemembered(int index) { m_remembered = index; }

signals:
    // The user picked a numeric entry.
    void constantPicked();
    // The user picked the action entry: the user constant dialog is wanted for this list.
    void userConstantRequested();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Picked();
    // The remembered entry, or the Lord Rayleigh entry should that hold no number.
    int NumericEntry() const;

    tools::ConstantTarget m_target = tools::ConstantTarget::Pinhole;
    int m_remembered = 0;
};
