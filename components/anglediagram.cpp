// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/anglediagram.h"

#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

// Relative luminance of a colour (sRGB), as the contrast of two colours is measured.
double Luminance(const QColor &colour)
{
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

// The band of luminance on which white (1.0) and navy (about 0.016) both reach a contrast of
// 3 : 1, (1.05 / 3 - 0.05 = 0.30 and 3 * 0.066 - 0.05 = 0.147), kept a little inside.
constexpr double kDarkest = 0.16;
constexpr double kLightest = 0.28;

QColor Mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

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

QColor DiagramSurface(const QPalette &palette)
{
    const QColor mid = palette.color(QPalette::Mid);
    const double luminance = Luminance(mid);
    if (luminance >= kDarkest && luminance <= kLightest)
        return mid;
    // Towards black or white, by the least that reaches the band.
    const QColor towards = luminance > kLightest ? QColor(0, 0, 0) : QColor(255, 255, 255);
    const double target = luminance > kLightest ? kLightest : kDarkest;
    double low = 0;
    double high = 1;
    for (int step = 0; step < 24; ++step) {
        const double t = (low + high) / 2;
        const double l = Luminance(Mix(mid, towards, t));
        if (luminance > kLightest ? l > target : l < target)
            low = t;
        else
            high = t;
    }
    const QColor surface = Mix(mid, towards, high);
    return QColor(surface.red(), surface.green(), surface.blue());
}

void TDiagramLegend::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.fillRect(rect(), DiagramSurface(palette()));
    }
    QLabel::paintEvent(event);
}

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
    if (!m_diagram) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    painter.fillRect(rect(), DiagramSurface(palette()));

    const QPoint apex = ToQPoint(m_diagram->apex);

    // The normal lens dotted (the legend's sample is dashed).
    QPen normal = LinePen(kNormalColor);
    normal.setStyle(Qt::DotLine);
    painter.setPen(normal);
    for (const tools::DiagramPoint end : m_diagram->normal)
        painter.drawLine(apex, ToQPoint(end));

    painter.setPen(LinePen(kChosenColor));
    for (const tools::DiagramPoint end : m_diagram->chosen)
        painter.drawLine(apex, ToQPoint(end));
}
