// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog on its own, against a stand-in for the main window: what it shows, what
// OK writes and has the window recalculate, the check of the decimal places, and Cancel.
#include "components/guarded.h"
#include "components/helpviewer.h"
#include "components/uitext.h"
#include "components/updown.h"
#include "dialogs/frmpreferences.h"
#include "tests/support/qtesthelpers.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <map>
#include <memory>
#include <string>

namespace {

// Keeps a log of what the dialog tells the window, one entry a signal: the preferences that
// changed, by name, or the request to redraw the angle diagram.
class Recorder
{
public:
    void Watch(TFrmPreferences *dialog)
    {
        QObject::connect(dialog, &TFrmPreferences::PreferencesChanged, dialog,
                         [this](TFrmPreferences::Changes changes) {
                             QStringList names;
                             using C = TFrmPreferences::Change;
                             const std::pair<C, const char *> kinds[] = {
                                 {C::MainUnit, "units"},
                                 {C::AngleUnit, "angle"},
                                 {C::Rounding, "rounding"},
                                 {C::Lengths, "lengths"},
                             };
                             for (const auto &[kind, name] : kinds)
                                 if (changes.testFlag(kind))
                                     names << QLatin1String(name);
                             log << names.join(u' ');
                         });
        QObject::connect(dialog, &TFrmPreferences::CalcAngleOfViewRequested, dialog,
                         [this] { log << QStringLiteral("redraw angle"); });
    }

    QStringList log;
};

// The stored preferences, by name; a preference never written is absent.
std::map<std::string, int> StoredPreferences()
{
    std::map<std::string, int> stored;
    for (const char *name : {"MainUnit", "AngleUnit", "DecNum", "ExpTimeFormat"}) {
        if (tools::SettingExists(name))
            stored[name] = tools::ReadSettingInteger(name);
    }
    return stored;
}

bool SettingsFileExists()
{
    return QFileInfo::exists(QString::fromLocal8Bit(qgetenv("LUMIDRA_SETTINGS")));
}

// What a test does to the dialog's controls before OK.
enum Change : unsigned
{
    None = 0,
    ToInches = 1,
    ToDecimalDegrees = 2,
    FiveDigits = 4,
    NoRounding = 8,
};

} // namespace

class TestFrmPreferences : public QObject
{
    Q_OBJECT

private:
    template <typename T> T *Get(const char *name) const
    {
        T *child = m_dialog->findChild<T *>(name);
        if (child == nullptr)
            qFatal("no control %s", name);
        return child;
    }
    QLineEdit *Digits() const { return Get<QLineEdit>("edDigit"); }

