// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/anglediagram.h"

#include <QPainter>
#include <QPen>

namespace {

const QColor kNormalColor(255, 255, 255);
const QColor kChosenColor(0, 0, 128);

// One pixel wide whatever the transformation, no antialiasing: the line ends fall on whole
// pixels exactly as computed.
QPen LinePen(const QColor &color)
{
    QPen pen(color);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}

QPoint ToQPoint(tools::DiagramPoint p)
{
    return {p.x, p.y};
}

bool SameLines(const tools::AngleDiagram &a, const tools::AngleDiagram &b)
{
    return a.apex == b.apex && a.normal == b.normal && a.chosen == b.chosen;
}

} // namespace

TAngleDiagram::TAngleDiagram(QWidget *parent) : QWidget(parent)
{
    // The surface fills every pixel it owns, so nothing behind it needs repainting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
}

QSize TAngleDiagram::sizeHint() const
{
    return {tools::kDiagramWidth, tools::kDiagramHeight};
}

void TAngleDiagram::Clear()
{
    if (!m_diagram)
        return;
    m_diagram.reset();
    update();
}

void TAngleDiagram::SetDiagram(const tools::AngleDiagram &diagram)
{
    // Unchanged lines need no repaint; this also keeps a recalculation that runs while the
    // window paints from asking for yet another paint.
    if (m_diagram && SameLines(*m_diagram, diagram))
        return;
    m_diagram = diagram;
    update();
}

void TAngleDiagram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!m_diagram)
        return;

    const QPoint apex = ToQPoint(m_diagram->apex);

    // The normal lens in the dotted style of the legend beside the diagram: 3 pixels on,
    // 3 off.
    QPen normal = LinePen(kNormalColor);
    normal.setDashPattern({3, 3});
    painter.setPen(normal);
    for (const tools::DiagramPoint end : m_diagram->normal)
        painter.drawLine(apex, ToQPoint(end));

    painter.setPen(LinePen(kChosenColor));
    for (const tools::DiagramPoint end : m_diagram->chosen)
        painter.drawLine(apex, ToQPoint(end));
}
