// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/enhcombo.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QStyle>

#include <algorithm>

TEnhCombo::TEnhCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
}

int TEnhCombo::DropDownWidth() const
{
    if (m_dropDownFixedWidth > 0)
        return std::max(m_dropDownFixedWidth, width());

    const QAbstractItemView *list = view();
    const QFontMetrics metrics(list->font());
    int longest = 0;
    for (int i = 0; i < count(); ++i)
        longest = std::max(longest, metrics.horizontalAdvance(itemText(i)));
    // The list's own frame and the item margins around the text, and the scroll bar when the
    // list has more items than it shows at once.
    int extra = 2 * list->frameWidth() + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) +
                2 * metrics.averageCharWidth();
    if (count() > maxVisibleItems())
        extra += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return std::max(longest + extra, width());
}

void TEnhCombo::showPopup()
{
    const int wanted = DropDownWidth();
    view()->setMinimumWidth(wanted - 2 * view()->frameWidth());
    QComboBox::showPopup();

    // The drop-down part is a window of its own: make sure it has the width, and keep it on
    // the screen when it grew past the screen's right edge.
    QWidget *popup = view()->window();
    if (popup == window())
        return;
    QRect geometry = popup->geometry();
    geometry.setWidth(std::max(geometry.width(), wanted));
    if (const QScreen *s = screen()) {
        const QRect avail = s->availableGeometry();
        if (geometry.right() > avail.right())
            geometry.moveRight(avail.right());
        if (geometry.left() < avail.left())
            geometry.moveLeft(avail.left());
    }
    if (geometry != popup->geometry())
        popup->setGeometry(geometry);
}