    // A dialog opened on the preferences as they are in memory, shown and active.
    void Open()
    {
        m_dialog = std::make_unique<TFrmPreferences>();
        m_host.Watch(m_dialog.get());
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    void Apply(unsigned changes)
    {
        if (changes & ToInches)
            Get<QRadioButton>("rbIn")->click();
        if (changes & ToDecimalDegrees)
            Get<QRadioButton>("rbDecimal")->click();
        if (changes & FiveDigits)
            Digits()->setText(QStringLiteral("5"));
        if (changes & NoRounding)
            Get<QCheckBox>("chbExpTimeFormat")->click();
    }

    // Types text into the emptied field as the user would, key by key.
    void Type(const QString &text)
    {
        Digits()->setFocus();
        Digits()->clear();
        QTest::keyClicks(Digits(), text);
    }

    std::unique_ptr<ScratchSettings> m_settings;
    Recorder m_host;
    std::unique_ptr<TFrmPreferences> m_dialog;
    QStringList m_errors;

private slots:
    void initTestCase()
    {
        InitDecimalSeparator();
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
    }
    void cleanupTestCase() { SetErrorReporter({}); }

    void init()
    {
        m_settings = std::make_unique<ScratchSettings>();
        m_host = Recorder();
        m_errors.clear();
    }
    void cleanup()
    {
        m_dialog.reset();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }

    void opensOnThePreferences_data()
    {
        QTest::addColumn<int>("mainUnit");
        QTest::addColumn<int>("angleUnit");
        QTest::addColumn<int>("decNum");
        QTest::addColumn<int>("expTimeFormat");
        QTest::addColumn<QString>("checked"); // the radio buttons checked, in order
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("rounding");
        QTest::newRow("defaults") << 0 << 0 << 3 << 1 << "rbMm rbSexagesimal"
                                  << "3" << true;
        QTest::newRow("inches, decimal degrees, exact") << 1 << 1 << 0 << 0 << "rbIn rbDecimal"
                                                        << "0" << false;
        // Anything but 1 counts as the first choice of each pair.
        QTest::newRow("odd stored values") << 7 << -1 << 10 << 2 << "rbMm rbSexagesimal"
                                           << "10" << false;
        // More places than the arrows offer show as their end.
        QTest::newRow("places beyond the arrows") << 0 << 0 << 15 << 1 << "rbMm rbSexagesimal"
                                                  << "10" << true;
    }
    void opensOnThePreferences()
    {
        QFETCH(int, mainUnit);
        QFETCH(int, angleUnit);
        QFETCH(int, decNum);
        QFETCH(int, expTimeFormat);
        QFETCH(QString, checked);
        QFETCH(QString, digits);
        QFETCH(bool, rounding);
        tools::MainUnit = mainUnit;
        tools::AngleUnit = angleUnit;
        tools::DecNum = decNum;
        tools::ExpTimeFormat = expTimeFormat;
        Open();

        QStringList checkedButtons;
        for (const char *name : {"rbMm", "rbIn", "rbSexagesimal", "rbDecimal"}) {
            if (Get<QRadioButton>(name)->isChecked())
                checkedButtons << name;
        }
        QCOMPARE(checkedButtons.join(u' '), checked);
        QCOMPARE(Digits()->text(), digits);
        QCOMPARE(Get<QCheckBox>("chbExpTimeFormat")->isChecked(), rounding);
        QCOMPARE(m_dialog->windowTitle(), u' ' + Str(2000));
        QCOMPARE(Get<QCheckBox>("chbExpTimeFormat")->text(), u' ' + Str(2007));
        QVERIFY(m_host.log.isEmpty());
    }

    // OK writes exactly the preferences that changed and tells the window which changed, once;
    // the pages decide what to recalculate.
    void okWritesAndRecalculates_data()
    {
        QTest::addColumn<unsigned>("changes");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("written"); // name=value

        QTest::newRow("nothing changed") << unsigned(None) << QStringList() << QStringList();
        QTest::newRow("angle unit only")
            << unsigned(ToDecimalDegrees) << QStringList{"angle"} << QStringList{"AngleUnit=1"};
        // A new main unit shows every length in it.
        QTest::newRow("length unit")
            << unsigned(ToInches) << QStringList{"units lengths"} << QStringList{"MainUnit=1"};
        QTest::newRow("decimal places")
            << unsigned(FiveDigits) << QStringList{"lengths"} << QStringList{"DecNum=5"};
        QTest::newRow("angle and length units")
            << unsigned(ToInches | ToDecimalDegrees) << QStringList{"units angle lengths"}
            << QStringList{"AngleUnit=1", "MainUnit=1"};
        QTest::newRow("rounding") << unsigned(NoRounding) << QStringList{"rounding"}
                                  << QStringList{"ExpTimeFormat=0"};
        QTest::newRow("everything")
            << unsigned(ToInches | ToDecimalDegrees | FiveDigits | NoRounding)
            << QStringList{"units angle rounding lengths"}
            << QStringList{"AngleUnit=1", "DecNum=5", "ExpTimeFormat=0", "MainUnit=1"};
    }
    void okWritesAndRecalculates()
    {
        QFETCH(unsigned, changes);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, written);
        Open();
        Apply(changes);

        Get<QPushButton>("btOk")->click();

        QCOMPARE(m_host.log, calls);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(!m_dialog->isVisible());
        QStringList stored;
        for (const auto &[name, value] : StoredPreferences())
            stored << QStringLiteral("%1=%2").arg(QString::fromStdString(name)).arg(value);
        QCOMPARE(stored, written);
        // Not even an empty settings file is made when nothing changed.
        QCOMPARE(SettingsFileExists(), !written.isEmpty());
        // The preferences in memory follow what was written.
        QCOMPARE(tools::MainUnit, (changes & ToInches) ? 1 : 0);
        QCOMPARE(tools::AngleUnit, (changes & ToDecimalDegrees) ? 1 : 0);
        QCOMPARE(tools::DecNum, (changes & FiveDigits) ? 5 : 3);
        QCOMPARE(tools::ExpTimeFormat, (changes & NoRounding) ? 0 : 1);
    }

    // A preference that cannot be written is reported; the dialog closes, nothing after the
    // failed write is written, and the window keeps following what is stored.
    void failedWriteIsReported()
    {
        // A settings file inside a regular file cannot be made.
        const QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("file"));
        QFile(blocker).open(QIODevice::WriteOnly);
        qputenv("LUMIDRA_SETTINGS", (blocker + QStringLiteral("/settings.reg")).toLocal8Bit());
        Open();
        Apply(ToInches | FiveDigits);

        Get<QPushButton>("btOk")->click();

