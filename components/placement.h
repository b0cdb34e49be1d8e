// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>

// Whether a window whose frame stands at frame, with a title bar titleBarHeight high along its
// top edge, can be reached on one of screens (their areas free for windows): a piece of the
// title bar at least kTitleBarGrip wide and half the bar high must lie on one screen, so that
// the user can take the window by it. A stored window position that fails this (a monitor
// unplugged, a smaller screen) is not used.
constexpr int kTitleBarGrip = 40;
bool TitleBarReachable(const QRect &frame, int titleBarHeight, const QList<QRect> &screens);

// The areas free for windows of every screen connected now.
QList<QRect> ScreenAreas();
