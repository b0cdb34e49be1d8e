// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/messagebox.h"

#include "components/uitext.h"

#include <QApplication>
#include <QCursor>

QMessageBox::StandardButton ShowMessage(QWidget *parent, const QString &text,
                                        QMessageBox::Icon icon, const QString &caption,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    QMessageBox box(icon, caption.isEmpty() ? Str(1) : caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (busy)
        QApplication::restoreOverrideCursor();
    return answer;
}

bool AskYesNo(QWidget *parent, const QString &question, QMessageBox::Icon icon,
              QMessageBox::StandardButton defaultButton)
{
    return ShowMessage(parent, question, icon, {}, QMessageBox::Yes | QMessageBox::No,
                       defaultButton) == QMessageBox::Yes;
}
