// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

// The program's message boxes, modal over parent: captioned with the program's name unless
// another caption is given, plain (no icon) unless an icon is asked for, with an OK button or
// the buttons given. The hourglass of a lengthy action gives way to the arrow while the box
// waits for the user. Returns the button the user pressed.
QMessageBox::StandardButton
ShowMessage(QWidget *parent, const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon,
            const QString &caption = {}, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A question with Yes and No, captioned with the program's name; true when the user said Yes.
bool AskYesNo(QWidget *parent, const QString &question,
              QMessageBox::Icon icon = QMessageBox::NoIcon,
              QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
