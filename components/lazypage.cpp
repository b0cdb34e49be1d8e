// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/lazypage.h"

#include "components/guarded.h"

TLazyPage::TLazyPage(QWidget *parent) : QWidget(parent) {}

// The controls outlive the page's own part: one that loses the focus while the base class
// takes the page down must not call a handler that reads the page's form, which is gone.
TLazyPage::~TLazyPage()
{
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void TLazyPage::EnsureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    Guarded(this, [this] { Build(); });
    emit built();
}

void TLazyPage::setVisible(bool visible)
{
    if (visible)
        EnsureBuilt();
    QWidget::setVisible(visible);
}
