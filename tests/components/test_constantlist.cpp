// SPDX-License-Identifier: GPL-3.0-or-later
// The constant list of the diameter and zone plate tabs on its own: it never rests on the
// separator or the action entry, it goes back to the entry the user came from, and it reads
// the constant of the entry shown.
#include "components/constantlist.h"
#include "components/guarded.h"
#include "components/uitext.h"
#include "tests/support/qtesthelpers.h"
#include "tools/settings.h"

#include <QtTest>

#include <memory>

namespace {

// The entries without a user constant: 0 Fresnel, 1 Lord Rayleigh, 2 separator, 3 "Add user
// constant"; with one the user entry stands at 2 and the others move down by one.
constexpr int kFresnel = 0;
constexpr int kRayleigh = 1;

} // namespace

class TestConstantList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScratchSettings> m_settings;

private slots:
    void initTestCase() { InitDecimalSeparator(); }
    void init() { m_settings = std::make_unique<ScratchSettings>(); }

    // Where the list stands after a pick, and what it told.
    void pick_data()
    {
        QTest::addColumn<int>("start");     // the entry shown when the user enters the list
        QTest::addColumn<int>("pick");      // -1: the action entry, the last
        QTest::addColumn<bool>("answered"); // a handler of the request selects the Fresnel entry
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("told");
        QTest::newRow("a constant") << kRayleigh << kFresnel << false << kFresnel << "picked";
        // Back on the entry it came from, which counts as picked again.
        QTest::newRow("the separator goes back") << kFresnel << 2 << false << kFresnel << "picked";
        QTest::newRow("the action entry, no dialog answers")
            << kFresnel << -1 << false << kFresnel << "requested";
        QTest::newRow("the action entry, a dialog answers")
            << kRayleigh << -1 << true << kFresnel << "requested";
    }
    void pick()
    {
        QFETCH(int, start);
        QFETCH(int, pick);
        QFETCH(bool, answered);
        QFETCH(int, shown);
        QFETCH(QString, told);
        QWidget window;
        auto *list = new TConstantList(&window);
        list->Fill(false);
        list->Select(start);
        QStringList log;
        connect(list, &TConstantList::constantPicked, [&log] { log << "picked"; });
        connect(list, &TConstantList::userConstantRequested, [&] {
            log << "requested";
            if (answered)
                list->Select(kFresnel);
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        PickInList(list, pick < 0 ? list->count() - 1 : pick);

        QCOMPARE(list->currentIndex(), shown);
        QCOMPARE(log.join(u' '), told);
        if (told == "picked")
            QCOMPARE(list->Remembered(), shown);
    }

    // A remembered entry that holds no number is no place to go back to: Lord Rayleigh is.
    void goesBackToRayleighFromNoNumber()
    {
        QWidget window;
        auto *list = new TConstantList(&window);
        list->Fill(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        list->Select(2);
        PickInList(list, 2);
        QCOMPARE(list->currentIndex(), kRayleigh);
    }

    // The list shows the constant stored for its own target, and reads the entry shown.
    void constants_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<double>("stored"); // for the zone plate's list; -1: none
        QTest::addColumn<bool>("selectUser");
        QTest::addColumn<double>("constant");
        QTest::addColumn<int>("entries");
        QTest::newRow("pinhole, none stored") << 0 << -1.0 << false << 1.9 << 4;
        QTest::newRow("pinhole ignores the zone plate's") << 0 << 2.5 << true << 1.9 << 4;
        QTest::newRow("zone plate, user entry") << 1 << 2.5 << true << 2.5 << 5;
        QTest::newRow("zone plate, Rayleigh") << 1 << 2.5 << false << 1.9 << 5;
    }
    void constants()
    {
        QFETCH(int, target);
        QFETCH(double, stored);
        QFETCH(bool, selectUser);
        QFETCH(double, constant);
        QFETCH(int, entries);
        if (stored > 0)
            tools::WriteSettingFloat("CustomConstantZP", stored);
        TConstantList list;
        list.SetTarget(static_cast<tools::ConstantTarget>(target));
        list.Fill(selectUser);
        QCOMPARE(list.count(), entries);
        QCOMPARE(list.SelectedConstant(), constant);
    }

    // An entry that holds no number is reported, never taken as 0.
    void entryWithoutNumberThrows()
    {
        TConstantList list;
        list.Fill(false);
        list.Select(2);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, list.SelectedConstant());
    }
};

QTEST_MAIN(TestConstantList)
#include "test_constantlist.moc"
