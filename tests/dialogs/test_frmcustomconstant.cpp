// SPDX-License-Identifier: GPL-3.0-or-later
// The user constant dialog on its own, against a stand-in for the window with the lists: what
// it shows, what OK stores and asks the window to do, and how it is cancelled.
#include "components/uitext.h"
#include "dialogs/constantlisthost.h"
#include "dialogs/frmcustomconstant.h"
#include "tests/support/qtesthelpers.h"
#include "tools/settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <optional>

using tools::ConstantTarget;

namespace {

int TargetNumber(ConstantTarget target)
{
    return static_cast<int>(target);
}

// Keeps a log of what the dialog asks of the window, one entry a call, and plays a list that
// shows the user entry after a fill with the select-user flag and the Rayleigh entry otherwise.
class FakeListHost : public IConstantListHost
{
public:
    void FillConstantList(ConstantTarget target, bool selectUser) override
    {
        log << QStringLiteral("fill %1 %2")
                   .arg(TargetNumber(target))
                   .arg(selectUser ? "user" : "rayleigh");
        index[TargetNumber(target)] = selectUser ? 2 : 1;
    }
    int ConstantListIndex(ConstantTarget target) const override
    {
        return index[TargetNumber(target)];
    }
    void SelectConstantListIndex(ConstantTarget target, int i) override
    {
        log << QStringLiteral("select %1 at %2").arg(TargetNumber(target)).arg(i);
        index[TargetNumber(target)] = i;
    }
    int PrevConstantIndex(ConstantTarget target) const override
    {
        return prev[TargetNumber(target)];
    }
    void SetPrevConstantIndex(ConstantTarget target, int i) override
    {
        log << QStringLiteral("remember %1 at %2").arg(TargetNumber(target)).arg(i);
        prev[TargetNumber(target)] = i;
    }
    void CalcOptimalFocalLength() override { log << "focal length"; }
    void CalcOptimalDiameter() override { log << "diameter"; }
    void ResetZonePlateTab() override { log << "reset zone plate"; }

    QStringList log;
    int index[2] = {3, 3}; // on the action entry, as when the dialog opens
    int prev[2] = {0, 0};
};

// The text with '.' replaced by the locale's decimal separator.
QString Local(QString text)
{
    return text.replace(u'.', QChar(DecimalSeparator()));
}

std::optional<double> Stored(const char *name)
{
    if (!tools::SettingExists(name))
        return std::nullopt;
    return tools::ReadSettingFloat(name);
}

} // namespace

class TestFrmCustomConstant : public QObject
{
    Q_OBJECT

private:
    // A fresh settings store, window stand-in and dialog for each test.
    void Open(ConstantTarget target)
    {
        m_dialog.reset();
        m_settings = std::make_unique<ScratchSettings>();
        m_host = std::make_unique<FakeListHost>();
        m_parent = std::make_unique<QWidget>();
        m_parent->setGeometry(100, 100, 536, 396);
        m_dialog = std::make_unique<TFrmCustomConstant>(m_host.get(), m_parent.get());
        m_dialog->SetCustomConstantTarget(target);
    }

    QLineEdit *Field() const { return m_dialog->findChild<QLineEdit *>("edConstant"); }
    QPushButton *Button(const char *name) const { return m_dialog->findChild<QPushButton *>(name); }

    std::unique_ptr<ScratchSettings> m_settings;
    std::unique_ptr<FakeListHost> m_host;
    std::unique_ptr<QWidget> m_parent;
    std::unique_ptr<TFrmCustomConstant> m_dialog;

private slots:
    void initTestCase() { InitDecimalSeparator(); }

    void cleanup()
    {
        m_dialog.reset();
        m_parent.reset();
    }

    void layout()
    {
        Open(ConstantTarget::Pinhole);
        QCOMPARE(m_dialog->windowTitle(), " User Constant");
        // The sizes of the form, or larger where the running font needs more room.
        QVERIFY(m_dialog->width() >= 202 && m_dialog->height() >= 104);
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(!m_dialog->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
        const auto *label = m_dialog->findChild<QLabel *>("Label_01");
        QCOMPARE(label->text(), "User constant:");
        QCOMPARE(label->pos(), QPoint(16, 16));
        QCOMPARE(Field()->x(), 16);
        QVERIFY(Field()->y() >= label->geometry().bottom());
        QCOMPARE(Field()->width(), 169);
        QCOMPARE(Button("btOk")->text(), "OK");
        QVERIFY(Button("btOk")->y() >= Field()->geometry().bottom() + 8);
        QCOMPARE(Button("btOk")->x(), 16);
        QVERIFY(Button("btOk")->isDefault());
        QCOMPARE(Button("btCancel")->text(), "Cancel");
        QCOMPARE(Button("btCancel")->y(), Button("btOk")->y());
        QCOMPARE(Button("btCancel")->geometry().right(), Field()->geometry().right());
        for (const char *button : {"btOk", "btCancel"})
            QVERIFY(Button(button)->width() >= 81 && Button(button)->height() >= 23);
        // Tab order: field, OK, Cancel.
        QCOMPARE(Field()->nextInFocusChain(), Button("btOk"));
        QCOMPARE(Button("btOk")->nextInFocusChain(), Button("btCancel"));
    }

    void opensWithStoredConstant_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("field");
        QTest::newRow("tab 1, none stored") << 0 << "" << 0.0 << "";
        QTest::newRow("tab 1, 1.5") << 0 << "CustomConstant" << 1.5 << "1.5";
        QTest::newRow("zone plate, 2.25") << 1 << "CustomConstantZP" << 2.25 << "2.25";
        // Each list reads its own value only.
        QTest::newRow("zone plate, only tab 1 stored") << 1 << "CustomConstant" << 1.5 << "";
        QTest::newRow("tab 1, only zone plate stored") << 0 << "CustomConstantZP" << 1.5 << "";
    }

