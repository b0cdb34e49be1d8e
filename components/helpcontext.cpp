// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/helpcontext.h"

#include <QVariant>
#include <QWidget>

namespace {

// Kept as a dynamic property so that any widget, also one made by a form, can carry it.
constexpr char kProperty[] = "helpContext";

} // namespace

void SetHelpContext(QWidget *widget, int context)
{
    widget->setProperty(kProperty, context);
}

int HelpContext(const QWidget *widget)
{
    return widget->property(kProperty).toInt();
}

int HelpContextFor(const QWidget *widget)
{
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const int context = HelpContext(widget); context != 0)
            return context;
    }
    return 0;
}
