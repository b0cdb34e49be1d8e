// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/enhcombo.h"

#include <QAbstractItemView>
#include <QTest>

#include <algorithm>

class TestEnhCombo : public QObject
{
    Q_OBJECT

private slots:
    void dropDownWidth_data();
    void dropDownWidth();
};

namespace {
constexpr int kBoxWidth = 120;
constexpr int kNoFixedWidth = 0;
} // namespace

void TestEnhCombo::dropDownWidth_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("fixedWidth");
    // The width the drop-down part must reach at least; -1: the longest item's text.
    QTest::addColumn<int>("atLeast");
    // The width it must not exceed; -1: no limit checked.
    QTest::addColumn<int>("atMost");

    const QStringList films = {"Ilford Delta 100",
                               "Fuji Neopan Acros 100 (reciprocity up to 1000 seconds)", "Tri-X"};
    QTest::newRow("long item widens the list") << films << kNoFixedWidth << -1 << -1;
    QTest::newRow("short items: as wide as the box")
        << QStringList{"mm", "in"} << kNoFixedWidth << kBoxWidth << kBoxWidth;
    QTest::newRow("no items: as wide as the box")
        << QStringList{} << kNoFixedWidth << kBoxWidth << kBoxWidth;
    QTest::newRow("fixed width wider than the box") << films << 300 << 300 << 300;
    QTest::newRow("fixed width never narrower than the box")
        << films << 40 << kBoxWidth << kBoxWidth;
}

void TestEnhCombo::dropDownWidth()
{
    QFETCH(QStringList, items);
    QFETCH(int, fixedWidth);
    QFETCH(int, atLeast);
    QFETCH(int, atMost);

    QWidget window;
    auto *combo = new TEnhCombo(&window);
    combo->addItems(items);
    combo->SetDropDownFixedWidth(fixedWidth);
    combo->setFixedWidth(kBoxWidth);
    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QFontMetrics metrics(combo->view()->font());
    int longest = 0;
    for (const QString &item : items)
        longest = std::max(longest, metrics.horizontalAdvance(item));
    if (atLeast < 0) {
        atLeast = longest;
        QVERIFY(atLeast > kBoxWidth);
    }
    QCOMPARE(combo->DropDownFixedWidth(), fixedWidth);
    QVERIFY2(combo->DropDownWidth() >= atLeast,
             qPrintable(QString::number(combo->DropDownWidth())));
    if (atMost >= 0)
        QCOMPARE(combo->DropDownWidth(), atMost);

    if (items.isEmpty())
        return; // an empty list does not drop down
    combo->showPopup();
    QWidget *popup = combo->view()->window();
    QTRY_VERIFY(popup->isVisible());
    QVERIFY2(popup->width() >= atLeast, qPrintable(QString::number(popup->width())));
    // The list itself has room for the whole of the longest text.
    if (fixedWidth == kNoFixedWidth)
        QVERIFY(combo->view()->viewport()->width() >= longest);
    combo->hidePopup();
}

QTEST_MAIN(TestEnhCombo)
#include "test_enhcombo.moc"
