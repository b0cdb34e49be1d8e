// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/reciprocityplot.h"

#include "components/uitext.h"
#include "tools/numtext.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMarginTop = 8;
constexpr int kGap = 4; // between labels, titles and the frame
constexpr double kDotRadius = 3.0;

// A decade's label: plain below 10^4 (0.1, 1, 1000), a power of ten beyond.
QString DecadeLabel(int decade, char decSep)
{
    if (decade >= -3 && decade <= 3)
        return FromStd(tools::GeneralNumberText(std::pow(10.0, decade), decSep));
    static const QString kSuperscripts = QStringLiteral("\u2070\u00b9\u00b2\u00b3\u2074\u2075"
                                                        "\u2076\u2077\u2078\u2079");
    QString exponent;
    for (const QChar digit : QString::number(std::abs(decade)))
        exponent += kSuperscripts[digit.digitValue()];
    return QStringLiteral("10") + (decade < 0 ? QStringLiteral("\u207b") : QString()) + exponent;
}

bool Drawable(const tools::TimePair &p)
{
    return p.Metered > 0 && p.Corrected > 0 && std::isfinite(p.Metered) &&
           std::isfinite(p.Corrected);
}

} // namespace

TReciprocityPlot::TReciprocityPlot(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(220, 180);
}

QSize TReciprocityPlot::sizeHint() const
{
    return {280, 230};
}

void TReciprocityPlot::SetAxisTitles(const QString &metered, const QString &needed, char decSep)
{
    m_meteredTitle = metered;
    m_neededTitle = needed;
    m_decSep = decSep;
    update();
}

void TReciprocityPlot::SetData(Points measured, Points fitted, Points continued)
{
    m_measured = std::move(measured);
    m_fitted = std::move(fitted);
    m_continued = std::move(continued);
    FitAxes();
    update();
}

// Whole decades around everything shown; up from no higher a decade than across, so that the
// diagonal of no correction starts in view.
void TReciprocityPlot::FitAxes()
{
    double xmin = INFINITY, xmax = -INFINITY, ymin = INFINITY, ymax = -INFINITY;
    for (const Points *points : {&m_measured, &m_fitted, &m_continued})
        for (const tools::TimePair &p : *points) {
            if (!Drawable(p))
                continue;
            xmin = std::min(xmin, p.Metered);
            xmax = std::max(xmax, p.Metered);
            ymin = std::min(ymin, p.Corrected);
            ymax = std::max(ymax, p.Corrected);
        }
    if (!(xmin <= xmax)) {
        m_x0 = m_x1 = m_y0 = m_y1 = 0;
        return;
    }
    m_x0 = static_cast<int>(std::floor(std::log10(xmin) + 1e-9));
    m_x1 = std::max(m_x0 + 1, static_cast<int>(std::ceil(std::log10(xmax) - 1e-9)));
    m_y0 = std::min(m_x0, static_cast<int>(std::floor(std::log10(ymin) + 1e-9)));
    m_y1 = std::max(m_y0 + 1, static_cast<int>(std::ceil(std::log10(ymax) - 1e-9)));
}

void TReciprocityPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    // Room for the widest label up the left and half the last label across.
    const QFontMetrics metrics(font());
    int labelWidth = metrics.horizontalAdvance(QStringLiteral("10"));
    for (int d = m_y0; d <= m_y1 && m_y1 != m_y0; ++d)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(DecadeLabel(d, m_decSep)));
    const int left = metrics.height() + labelWidth + 3 * kGap;
    const int right = metrics.horizontalAdvance(DecadeLabel(m_x1, m_decSep)) / 2 + kGap;
    const int bottom = 2 * metrics.height() + 2 * kGap;
    const QRectF area(left, kMarginTop, width() - left - right, height() - kMarginTop - bottom);
    const QColor text = palette().color(QPalette::Text);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawRect(area);
    if (m_x1 == m_x0)
        return;

    auto toPoint = [&](double metered, double corrected) {
        const double fx = (std::log10(metered) - m_x0) / (m_x1 - m_x0);
        const double fy = (std::log10(corrected) - m_y0) / (m_y1 - m_y0);
        return QPointF(area.left() + fx * area.width(), area.bottom() - fy * area.height());
    };

    // Decade lines with their labels.
    for (int d = m_x0; d <= m_x1; ++d) {
        const double x = toPoint(std::pow(10.0, d), 1).x();
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(text);
        const QString label = DecadeLabel(d, m_decSep);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0,
                                 area.bottom() + metrics.ascent() + kGap / 2),
                         label);
    }
    for (int d = m_y0; d <= m_y1; ++d) {
        const double y = toPoint(1, std::pow(10.0, d)).y();
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(text);
        const QString label = DecadeLabel(d, m_decSep);
        painter.drawText(QPointF(area.left() - metrics.horizontalAdvance(label) - kGap,
                                 y + metrics.ascent() / 2.0 - 1),
                         label);
    }
    painter.setPen(text);
    painter.drawText(
        QRectF(area.left(), height() - metrics.height() - 1, area.width(), metrics.height()),
        Qt::AlignHCenter, m_meteredTitle);
    painter.save();
    painter.translate(metrics.height() / 2.0 + kGap / 2.0, area.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-area.height() / 2, -metrics.height() / 2.0, area.height(), metrics.height()),
        Qt::AlignHCenter, m_neededTitle);
    painter.restore();

    painter.setClipRect(area);
    // No correction: the needed time equals the metered one.
    const double lo = std::pow(10.0, m_x0), hi = std::pow(10.0, m_x1);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1, Qt::DotLine));
    painter.drawLine(toPoint(lo, lo), toPoint(hi, hi));

    const QColor curve = palette().color(QPalette::Highlight);
    auto drawCurve = [&](const Points &points, Qt::PenStyle style) {
        QPainterPath path;
        for (const tools::TimePair &p : points) {
            if (!Drawable(p))
                continue;
            const QPointF at = toPoint(p.Metered, p.Corrected);
            if (path.elementCount() == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        painter.setPen(QPen(curve, 2, style));
        painter.drawPath(path);
    };
    drawCurve(m_fitted, Qt::SolidLine);
    drawCurve(m_continued, Qt::DashLine);

    painter.setPen(QPen(text, 1));
    painter.setBrush(text);
    for (const tools::TimePair &p : m_measured)
        if (Drawable(p))
            painter.drawEllipse(toPoint(p.Metered, p.Corrected), kDotRadius, kDotRadius);
}
