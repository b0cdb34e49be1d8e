// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/appstyle.h"

#include "components/pngimage.h"

#include <QGroupBox>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// Fusion's space between a group box's title and its frame, and the file and margins of the
// frame's drawing (Qt 6's Fusion style).
constexpr int kGroupBoxTopMargin = 3;
constexpr QMargins kGroupBoxFrameMargins(6, 6, 6, 6);
const char kGroupBoxFrameFile[] = ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

// A standard icon of the base style, asked for when it is first drawn or measured.
class DeferredIconEngine : public QIconEngine
{
public:
    DeferredIconEngine(const QStyle *style, QStyle::StandardPixmap which)
        : m_style(style), m_which(which)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return Icon().isNull(); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("LumidraDeferredIconEngine"); }

private:
    const QIcon &Icon()
    {
        if (!m_read) {
            m_read = true;
            if (m_style)
                m_icon = m_style->standardIcon(m_which);
        }
        return m_icon;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_which;
    bool m_read = false;
    QIcon m_icon;
};

} // namespace

TAppStyle::TAppStyle(const QString &key)
    : QProxyStyle(key),
      m_fusion(baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
{}

QIcon TAppStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                              const QWidget *widget) const
{
    if (option == nullptr &&
        (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton))
        return QIcon(new DeferredIconEngine(baseStyle(), icon));
    return QProxyStyle::standardIcon(icon, option, widget);
}

void TAppStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameGroupBox && m_fusion) {
        if (m_groupBoxFrame.isNull())
            m_groupBoxFrame = QPixmap::fromImage(ReadPng(QLatin1String(kGroupBoxFrameFile)));
        if (!m_groupBoxFrame.isNull()) {
            // A box without title or check box keeps only the small margin above its frame.
            const auto *box = qobject_cast<const QGroupBox *>(widget);
            const int top = box != nullptr && !box->isCheckable() && box->title().isEmpty()
                                ? kGroupBoxTopMargin
                                : std::max(pixelMetric(PM_ExclusiveIndicatorHeight),
                                           option->fontMetrics.height()) +
                                      kGroupBoxTopMargin;
            qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), kGroupBoxFrameMargins,
                              m_groupBoxFrame);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
