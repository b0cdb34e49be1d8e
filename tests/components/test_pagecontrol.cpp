// SPDX-License-Identifier: GPL-3.0-or-later
// The page control remembers the size of each tab's caption while a window is laid out. Each
// row changes one thing on a control that has measured its tabs already, and compares its
// tabs with those of a control made afresh in the same state: whatever it remembered must
// never show through once the caption, the font, the current tab or the width changed.
#include "components/pagecontrol.h"

#include <QTabBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QStringList kCaptions = {"Pinhole Diameter and Focal Length", "Exposure", "Angle of View",
                               "Magnification", "Zone Plate"};

struct State
{
    QStringList captions = kCaptions;
    int pointSize = 9;
    int current = 0;
    int width = 536;
};

std::unique_ptr<TPageControl> Make(const State &state)
{
    auto pages = std::make_unique<TPageControl>();
    QFont font = pages->font();
    font.setPointSize(state.pointSize);
    pages->setFont(font);
    for (const QString &caption : state.captions)
        pages->addTab(new QWidget, caption);
    pages->setCurrentIndex(state.current);
    pages->resize(state.width, 300);
    return pages;
}

void Apply(TPageControl &pages, const State &state)
{
    QFont font = pages.font();
    font.setPointSize(state.pointSize);
    pages.setFont(font);
    for (int i = 0; i < state.captions.size(); ++i)
        pages.setTabText(i, state.captions[i]);
    pages.setCurrentIndex(state.current);
    pages.resize(state.width, 300);
}

// What the tabs show: each tab's place and the width the captions need in full.
QList<QRect> TabRects(TPageControl &pages)
{
    pages.show();
    QCoreApplication::processEvents();
    QList<QRect> rects;
    for (int i = 0; i < pages.count(); ++i)
        rects << pages.tabBar()->tabRect(i);
    return rects;
}

} // namespace

Q_DECLARE_METATYPE(std::function<void(State &)>)

class TestPageControl : public QObject
{
    Q_OBJECT

private slots:
    void tabsFollowEveryChange_data()
    {
        using Change = std::function<void(State &)>;
        QTest::addColumn<Change>("change");
        QTest::newRow("nothing") << Change([](State &) {});
        QTest::newRow("a longer caption")
            << Change([](State &s) { s.captions[1] = "Exposure and Reciprocity of the Film"; });
        QTest::newRow("a shorter caption") << Change([](State &s) { s.captions[0] = "Pinhole"; });
        QTest::newRow("a larger font") << Change([](State &s) { s.pointSize = 14; });
        QTest::newRow("a smaller font") << Change([](State &s) { s.pointSize = 7; });
        QTest::newRow("another current tab") << Change([](State &s) { s.current = 3; });
        QTest::newRow("narrower: captions elided") << Change([](State &s) { s.width = 300; });
        QTest::newRow("two captions swapped") << Change([](State &s) {
            std::swap(s.captions[2], s.captions[4]);
        });
    }

    void tabsFollowEveryChange()
    {
        QFETCH(std::function<void(State &)>, change);
        State state;
        const std::unique_ptr<TPageControl> lived = Make(state);
        const int before = lived->TabsNaturalWidth();
        TabRects(*lived); // everything measured and laid out once
        QVERIFY(before > 0);

        change(state);
        Apply(*lived, state);
        const std::unique_ptr<TPageControl> fresh = Make(state);
        QCOMPARE(lived->TabsNaturalWidth(), fresh->TabsNaturalWidth());
        QCOMPARE(TabRects(*lived), TabRects(*fresh));
        for (int i = 0; i < lived->count(); ++i)
            QCOMPARE(lived->tabBar()->tabText(i), state.captions[i]);
    }
};

QTEST_MAIN(TestPageControl)
#include "test_pagecontrol.moc"
