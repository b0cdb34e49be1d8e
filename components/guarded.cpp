// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/guarded.h"

#include "components/messagebox.h"

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
    ShowMessage(parent, message, QMessageBox::Critical);
}

ErrorReporter SetErrorReporter(ErrorReporter reporter)
{
    return std::exchange(Reporter(), std::move(reporter));
}
