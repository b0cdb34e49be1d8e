// SPDX-License-Identifier: GPL-3.0-or-later
// The user constant dialog on its own, with a constant list of its own: what it shows, what OK
// stores, how it leaves the list and tells the window, and how it is cancelled.
#include "components/constantlist.h"
#include "components/uitext.h"
#include "dialogs/frmcustomconstant.h"
#include "tests/support/qtesthelpers.h"
#include "tools/settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

using tools::ConstantTarget;

namespace {

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
    // A fresh settings store, constant list and dialog for each test. The list shows the
    // action entry that opens the dialog, having remembered the Lord Rayleigh entry.
    void Open(ConstantTarget target)
    {
        m_dialog.reset();
        m_settings = std::make_unique<ScratchSettings>();
        m_parent = std::make_unique<QWidget>();
        m_parent->setGeometry(100, 100, 536, 396);
        m_list = new TConstantList(m_parent.get());
        m_list->SetTarget(target);
        m_list->Fill(false);
        m_list->SetRemembered(tools::kRayleighIndex);
        m_list->Select(m_list->count() - 1);
        m_dialog = std::make_unique<TFrmCustomConstant>(m_parent.get());
        m_log.clear();
        QObject::connect(
            m_dialog.get(), &TFrmCustomConstant::ConstantStored, m_dialog.get(),
            [this](ConstantTarget stored, double value) {
                m_log << QStringLiteral("stored %1 %2").arg(static_cast<int>(stored)).arg(value);
            });
    }

    // Opens the dialog for the list as the window does, runs whileOpen in it and closes it
    // with the close box should it still be open.
    void Execute(const std::function<void()> &whileOpen)
    {
        const ModalWatch<TFrmCustomConstant> watch([&](TFrmCustomConstant *dialog) {
            whileOpen();
            if (dialog->isVisible())
                dialog->reject();
        });
        m_dialog->Execute(m_list);
        QVERIFY(watch.Opened());
    }

    QLineEdit *Field() const { return m_dialog->findChild<QLineEdit *>("edConstant"); }
    QPushButton *Button(const char *name) const { return m_dialog->findChild<QPushButton *>(name); }

    std::unique_ptr<ScratchSettings> m_settings;
    std::unique_ptr<QWidget> m_parent;
    TConstantList *m_list = nullptr; // owned by m_parent
    QStringList m_log;
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
        Execute([&] {
            QCOMPARE(Field()->text(), Local(field));
            // Typing replaces what is shown.
            QCOMPARE(Field()->selectedText(), Field()->text());
        });
    }

    void unreadableStoredValueOpensEmpty()
    {
        Open(ConstantTarget::Pinhole);
        tools::WriteSettingString("CustomConstant", "1.5");
        Execute([&] { QCOMPARE(Field()->text(), ""); });
    }

    void keyFilterOnField()
    {
        Open(ConstantTarget::Pinhole);
        Execute([&] {
            QTest::keyClicks(Field(), "1x" + Local(".") + "5-");
            QCOMPARE(Field()->text(), Local("1.5"));
        });
    }

    // OK stores the constant, rebuilds the list on the new entry (or on Lord Rayleigh when the
    // constant was removed), remembers that entry and tells the window.
    void okStores_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown"); // the start of the entry the list shows after
        QTest::newRow("tab 1, new constant") << 0 << "1.5" << 1.5 << "1.5";
        QTest::newRow("tab 1, emptied: removed") << 0 << "" << -1.0 << "1.9";
        QTest::newRow("zone plate, new constant") << 1 << "2.5" << 2.5 << "2.5";
        QTest::newRow("zone plate, emptied: removed") << 1 << "" << -1.0 << "1.9";
    }

    void okStores()
    {
        QFETCH(int, target);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(QString, shown);
        Open(static_cast<ConstantTarget>(target));
        Execute([&] {
            Field()->setText(Local(text));
            QTest::mouseClick(Button("btOk"), Qt::LeftButton);
        });

        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_log, QStringList{QStringLiteral("stored %1 %2").arg(target).arg(value)});
        QVERIFY2(m_list->currentText().startsWith(Local(shown)), qPrintable(m_list->currentText()));
        QCOMPARE(m_list->Remembered(), m_list->currentIndex());
        const char *own = target == 0 ? "CustomConstant" : "CustomConstantZP";
        const char *other = target == 0 ? "CustomConstantZP" : "CustomConstant";
        QCOMPARE(Stored(own), std::optional<double>(value));
        QCOMPARE(Stored(other), std::nullopt);
    }

    // Cancel and the close box put the list back on the entry it remembered, tell nothing and
    // store nothing.
    void cancelPutsListBack_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void cancelPutsListBack()
    {
        QFETCH(bool, closeBox);
        Open(ConstantTarget::ZonePlate);
        Execute([&] {
            Field()->setText(Local("2.5"));
            if (closeBox)
                m_dialog->close();
            else
                QTest::mouseClick(Button("btCancel"), Qt::LeftButton);
        });
        QCOMPARE(m_list->currentIndex(), tools::kRayleighIndex);
        QVERIFY(m_log.isEmpty());
        QVERIFY(!tools::SettingExists("CustomConstantZP"));
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
        Execute([&] {
            Field()->setText(text);
            const MessageCatcher catcher;
            QTest::mouseClick(Button("btOk"), Qt::LeftButton);

            QVERIFY(catcher.Shown());
            QCOMPARE(catcher.Text(), message);
            QVERIFY(m_dialog->isVisible());
            QCOMPARE(Field()->selectedText(), text);
        });
        QVERIFY(m_log.isEmpty());
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
        m_list->SetTarget(ConstantTarget::ZonePlate);
        m_dialog->Execute(m_list);
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
