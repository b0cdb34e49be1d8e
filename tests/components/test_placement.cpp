// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a window at a stored position can be reached by its title bar, on screens laid out
// as users have them: two side by side of different heights, one above another, and a
// laptop screen alone after its monitor was unplugged.
#include "components/placement.h"

#include <QtTest>

namespace {

// 1920 x 1080 at the origin, a 1280 x 1024 screen to its right, and a 1920 x 1080 screen on
// top of the first; their areas free for windows leave 40 pixels for a panel at the bottom.
const QRect kMain(0, 0, 1920, 1040);
const QRect kRight(1920, 0, 1280, 984);
const QRect kAbove(0, -1080, 1920, 1040);
constexpr int kTitleBar = 30;

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void titleBarReachable_data()
    {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("reachable");
        const QList<QRect> sideBySide = {kMain, kRight};
        const QList<QRect> stacked = {kMain, kAbove};
        const QList<QRect> laptop = {QRect(0, 0, 1366, 728)};
        const QSize window(620, 480);
        QTest::newRow("on the main screen")
            << sideBySide << QRect(QPoint(100, 100), window) << true;
        QTest::newRow("on the right screen")
            << sideBySide << QRect(QPoint(2500, 300), window) << true;
        QTest::newRow("across both screens")
            << sideBySide << QRect(QPoint(1700, 300), window) << true;
        // The right screen is shorter: at y 1000 the title bar lies below it and in the main
        // screen's panel row, beyond both areas.
        QTest::newRow("below the shorter screen")
            << sideBySide << QRect(QPoint(2500, 1000), window) << false;
        QTest::newRow("grip of 40 pixels on the right screen")
            << sideBySide << QRect(QPoint(3200 - 40, 300), window) << true;
        QTest::newRow("grip of 39 pixels only")
            << sideBySide << QRect(QPoint(3200 - 39, 300), window) << false;
        QTest::newRow("half the title bar below the top")
            << sideBySide << QRect(QPoint(100, -kTitleBar / 2), window) << true;
        QTest::newRow("less than half of it")
            << sideBySide << QRect(QPoint(100, -kTitleBar / 2 - 1), window) << false;
        QTest::newRow("on the screen above") << stacked << QRect(QPoint(100, -700), window) << true;
        QTest::newRow("where the right screen was, now unplugged")
            << QList<QRect>{kMain} << QRect(QPoint(2500, 300), window) << false;
        QTest::newRow("beyond a smaller laptop screen")
            << laptop << QRect(QPoint(1500, 800), window) << false;
        QTest::newRow("no screen at all") << QList<QRect>() << QRect(QPoint(0, 0), window) << false;
        QTest::newRow("window narrower than the grip, whole title bar on the screen")
            << laptop << QRect(0, 0, 30, 30) << true;
    }

    void titleBarReachable()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, frame);
        QFETCH(bool, reachable);
        QCOMPARE(TitleBarReachable(frame, kTitleBar, screens), reachable);
    }
};

QTEST_GUILESS_MAIN(TestPlacement)
#include "test_placement.moc"
