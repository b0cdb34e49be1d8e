// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/placement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

bool TitleBarReachable(const QRect &frame, int titleBarHeight, const QList<QRect> &screens)
{
    const int height = std::max(titleBarHeight, 1);
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), height));
    return std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        const QRect visible = titleBar.intersected(screen);
        return visible.width() >= std::min(kTitleBarGrip, titleBar.width()) &&
               2 * visible.height() >= height;
    });
}

QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}
