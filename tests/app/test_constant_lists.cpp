// SPDX-License-Identifier: GPL-3.0-or-later
// The two constant lists and the user constant dialog through the real main window: what the
// lists hold at start-up, the separator, the action entries, and adding, removing and
// cancelling a user constant on each list.
#include "dialogs/frmcustomconstant.h"
#include "tests/app/opticswindow.h"
#include "tools/settings.h"

#include <QPushButton>

namespace {

const QString kSeparator(43, QChar(0x2013));

QStringList Entries(const QComboBox *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

} // namespace

class TestConstantLists : public QObject, OpticsWindow
{
    Q_OBJECT

private slots:
    void initTestCase() { SetUpProgram(); }
    void cleanupTestCase() { TearDownProgram(); }
    void init() { SetUp(); }
    void cleanup()
    {
        const QString errors = TearDown();
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
    }

    // The dialog is made when a list first asks for it, owned by the window, and stores what
    // it is given from that first opening on; both lists share the one dialog.
    void dialogMadeOnFirstUse_data()
    {
        QTest::addColumn<int>("target");
        QTest::newRow("tab 1 first") << 0;
        QTest::newRow("zone plate first") << 1;
    }

    void dialogMadeOnFirstUse()
    {
        QFETCH(int, target);
        m_window.reset();
        m_window = MakeBuiltWindow(); // both lists built, no dialog yet
        m_window->show();
        QVERIFY(m_window->CustomConstantDialog() == nullptr);
        QVERIFY(m_window->findChildren<TFrmCustomConstant *>().isEmpty());

        QComboBox *list = ConstantList(target);
        PickInList(list, 0);
        const ModalWatch<TFrmCustomConstant> watch([](TFrmCustomConstant *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>("edConstant"), Local("1.5"));
            QTest::mouseClick(dialog->findChild<QPushButton *>("btOk"), Qt::LeftButton);
        });
        PickInList(list, 3); // "Add user constant"
        QVERIFY(watch.Opened());
        TFrmCustomConstant *dialog = m_window->CustomConstantDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->parentWidget(), m_window.get());
        QCOMPARE(tools::ReadSettingFloat(target == 0 ? "CustomConstant" : "CustomConstantZP"), 1.5);
        QCOMPARE(list->itemText(2), Local("1.5 - user constant"));

