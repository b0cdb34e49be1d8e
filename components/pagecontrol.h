// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTabWidget>

class TLazyPage;
class TPlanSizes;

// A page control whose tabs always fit its width. When the captions together are wider than
// the control (a long caption, a large system font), the widest tabs give way first and their
// captions are elided, so that the short ones stay readable and no scroll arrows appear.
//
// Its pages may be built when first shown (TLazyPage). The fitting of the window gives such a
// page the room its plan asks for (fittext.h); when the page is built, the control fits the
// page's controls as the window's fitting would have, and puts them into the tab order right
// after the tabs, where a page built with the window has them. Should a page need more room
// than its plan said, the control grows and tells so (grown).
class TPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TPageControl(QWidget *parent = nullptr);

    // The size of the pages of a control of size, and the size of a control whose pages have
    // size page, at the running font and style.
    QSize PageSizeFor(const QSize &size) const;
    QSize SizeForPage(const QSize &page) const;
    // The width in which every tab caption shows whole.
    int TabsNaturalWidth() const;

    // The page size the form gave, which the fitting of the window records: pages built later
    // are fitted from it. Invalid until then.
    QSize FormPageSize() const { return m_formPageSize; }
    void SetFormPageSize(const QSize &size) { m_formPageSize = size; }

    // Where the fitting of the window finds the room of the pages not built yet, worked out by
    // an earlier start; null: it works them out.
    TPlanSizes *PlanSizes() const { return m_planSizes; }
    void SetPlanSizes(TPlanSizes *sizes) { m_planSizes = sizes; }

signals:
    // The control grew by extra for a page built later; its window makes room for it.
    void grown(QSize extra);

protected:
    void tabInserted(int index) override;

private:
    void PageBuilt(TLazyPage *page);

    QSize m_formPageSize;
    TPlanSizes *m_planSizes = nullptr;
};
