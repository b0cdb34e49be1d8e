// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/fittext.h"

#include "components/fitcontrols.h"
#include "components/lazypage.h"
#include "components/pagecontrol.h"
#include "components/plansizes.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

using fitting::Control;
using fitting::ProbeSet;

// Edges this close to each other were meant to line up.
constexpr int kAlignSlack = 2;
// Push buttons side by side this close form one row.
constexpr int kButtonGap = 16;

QSize Grow(std::vector<Control> &controls, QSize oldSize, int childrenTop, ProbeSet &probes);

// One control of a form being fitted: where it stood, the size it needs and how far it moves.
struct Item
{
    Control *control = nullptr;
    QRect r0;
    QSize size;
    int dx = 0;
    int dy = 0;
    int minDx = 0; // the least move, to line up with another control
    int minDy = 0;
    bool stretchX = false; // may widen to line up with another
    bool stretchY = false;
    bool button = false;

    int Left() const { return r0.x() + dx; }
    int Top() const { return r0.y() + dy; }
    int Right() const { return Left() + size.width(); }
    int Bottom() const { return Top() + size.height(); }
    int GrowX() const { return size.width() - r0.width(); }
    int GrowY() const { return size.height() - r0.height(); }
};

// A page control grows with its largest page and its natural tab captions. A page that is not
// built yet is measured from its plan, with stand-ins in its font and style.
QSize GrowPageControl(TPageControl *pages, ProbeSet &probes)
{
    const QSize oldPage = pages->PageSizeFor(pages->size());
    pages->SetFormPageSize(oldPage);
    QSize page = oldPage;
    for (int i = 0; i < pages->count(); ++i) {
        QWidget *widget = pages->widget(i);
        auto *lazy = qobject_cast<TLazyPage *>(widget);
        if (lazy && !lazy->IsBuilt()) {
            // The described controls point into the plan: it lives as long as they do.
            const FormPlan plan = lazy->Plan();
            const auto fit = [&] {
                std::vector<Control> controls =
                    fitting::Describe(plan, probes.For(lazy->font(), lazy->style()));
                return Grow(controls, oldPage, 0, probes);
            };
            TPlanSizes *known = pages->PlanSizes();
            page = page.expandedTo(known ? known->Size(plan, oldPage, lazy, fit) : fit());
        } else {
            std::vector<Control> controls = fitting::Describe(widget);
            page = page.expandedTo(Grow(controls, oldPage, 0, probes));
        }
    }
    QSize need = pages->SizeForPage(page);
    need.setWidth(std::max(need.width(), pages->TabsNaturalWidth()));
    return need.expandedTo(pages->size());
}

Item Measure(Control &c, ProbeSet &probes)
{
    Item item;
    item.control = &c;
    item.r0 = c.r0;
    if (c.kind == FormKind::GroupBox) {
        item.size = Grow(c.children, c.r0.size(), fitting::TitleBottom(c), probes)
                        .expandedTo(fitting::GroupBoxMinimum(c));
        item.stretchX = item.stretchY = true;
    } else if (c.pages) {
        item.size = GrowPageControl(c.pages, probes);
    } else if (c.kind == FormKind::Container) {
        item.size = Grow(c.children, c.r0.size(), 0, probes);
    } else {
        item.size = fitting::LeafNeed(c, probes);
        item.button = fitting::IsPushButton(c);
        item.stretchX = item.stretchY = c.kind == FormKind::Table;
        if (c.kind == FormKind::Label)
            item.stretchX = c.wordWrap;
    }
    item.size = item.size.expandedTo(c.minimum);
    return item;
}

bool OverlapX(const QRect &a, const QRect &b)
{
    return a.left() <= b.right() && b.left() <= a.right();
}

