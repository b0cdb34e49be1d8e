// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/pagecontrol.h"

#include "components/fittext.h"
#include "components/lazypage.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

// Room kept free beside the tabs for the frame of the page control.
constexpr int kFrameMargin = 4;

class FittingTabBar : public QTabBar
{
public:
    using QTabBar::QTabBar;

    int NaturalWidth() const
    {
        int width = 0;
        for (int i = 0; i < count(); ++i)
            width += NaturalHint(i).width();
        return width;
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize hint = NaturalHint(index);
        if (parentWidget() == nullptr)
            return hint;
        std::vector<int> widths;
        for (int i = 0; i < count(); ++i)
            widths.push_back(NaturalHint(i).width());
        hint.setWidth(
            std::min(hint.width(), WidthCap(widths, parentWidget()->width() - kFrameMargin)));
        return hint;
    }

private:
    // QTabBar::tabSizeHint, remembered. Qt lays the tabs out many times over while a window
    // is made and asks for every tab each time, and each answer measures a caption anew. An
    // answer depends on the tab, its caption (Qt measures elided ones too), which tab is the
    // current one, the font and the style; the tabs carry no icons or buttons. When any of
    // these but the caption changes, the remembered answers are dropped.
    QSize NaturalHint(int index) const
    {
        if (m_hintCurrent != currentIndex() || m_hintCount != count() || m_hintFont != font() ||
            m_hintStyle != style()) {
            m_hints.clear();
            m_hintCurrent = currentIndex();
            m_hintCount = count();
            m_hintFont = font();
            m_hintStyle = style();
        }
        const auto [at, added] = m_hints.try_emplace({index, tabText(index)});
        if (added)
            at->second = QTabBar::tabSizeHint(index);
        return at->second;
    }

    mutable std::map<std::pair<int, QString>, QSize> m_hints;
    mutable int m_hintCurrent = -1;
    mutable int m_hintCount = -1;
    mutable QFont m_hintFont;
    mutable const QStyle *m_hintStyle = nullptr;

    // The largest cap such that the tabs, none wider than it, fit into available.
    static int WidthCap(std::vector<int> widths, int available)
    {
        std::sort(widths.begin(), widths.end());
        int used = 0; // by the tabs narrower than the cap
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const int rest = static_cast<int>(widths.size() - i);
            const int cap = (available - used) / rest;
            if (cap < widths[i])
                return std::max(cap, 0);
            used += widths[i];
        }
        return widths.empty() ? 0 : widths.back(); // all fit as they are
    }
};

} // namespace

TPageControl::TPageControl(QWidget *parent) : QTabWidget(parent)
{
    setTabBar(new FittingTabBar(this));
    setElideMode(Qt::ElideRight);
    setUsesScrollButtons(false);
}

QSize TPageControl::PageSizeFor(const QSize &size) const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = QRect(QPoint(0, 0), size);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).size();
}

QSize TPageControl::SizeForPage(const QSize &page) const
{
    // The frame and the tab bar take the same room at any size.
    const QSize probe(1000, 1000);
    return page + (probe - PageSizeFor(probe));
}

int TPageControl::TabsNaturalWidth() const
{
    return static_cast<const FittingTabBar *>(tabBar())->NaturalWidth() + kFrameMargin;
}

void TPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    auto *page = qobject_cast<TLazyPage *>(widget(index));
    if (page == nullptr)
        return;
    connect(page, &TLazyPage::built, this, [this, page] { PageBuilt(page); });
    if (page->IsBuilt())
        PageBuilt(page);
}

void TPageControl::PageBuilt(TLazyPage *page)
{
    // The page's controls were made last of the window's: in the tab order they follow the
    // tabs, before whatever comes after the page control.
    QList<QWidget *> controls;
    for (QWidget *w = window()->nextInFocusChain(); w != window(); w = w->nextInFocusChain())
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            controls << w;
    QWidget *previous = tabBar();
    for (QWidget *w : controls) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }

    if (!m_formPageSize.isValid())
        return; // built with the window, and fitted with it
    const QSize need = FitFormToText(page, m_formPageSize);
    const QSize area = PageSizeFor(size());
    const QSize extra(std::max(0, need.width() - area.width()),
                      std::max(0, need.height() - area.height()));
    if (extra.isNull())
        return;
    resize(size() + extra);
    emit grown(extra);
}