    void opensWithStoredConstant()
    {
        QFETCH(int, target);
        QFETCH(QString, setting);
        QFETCH(double, stored);
        QFETCH(QString, field);
        Open(static_cast<ConstantTarget>(target));
        if (!setting.isEmpty())
            tools::WriteSettingFloat(setting.toStdString(), stored);
        m_dialog->show();
        QCOMPARE(Field()->text(), Local(field));
        // Typing replaces what is shown.
        QCOMPARE(Field()->selectedText(), Field()->text());
    }

    void unreadableStoredValueOpensEmpty()
    {
        Open(ConstantTarget::Pinhole);
        tools::WriteSettingString("CustomConstant", "1.5");
        m_dialog->show();
        QCOMPARE(Field()->text(), "");
    }

    void keyFilterOnField()
    {
        Open(ConstantTarget::Pinhole);
        m_dialog->show();
        QTest::keyClicks(Field(), "1x" + Local(".") + "5-");
        QCOMPARE(Field()->text(), Local("1.5"));
    }

    void okStores_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("tab 1, new constant")
            << 0 << "1.5" << 1.5
            << QStringList{"reset zone plate", "fill 0 user", "remember 0 at 2", "focal length",
                           "diameter"};
        QTest::newRow("tab 1, emptied: removed")
            << 0 << "" << -1.0
            << QStringList{"remember 0 at 1", "fill 0 rayleigh", "focal length", "diameter"};
        QTest::newRow("zone plate, new constant")
            << 1 << "2.5" << 2.5
            << QStringList{"reset zone plate", "fill 1 user", "remember 1 at 2"};
        // Removing the zone plate's constant puts its list on Lord Rayleigh: the results of
        // the removed constant go.
        QTest::newRow("zone plate, emptied: removed")
            << 1 << "" << -1.0
            << QStringList{"remember 1 at 1", "fill 1 rayleigh", "reset zone plate"};
    }

    void okStores()
    {
        QFETCH(int, target);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(QStringList, calls);
        Open(static_cast<ConstantTarget>(target));
        m_dialog->show();
        Field()->setText(Local(text));
        QTest::mouseClick(Button("btOk"), Qt::LeftButton);

        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_host->log, calls);
        const char *own = target == 0 ? "CustomConstant" : "CustomConstantZP";
        const char *other = target == 0 ? "CustomConstantZP" : "CustomConstant";
        QCOMPARE(Stored(own), std::optional<double>(value));
        QCOMPARE(Stored(other), std::nullopt);
    }

    void okRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero") << "0"
                              << "User constant must be greater than zero.";
        QTest::newRow("zero with places")
            << Local("0.000") << "User constant must be greater than zero.";
        // The key filter lets both exponent letters through; the text is still no number.
        QTest::newRow("not a number") << "1E2e3"
                                      << "'1E2e3' is not a valid floating point value";
    }

    void okRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        Open(ConstantTarget::Pinhole);
        m_dialog->show();
        Field()->setText(text);
        const MessageCatcher catcher;
        QTest::mouseClick(Button("btOk"), Qt::LeftButton);

        QVERIFY(catcher.Shown());
        QCOMPARE(catcher.Text(), message);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(Field()->selectedText(), text);
        QVERIFY(m_host->log.isEmpty());
        QVERIFY(!tools::SettingExists("CustomConstant"));
    }

    void executeCentresOnParentAndIsModal()
    {
        Open(ConstantTarget::Pinhole);
        m_parent->show();
        QPoint centre;
        bool modal = false;
        const ModalWatch<TFrmCustomConstant> watch([&](TFrmCustomConstant *dialog) {
            centre = dialog->frameGeometry().center();
            modal = dialog->isModal();
            dialog->reject();
        });
        m_dialog->Execute(ConstantTarget::ZonePlate);
        QVERIFY(watch.Opened());
        QVERIFY(modal);
        QCOMPARE(m_dialog->CustomConstantTarget(), ConstantTarget::ZonePlate);
        const QPoint expected = m_parent->frameGeometry().center();
        QVERIFY2((centre - expected).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("centre %1,%2").arg(centre.x()).arg(centre.y())));
    }
};

QTEST_MAIN(TestFrmCustomConstant)
#include "test_frmcustomconstant.moc"