bool OverlapY(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

bool Near(int a, int b)
{
    return std::abs(a - b) <= kAlignSlack;
}

// A control, or a row of push buttons standing close together, that lines up with others.
struct Unit
{
    std::vector<int> members; // left to right
    QRect r0;
    bool button = false;
    bool stretchX = false;
    bool stretchY = false;
};

std::vector<Unit> Units(const std::vector<Item> &items)
{
    std::vector<int> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return items[a].r0.x() < items[b].r0.x(); });
    std::vector<Unit> units;
    std::vector<bool> taken(items.size(), false);
    for (const int first : order) {
        if (taken[first])
            continue;
        Unit unit;
        unit.members.push_back(first);
        taken[first] = true;
        const Item &head = items[first];
        unit.button = head.button;
        unit.stretchX = head.stretchX;
        unit.stretchY = head.stretchY;
        unit.r0 = head.r0;
        if (head.button) {
            for (const int next : order) {
                const Item &candidate = items[next];
                if (taken[next] || !candidate.button || !Near(candidate.r0.y(), head.r0.y()) ||
                    !Near(candidate.r0.height(), head.r0.height()))
                    continue;
                const int gap = candidate.r0.x() - (unit.r0.right() + 1);
                if (gap < 0 || gap > kButtonGap)
                    continue;
                unit.members.push_back(next);
                taken[next] = true;
                unit.r0 = unit.r0.united(candidate.r0);
            }
        }
        units.push_back(std::move(unit));
    }
    return units;
}

// Moves every item by the growth of whatever stood left of or above it.
void Push(std::vector<Item> &items, int down)
{
    std::vector<int> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return items[a].r0.x() < items[b].r0.x(); });
    for (const int y : order) {
        Item &item = items[y];
        item.dx = item.minDx;
        for (const int x : order) {
            const Item &left = items[x];
            if (x != y && left.r0.x() + left.r0.width() <= item.r0.x() + kAlignSlack &&
                left.r0.x() < item.r0.x())
                item.dx = std::max(item.dx, left.dx + left.GrowX());
        }
    }
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return items[a].r0.y() < items[b].r0.y(); });
    for (const int y : order) {
        Item &item = items[y];
        item.dy = std::max(down, item.minDy);
        for (const int x : order) {
            const Item &above = items[x];
            if (x != y && above.r0.y() + above.r0.height() <= item.r0.y() + kAlignSlack &&
                above.r0.y() < item.r0.y())
                item.dy = std::max(item.dy, above.dy + above.GrowY());
        }
    }
}

int UnitRight(const std::vector<Item> &items, const Unit &unit)
{
    int right = 0;
    for (const int m : unit.members)
        right = std::max(right, items[m].Right());
    return right;
}

int UnitBottom(const std::vector<Item> &items, const Unit &unit)
{
    int bottom = 0;
    for (const int m : unit.members)
        bottom = std::max(bottom, items[m].Bottom());
    return bottom;
}

// A control with nothing to show lines nothing up.
bool IsEmptyLabel(const Control &c)
{
    return c.kind == FormKind::Label && c.text.isEmpty() && !c.picture;
}

// A row of buttons moves as one: when one of them was pushed, all of them go along.
bool KeepRowsTogether(std::vector<Item> &items, const std::vector<Unit> &units)
{
    bool changed = false;
    for (const Unit &unit : units) {
        if (!unit.button || unit.members.size() < 2)
            continue;
        int shift = 0;
        int grown = 0; // by the members further left, which push the others anyway
        for (const int m : unit.members) {
            shift = std::max(shift, items[m].dx - grown);
            grown += items[m].GrowX();
        }
        grown = 0;
        for (const int m : unit.members) {
            if (items[m].dx < shift + grown) {
                items[m].minDx = shift + grown;
                changed = true;
            }
            grown += items[m].GrowX();
        }
    }
    return changed;
}

