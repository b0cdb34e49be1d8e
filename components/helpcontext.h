// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Help contexts: the number of the help topic that F1 opens for a control. A control without
// a context of its own (0) takes that of the nearest enclosing control that has one.

void SetHelpContext(QWidget *widget, int context);

// The context set on widget itself; 0 when none.
int HelpContext(const QWidget *widget);

// The context of widget or of its nearest ancestor with one; 0 when none has one.
int HelpContextFor(const QWidget *widget);
