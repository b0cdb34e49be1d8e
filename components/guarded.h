// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>

class QWidget;

// The program's general error handler. Qt must never see an exception leave a slot, so every
// handler that can fail runs its work through Guarded: an exception that the work lets out
// (a settings store that cannot be written, a file that cannot be read) is shown to the user
// in an error message box and the program goes on.

// Runs fn; returns false when it threw (the message has then been shown).
bool Guarded(QWidget *parent, const std::function<void()> &fn);

// Connects signal of sender to handler, a parameterless member function of receiver or any
// callable without arguments, which then runs under the general error handler with receiver as
// the parent of its message. Every handler of the windows is connected so.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection ConnectGuarded(Sender *sender, Signal signal, Receiver *receiver,
                                       Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] {
        Guarded(receiver, [receiver, &handler] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                (receiver->*handler)();
            else
                handler();
        });
    });
}

// Shows message as an error: a message box captioned with the program's name, error icon.
void ShowError(QWidget *parent, const QString &message);

// Where ShowError sends its messages. Empty: the message box. Tests install a collector so that
// no modal box waits for a click. Returns the reporter that was in place.
using ErrorReporter = std::function<void(QWidget *parent, const QString &message)>;
ErrorReporter SetErrorReporter(ErrorReporter reporter);