// Keeps far edges that lined up lined up: returns true when anything had to change.
bool LineUp(std::vector<Item> &items, const std::vector<Unit> &units)
{
    bool changed = KeepRowsTogether(items, units);
    for (const Unit &unit : units) {
        const bool horizontal = unit.stretchX || unit.button;
        const bool vertical = unit.stretchY || unit.button;
        for (std::size_t x = 0; x < items.size(); ++x) {
            const Item &other = items[x];
            if (std::find(unit.members.begin(), unit.members.end(), static_cast<int>(x)) !=
                    unit.members.end() ||
                IsEmptyLabel(*other.control))
                continue;
            // Buttons follow only a control that reaches at least as far back as they do.
            if (horizontal && !OverlapY(unit.r0, other.r0) &&
                Near(unit.r0.right(), other.r0.right()) &&
                (!unit.button || other.r0.left() <= unit.r0.left() + kAlignSlack)) {
                const int want = other.Right() - (other.r0.right() - unit.r0.right());
                const int deficit = want - UnitRight(items, unit);
                if (deficit > 0) {
                    changed = true;
                    const bool bothEnds = Near(unit.r0.left(), other.r0.left());
                    if (unit.button && !bothEnds) {
                        for (const int m : unit.members)
                            items[m].minDx = items[m].dx + deficit;
                    } else {
                        // Widened evenly; the members further right move along by the push.
                        const int n = static_cast<int>(unit.members.size());
                        for (int k = 0; k < n; ++k) {
                            const int share = deficit / n + (k < deficit % n ? 1 : 0);
                            items[unit.members[k]].size.rwidth() += share;
                        }
                    }
                }
            }
            if (vertical && !OverlapX(unit.r0, other.r0) &&
                Near(unit.r0.bottom(), other.r0.bottom()) &&
                (!unit.button || other.r0.top() <= unit.r0.top() + kAlignSlack)) {
                const int want = other.Bottom() - (other.r0.bottom() - unit.r0.bottom());
                const int deficit = want - UnitBottom(items, unit);
                if (deficit > 0) {
                    changed = true;
                    for (const int m : unit.members) {
                        if (unit.button)
                            items[m].minDy = items[m].dy + deficit;
                        else
                            items[m].size.rheight() += deficit;
                    }
                }
            }
        }
    }
    return changed;
}

// Fits controls, which stood in oldSize, and returns the size they need. Controls must not
// start above childrenTop (below a group box's title). Built controls are moved and sized.
QSize Grow(std::vector<Control> &controls, QSize oldSize, int childrenTop, ProbeSet &probes)
{
    std::vector<Item> items;
    items.reserve(controls.size());
    for (Control &control : controls)
        items.push_back(Measure(control, probes));
    if (items.empty())
        return oldSize;

    // Controls side by side of one height keep one height (a field, its unit list, its arrows).
    std::map<std::pair<int, int>, int> rowHeights;
    for (const Item &item : items)
        if (!item.stretchY) {
            int &height = rowHeights[{item.r0.y(), item.r0.height()}];
            height = std::max(height, item.size.height());
        }
    for (Item &item : items)
        if (!item.stretchY)
            item.size.setHeight(rowHeights[{item.r0.y(), item.r0.height()}]);

    int top = items.front().r0.y();
    for (const Item &item : items)
        top = std::min(top, item.r0.y());
    const int down = std::max(0, childrenTop - top);

    const std::vector<Unit> units = Units(items);
    for (int pass = 0; pass < 20; ++pass) {
        Push(items, down);
        if (!LineUp(items, units))
            break;
    }

    int oldRight = 0, oldBottom = 0, newRight = 0, newBottom = 0;
    for (const Item &item : items) {
        if (QWidget *widget = item.control->widget)
            widget->setGeometry(item.Left(), item.Top(), item.size.width(), item.size.height());
        oldRight = std::max(oldRight, item.r0.x() + item.r0.width());
        oldBottom = std::max(oldBottom, item.r0.y() + item.r0.height());
        newRight = std::max(newRight, item.Right());
        newBottom = std::max(newBottom, item.Bottom());
    }
    return oldSize + QSize(std::max(0, newRight - oldRight), std::max(0, newBottom - oldBottom));
}

} // namespace

QSize FitFormToText(QWidget *form)
{
    return FitFormToText(form, form->size());
}

QSize FitFormToText(QWidget *form, QSize formSize)
{
    ProbeSet probes;
    std::vector<Control> controls = fitting::Describe(form);
    return Grow(controls, formSize, 0, probes);
}

QSize FittedPlanSize(const FormPlan &plan, QSize formSize, const QWidget *context)
{
    ProbeSet probes;
    std::vector<Control> controls =
        fitting::Describe(plan, probes.For(context->font(), context->style()));
    return Grow(controls, formSize, 0, probes);
}
