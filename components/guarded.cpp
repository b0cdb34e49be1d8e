// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/guarded.h"

#include "components/uitext.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

#include <exception>
#include <utility>

namespace {

ErrorReporter &Reporter()
{
    static ErrorReporter reporter;
    return reporter;
}

} // namespace

bool Guarded(QWidget *parent, const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (const std::exception &e) {
        // Exception texts are UTF-8 (the core builds them from the string table).
        ShowError(parent, QString::fromUtf8(e.what()));
    }
    return false;
}

void ShowError(QWidget *parent, const QString &message)
{
    if (const ErrorReporter &reporter = Reporter()) {
        reporter(parent, message);
        return;
    }
    // A lengthy action may have put up the hourglass; the message needs the normal pointer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    QMessageBox::critical(parent, Str(1), message);
    if (busy)
        QApplication::restoreOverrideCursor();
}

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}