        QCOMPARE(m_errors, QStringList{FromStd(tools::FormatStr(2402, "MainUnit"))});
        m_errors.clear();
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(m_host.log.isEmpty());
        QCOMPARE(tools::MainUnit, 0);
        QCOMPARE(tools::DecNum, 3);
    }

    // Changing a control and changing it back is no change.
    void okAfterChangingBackWritesNothing()
    {
        Open();
        Apply(ToInches | NoRounding);
        Get<QRadioButton>("rbMm")->click();
        Get<QCheckBox>("chbExpTimeFormat")->click();
        Get<QPushButton>("btOk")->click();
        QVERIFY(m_host.log.isEmpty());
        QVERIFY(!SettingsFileExists());
    }

    // Cancel and Escape redraw the angle diagram the dialog covered; the close box only
    // closes. None of them writes anything.
    void cancelWritesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("Cancel") << "Cancel" << QStringList{"redraw angle"};
        QTest::newRow("Escape") << "Escape" << QStringList{"redraw angle"};
        QTest::newRow("close box") << "close" << QStringList();
    }
    void cancelWritesNothing()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, calls);
        Open();
        Apply(ToInches | ToDecimalDegrees | FiveDigits | NoRounding);

        if (how == "Cancel")
            Get<QPushButton>("btCancel")->click();
        else if (how == "Escape")
            QTest::keyClick(Digits(), Qt::Key_Escape);
        else
            m_dialog->close();

        QCOMPARE(m_host.log, calls);
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!SettingsFileExists());
        QCOMPARE(tools::MainUnit, 0);
        QCOMPARE(tools::DecNum, 3);
    }

    // The number of places is checked while it is typed (an empty field is allowed then) and
    // again on OK, which then keeps the dialog open and writes nothing.
    void decimalPlacesOutOfRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messagesWhileTyping");
        QTest::newRow("11") << "11" << 1;
        QTest::newRow("empty") << "" << 0;
    }
    void decimalPlacesOutOfRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, messagesWhileTyping);
        Open();

        QStringList messages;
        QStringList selected;
        const auto answerAll = [&] {
            for (;;) {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (box == nullptr)
                    return;
                messages << box->text();
                selected << Digits()->selectedText();
                box->accept();
            }
        };
        // Answers each message box as soon as it is up, keeping its text and what the field
        // had selected at that moment.
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, answerAll);
        answerer.start(5);

        Type(typed);
        QCOMPARE(messages.size(), messagesWhileTyping);
        for (int i = 0; i < messages.size(); ++i) {
            QCOMPARE(messages[i], Str(2006));
            QCOMPARE(selected[i], typed); // the whole text, for typing over
        }

        messages.clear();
        Get<QPushButton>("btOk")->setFocus();
        Get<QPushButton>("btOk")->click();
        QCOMPARE(messages, QStringList{Str(2006)});
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->focusWidget(), Digits());
        QVERIFY(m_host.log.isEmpty());
        QVERIFY(!SettingsFileExists());
    }

    // A number too large for a 32-bit whole number cannot be converted: the general error
    // handler reports it, while typing and on OK, and nothing is written.
    void decimalPlacesNotAWholeNumber()
    {
        Open();
        // Put in whole, as a paste would, so that only the conversion reports.
        Digits()->setText(QStringLiteral("99999999999"));
        const QString expected = QStringLiteral("'99999999999' is not a valid integer value");
        QCOMPARE(m_errors, QStringList{expected});
        Get<QPushButton>("btOk")->click();
        QCOMPARE(m_errors, (QStringList{expected, expected}));
        m_errors.clear();
        QVERIFY(m_dialog->isVisible());
        QVERIFY(!SettingsFileExists());
    }

    // The arrows step from the number in the field and stop at both ends of 0 to 10.
    void arrowsStayInRange_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("clicks"); // positive: up, negative: down
        QTest::addColumn<QString>("shown");
        QTest::newRow("up from 3") << "3" << 2 << "5";
        QTest::newRow("up past 10") << "9" << 3 << "10";
        QTest::newRow("down past 0") << "1" << -3 << "0";
        QTest::newRow("up from a typed 11") << "11" << 1 << "10";
        QTest::newRow("down from empty") << "" << -1 << "2"; // from the last position, 3
    }
    void arrowsStayInRange()
    {
        QFETCH(QString, start);
        QFETCH(int, clicks);
        QFETCH(QString, shown);
        Open();
        const MessageCatcher outOfRange; // the typed 11 asks once
        Digits()->setText(start);
        const auto arrows = Get<TUpDown>("UpDown")->findChildren<QToolButton *>();
        QCOMPARE(arrows.size(), 2);
        QToolButton *arrow = clicks > 0 ? arrows[0] : arrows[1];
        QCOMPARE(arrow->arrowType(), clicks > 0 ? Qt::UpArrow : Qt::DownArrow);
        for (int i = 0; i < std::abs(clicks); ++i)
            arrow->click();
        QCOMPARE(Digits()->text(), shown);
    }

    // F1 opens the topic of the options dialog, also on the rounding box, which has no help
    // context of its own and takes the dialog's.
    void helpKey_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("decimal places") << "edDigit";
        QTest::newRow("rounding box") << "chbExpTimeFormat";
        QTest::newRow("OK") << "btOk";
    }
    void helpKey()
    {
        QFETCH(QString, control);
        Open();
        auto *widget = Get<QWidget>(qPrintable(control));
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
        QVERIFY(THelpViewer::Instance() != nullptr);
        QCOMPARE(THelpViewer::Instance()->Source().fragment(), QStringLiteral("2100"));
        THelpViewer::Instance()->close();
    }
};

QTEST_MAIN(TestFrmPreferences)
#include "test_frmpreferences.moc"
