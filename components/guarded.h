// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's general error handler. Qt must never see an exception leave a slot, so every
// handler that can fail runs its work through Guarded: an exception that the work lets out
// (a settings store that cannot be written, a file that cannot be read) is shown to the user
// in an error message box and the program goes on.

// Runs fn; returns false when it threw (the message has then been shown).
bool Guarded(QWidget *parent, const std::function<void()> &fn);

// Shows message as an error: a message box captioned with the program's name, error icon.
void ShowError(QWidget *parent, const QString &message);

// Where ShowError sends its messages. Empty: the message box. Tests install a collector so that
// no modal box waits for a click. Returns the reporter that was in place.
using ErrorReporter = std::function<void(QWidget *parent, const QString &message)>;
ErrorReporter SetErrorReporter(ErrorReporter reporter);