        QComboBox *other = ConstantList(1 - target);
        PickInList(other, 0);
        const ModalWatch<TFrmCustomConstant> again([](TFrmCustomConstant *d) { d->reject(); });
        PickInList(other, 3);
        QVERIFY(again.Opened());
        QCOMPARE(m_window->findChildren<TFrmCustomConstant *>().size(), 1);
    }

    void constantListsAtStartUp_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QStringList>("tab1");
        QTest::addColumn<QStringList>("zonePlate");
        const QStringList plain = {"2 - first Fresnel zone", "1.9 - Lord Rayleigh", kSeparator,
                                   "Add user constant"};
        const QStringList withUser = {"2 - first Fresnel zone", "1.9 - Lord Rayleigh",
                                      "1.5 - user constant", kSeparator, "Edit user constant"};
        QTest::newRow("nothing stored") << "" << 0.0 << plain << plain;
        QTest::newRow("tab 1 holds 1.5") << "CustomConstant" << 1.5 << withUser << plain;
        QTest::newRow("zone plate holds 1.5") << "CustomConstantZP" << 1.5 << plain << withUser;
    }

    void constantListsAtStartUp()
    {
        QFETCH(QString, setting);
        QFETCH(double, stored);
        QFETCH(QStringList, tab1);
        QFETCH(QStringList, zonePlate);
        if (!setting.isEmpty()) {
            tools::WriteSettingFloat(setting.toStdString(), stored);
            Restart();
        }
        QCOMPARE(Entries(ConstantList(0)), Local(tab1));
        QCOMPARE(Entries(ConstantList(1)), Local(zonePlate));
        // The Lord Rayleigh entry, also where a user constant exists.
        for (const int target : {0, 1}) {
            QCOMPARE(ConstantList(target)->currentIndex(), 1);
            QCOMPARE(m_window->SelectedConstant(static_cast<tools::ConstantTarget>(target)), 1.9);
        }
    }

    void separatorSnapsBack_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("byKeys");
        QTest::newRow("tab 1, picked") << 0 << false;
        QTest::newRow("tab 1, arrow keys") << 0 << true;
        QTest::newRow("zone plate, picked") << 1 << false;
        QTest::newRow("zone plate, arrow keys") << 1 << true;
    }

    void separatorSnapsBack()
    {
        QFETCH(int, target);
        QFETCH(bool, byKeys);
        QComboBox *list = ConstantList(target);
        Type("edImageDistance1", "50");
        PickInList(list, 0); // first Fresnel zone: 0.332 on tab 1
        // The dialog must not open: should it, it is closed again and the test fails.
        const ModalWatch<TFrmCustomConstant> watch([](TFrmCustomConstant *d) { d->reject(); });
        Get("edOptimalDiameter1")->setText("stale");
        if (byKeys) {
            // Down twice: to Lord Rayleigh, then onto the separator, which snaps back.
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->currentIndex(), 1);
            for (int step = 0; step < 3; ++step) {
                QTest::keyClick(list, Qt::Key_Down);
                QCOMPARE(list->currentIndex(), 1);
            }
        } else {
            PickInList(list, 2);
            QCOMPARE(list->currentIndex(), 0);
        }
        QVERIFY(!watch.Opened());
        // Tab 1 recalculated with the entry shown again; the zone plate list leaves tab 1 alone.
        const char *diameter = target == 0 ? (byKeys ? "0.315" : "0.332") : "stale";
        QCOMPARE(Text("edOptimalDiameter1"), Local(diameter));
    }

    void dialogCancelled_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("how");
        for (const int target : {0, 1}) {
            for (const char *how : {"button", "Escape", "close box"})
                QTest::addRow("%s, %s", target == 0 ? "tab 1" : "zone plate", how)
                    << target << QString(how);
        }
    }

    void dialogCancelled()
    {
        QFETCH(int, target);
        QFETCH(QString, how);
        QComboBox *list = ConstantList(target);
        PickInList(list, 0);
        int seenTarget = -1;
        QString seenText = "unset";
        const ModalWatch<TFrmCustomConstant> watch([&](TFrmCustomConstant *dialog) {
            seenTarget = static_cast<int>(dialog->CustomConstantTarget());
            auto *field = dialog->findChild<QLineEdit *>("edConstant");
            seenText = field->text();
            QTest::keyClicks(field, "7");
            if (how == "button")
                QTest::mouseClick(dialog->findChild<QPushButton *>("btCancel"), Qt::LeftButton);
            else if (how == "Escape")
                QTest::keyClick(field, Qt::Key_Escape);
            else
                dialog->close();
        });
        PickInList(list, 3); // "Add user constant"
        QVERIFY(watch.Opened());
        QCOMPARE(seenTarget, target);
        QCOMPARE(seenText, "");
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(list->count(), 4);
        QVERIFY(!tools::SettingExists("CustomConstant"));
        QVERIFY(!tools::SettingExists("CustomConstantZP"));
    }

    void userConstantAddedAndRemoved_data()
    {
        QTest::addColumn<int>("target");
        QTest::newRow("tab 1") << 0;
        QTest::newRow("zone plate") << 1;
    }

    void userConstantAddedAndRemoved()
    {
        QFETCH(int, target);
        const char *own = target == 0 ? "CustomConstant" : "CustomConstantZP";
        const char *other = target == 0 ? "CustomConstantZP" : "CustomConstant";
        QComboBox *list = ConstantList(target);
        QComboBox *otherList = ConstantList(1 - target);
        Type("edPinholeDiameter1", "0.3");
        Type("edImageDistance1", "50");

        {
            const ModalWatch<TFrmCustomConstant> watch([](TFrmCustomConstant *dialog) {
                QTest::keyClicks(dialog->findChild<QLineEdit *>("edConstant"), Local("1.5"));
                QTest::mouseClick(dialog->findChild<QPushButton *>("btOk"), Qt::LeftButton);
            });
            PickInList(list, 3);
            QVERIFY(watch.Opened());
        }
        QCOMPARE(tools::ReadSettingFloat(own), 1.5);
        QVERIFY(!tools::SettingExists(other));
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->currentIndex(), 2);
        QCOMPARE(list->currentText(), Local("1.5 - user constant"));
        QCOMPARE(list->itemText(4), "Edit user constant");
        QCOMPARE(otherList->count(), 4);
        // Tab 1 with c = 1.5: (0.3 / 1.5)^2 / 0.00055 = 72.727; 1.5 * sqrt(0.0275) = 0.2487.
        const QStringList withUser = {"72.727", "0.249"};
        const QStringList rayleigh = {"45.329", "0.315"};
        const QStringList shown = {Text("edOptimalDistance1"), Text("edOptimalDiameter1")};
        QCOMPARE(shown, Local(target == 0 ? withUser : rayleigh));
        // The user entry is now the one to go back to.
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex(), 2);

        QString shownInDialog;
        {
            const ModalWatch<TFrmCustomConstant> watch([&](TFrmCustomConstant *dialog) {
                auto *field = dialog->findChild<QLineEdit *>("edConstant");
                shownInDialog = field->text();
                QTest::keyClick(field, Qt::Key_Delete); // all of it is selected
                QTest::mouseClick(dialog->findChild<QPushButton *>("btOk"), Qt::LeftButton);
            });
            PickInList(list, 4); // "Edit user constant"
            QVERIFY(watch.Opened());
        }
        QCOMPARE(shownInDialog, Local("1.5"));
        QCOMPARE(tools::ReadSettingFloat(own), -1.0);
        QCOMPARE(Entries(list).size(), 4);
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(list->itemText(3), "Add user constant");
        const QStringList afterRemoval = {Text("edOptimalDistance1"), Text("edOptimalDiameter1")};
        QCOMPARE(afterRemoval, Local(rayleigh));
    }
};

QTEST_MAIN(TestConstantLists)
#include "test_constant_lists.moc"
