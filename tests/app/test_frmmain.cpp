// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the user meets it at start-up: tabs, captions, unit lists, starting
// values, key filters, keys, help contexts and where the window is placed.
#include "app/frmmain.h"
#include "components/appstyle.h"
#include "components/enhcombo.h"
#include "components/guarded.h"
#include "components/helpcontext.h"
#include "components/stringaligngrid.h"
#include "components/uitext.h"
#include "tests/app/windowpages.h"
#include "tools/settings.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <initializer_list>
#include <memory>
#include <string>

namespace {

struct Setting
{
    const char *name;
    int value;
};

const QStringList kInputFields = {
    "edPinholeDiameter1", "edImageDistance1", "edWave1",          "edFormatA",
    "edFormatB",          "edImageDistance2", "edObjectdistance", "edImageDistance3",
    "edObjectSize",       "edImageDistance4", "edWave4",          "edFnumber5",
    "edNumZones",
};

const QStringList kResultFields = {
    "edFnumber1",         "edFnumberFactor1", "edOptimalDistance1",
    "edOptimalDiameter1", "edFnumberFactor5", "edAngle",
    "edMagnification",    "edSizeOnFilm",     "edFnumber4",
};

// The text a control shows as its caption, whatever kind of control it is.
QString CaptionOf(const QObject *object)
{
    if (const auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    if (const auto *box = qobject_cast<const QGroupBox *>(object))
        return box->title();
    if (const auto *menu = qobject_cast<const QMenu *>(object))
        return menu->title();
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->text();
    if (const auto *window = qobject_cast<const QWidget *>(object))
        return window->windowTitle();
    return {};
}

// The position a window of size takes when centred on the primary screen.
QPoint CentredPosition(QSize size)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return {area.x() + (area.width() - size.width()) / 2,
            area.y() + (area.height() - size.height()) / 2};
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private:
    // Points the settings store at a new file holding only the given values, and puts the
    // preferences in memory back to their defaults, as at the start of a run.
    void FreshSettings(std::initializer_list<Setting> settings = {})
    {
        m_settingsDir = std::make_unique<QTemporaryDir>();
        qputenv("LUMIDRA_SETTINGS", m_settingsDir->filePath("settings.reg").toLocal8Bit());
        for (const Setting &setting : settings)
            tools::WriteSettingInteger(setting.name, setting.value);
        tools::DecNum = 3;
        tools::MainUnit = 0;
        tools::AngleUnit = 0;
        tools::ExpTimeFormat = 1;
        m_errors.clear();
    }

    // A window started on a settings store of its own.
    std::unique_ptr<TfrmMain> MakeWindow(std::initializer_list<Setting> settings = {})
    {
        FreshSettings(settings);
        return MakeBuiltWindow();
    }

    // Activation, keyboard focus and shortcuts need a window that is shown and active.
    static bool ShowActive(QWidget *window)
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }

    template <typename T> static T *Child(const QWidget *window, const QString &name)
    {
        return window->findChild<T *>(name);
    }

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    QStringList m_errors;

private slots:
    void initTestCase()
    {
        InitDecimalSeparator();
        // Errors are collected instead of waiting in a modal box for a click.
        SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
    }

    void cleanupTestCase() { SetErrorReporter({}); }

    void windowFrame()
    {
        auto w = MakeWindow();
        QVERIFY(ShowActive(w.get()));
        // The sizes of the form, or larger where the running font needs more room, with the
        // margins of the form: the pages 8 pixels from the left and top, 7 from the right,
        // the Exit button right-aligned below them and 8 pixels above the bottom.
        const QSize client = w->centralWidget()->size();
        QVERIFY(client.width() >= 536 && client.height() >= 396);
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        const auto *pages = Child<QTabWidget>(w.get(), "PageControl");
        const QRect area = pages->geometry();
        QCOMPARE(area.topLeft(), QPoint(8, 8));
        QVERIFY(area.width() >= 521 && area.height() >= 349);
        QCOMPARE(client.width() - 1 - area.right(), 7);
        // All five tabs are in view, without scroll arrows.
        QVERIFY(pages->tabBar()->tabRect(pages->count() - 1).right() < pages->width());
        const QRect exit = Child<QPushButton>(w.get(), "btExit")->geometry();
        QVERIFY(exit.width() >= 80 && exit.height() >= 23);
        QCOMPARE(exit.right(), area.right() - 1);
        QCOMPARE(exit.top(), area.bottom() + 1 + 8);
        QCOMPARE(client.height() - 1 - exit.bottom(), 8);
        QVERIFY(m_errors.isEmpty());
    }

    void tabsInPageOrder()
    {
        auto w = MakeWindow();
        const auto *pages = Child<QTabWidget>(w.get(), "PageControl");
        const QStringList sheets = {"TabSheet1", "TabSheet5", "TabSheet2", "TabSheet3",
                                    "TabSheet4"};
        const QStringList captions = {"Pinhole Diameter and Focal Length", "Exposure",
                                      "Angle of View", "Magnification", "Zone Plate"};
        QCOMPARE(pages->count(), sheets.size());
        for (int page = 0; page < pages->count(); ++page) {
            QCOMPARE(pages->widget(page)->objectName(), sheets[page]);
            QCOMPARE(pages->tabText(page), captions[page]);
        }
        QCOMPARE(pages->currentIndex(), 0);
    }

    // Only the page shown at start-up is built with the window. Each other page is built when
    // first selected, with its texts and starting values, into the room the window kept for
    // it: the window keeps its size.
    void pagesBuiltWhenFirstShown()
    {
        FreshSettings();
        TfrmMain w;
        QVERIFY(ShowActive(&w));
        QVERIFY(w.Page(0)->IsBuilt());
        for (int page = 1; page < w.PageCount(); ++page)
            QVERIFY(!w.Page(page)->IsBuilt());
        QVERIFY(Child<QLineEdit>(&w, "edFnumber5") == nullptr);

        const QSize started = w.size();
        auto *pages = Child<QTabWidget>(&w, "PageControl");
        const struct
        {
            int page;
            const char *label;
            const char *text;
        } firstControls[] = {{1, "Label5_01", "f number:"},
                             {2, "Label_10", "Format of light-sensitive material:"},
                             {3, "Label_15", "Subject distance:"},
                             {4, "Label_20", "Number of zones:"}};
        for (const auto &control : firstControls) {
            pages->setCurrentIndex(control.page);
            QVERIFY(w.Page(control.page)->IsBuilt());
            const auto *label = Child<QLabel>(&w, control.label);
            QVERIFY2(label != nullptr && label->isVisible(), control.label);
            QCOMPARE(label->text(), control.text);
            QCOMPARE(w.size(), started);
        }
        const QString wave = u'0' + QChar(DecimalSeparator()) + QStringLiteral("00055");
        QCOMPARE(Child<QLineEdit>(&w, "edWave4")->text(), wave);
        QVERIFY(!Child<QPushButton>(&w, "btCalculate")->isEnabled());
        QVERIFY(m_errors.isEmpty());
    }

    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::newRow("window: one blank before") << "TfrmMain"
                                                  << " Lumidra";
        QTest::newRow("group box: blanks around") << "GroupBox1"
                                                  << " Camera design ";
        QTest::newRow("formula group") << "GroupBox2"
                                       << " Formula ";
        QTest::newRow("diagram group") << "GroupBox3"
                                       << " Diagram ";
        QTest::newRow("exposure group") << "gbFnumber"
                                        << " f number of the pinhole camera ";
        QTest::newRow("reciprocity group") << "gbReciprocityFailure"
                                           << " Reciprocity failure ";
        // Two blanks, an en dash and ">".
        QTest::newRow("zone plate Calculate") << "btCalculate"
                                              << "Calculate  \u2013>";
        QTest::newRow("exposure Calculate") << "btCalculate5"
                                            << "Calculate  \u2013>";
        QTest::newRow("plain button") << "btCreateZP"
                                      << "Create PDF...";
        QTest::newRow("exit button") << "btExit"
                                     << "E&xit";
        QTest::newRow("label") << "Label_07"
                               << "Optimal focal length for given pinhole diameter:";
        QTest::newRow("unit label") << "Label_23"
                                    << "mm";
        QTest::newRow("legend, en dash") << "lb_wavelength"
                                         << "l \u2013 light wavelength";
        QTest::newRow("second legend line") << "Label_14b"
                                            << "focal length";
        QTest::newRow("exposure label") << "Label5_02"
                                        << "Exposure factor for f 22:";
        QTest::newRow("note, no-break space")
            << "Label5_03"
            << "Note: for more information about reciprocity failure, see\u00a0Help.";
        QTest::newRow("check box") << "chbReciprocity"
                                   << "include rec. failure for film:";
        QTest::newRow("fixed x") << "lbFormatX"
                                 << "x";
        QTest::newRow("fixed X") << "lbMagnificationX"
                                 << "X";
        QTest::newRow("menu File") << "file1"
                                   << "&File";
        QTest::newRow("menu Exit") << "exit1"
                                   << "E&xit";
        QTest::newRow("menu Tools") << "tools1"
                                    << "&Tools";
        QTest::newRow("menu Films") << "films1"
                                    << "&Films...";
        QTest::newRow("menu Options") << "preferences1"
                                      << "&Options...";
        QTest::newRow("menu About") << "about1"
                                    << "&About Lumidra...";
    }

    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        auto w = MakeWindow();
        const QObject *object = control == "TfrmMain" ? w.get() : w->findChild<QObject *>(control);
        QVERIFY2(object != nullptr, qPrintable(control));
        QCOMPARE(CaptionOf(object), caption);
    }

    // Every label but the pictures, every group box and every menu gets a caption.
    void noCaptionLeftEmpty()
    {
        auto w = MakeWindow();
        for (const QLabel *label : w->findChildren<QLabel *>()) {
            if (!label->objectName().startsWith("img"))
                QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
        }
        for (const QGroupBox *box : w->findChildren<QGroupBox *>())
            QVERIFY2(!box->title().trimmed().isEmpty(), qPrintable(box->objectName()));
        for (const QAction *action : w->findChildren<QAction *>()) {
            if (!action->isSeparator())
                QVERIFY2(!action->text().isEmpty(), qPrintable(action->objectName()));
        }
    }

    void menu()
    {
        auto w = MakeWindow();
        const auto names = [](const QMenu *menu) {
            QStringList result;
            for (const QAction *action : menu->actions())
                result << (action->isSeparator() ? QString("-") : action->objectName());
            return result;
        };
        QCOMPARE(names(Child<QMenu>(w.get(), "file1")), QStringList({"exit1"}));
        QCOMPARE(names(Child<QMenu>(w.get(), "tools1")),
                 QStringList({"convert1", "films1", "-", "preferences1"}));
        QCOMPARE(names(Child<QMenu>(w.get(), "help1")), QStringList({"content1", "-", "about1"}));
        QCOMPARE(w->findChild<QAction *>("exit1")->shortcut(), QKeySequence("Ctrl+Q"));
    }

    void unitLists_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("inchIndex");
        const QStringList mmIn = {"mm", "in"};
        for (const char *list : {"cbUnits1", "cbUnits2", "cbUnits3", "cbUnits4", "cbUnits5",
                                 "cbUnits6", "cbUnits7", "cbUnits8"})
            QTest::newRow(list) << list << mmIn << 1;
        QTest::newRow("cbUnitsB1") << "cbUnitsB1" << QStringList{"mm", "cm", "in"} << 2;
        QTest::newRow("cbUnitsC1") << "cbUnitsC1" << QStringList{"mm", "cm", "m", "in"} << 3;
        QTest::newRow("cbUnitsC2") << "cbUnitsC2" << QStringList{"mm", "cm", "m", "in"} << 3;
    }

    void unitLists()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, items);
        QFETCH(int, inchIndex);
        for (const int mainUnit : {0, 1}) {
            auto w = MakeWindow({{"MainUnit", mainUnit}});
            const auto *combo = Child<QComboBox>(w.get(), list);
            QVERIFY(combo != nullptr);
            QVERIFY(!combo->isEditable());
            QStringList shown;
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
            QCOMPARE(shown, items);
            QCOMPARE(combo->currentIndex(), mainUnit == 1 ? inchIndex : 0);
        }
    }

    void startingValues()
    {
        auto w = MakeWindow();
        // "0", the locale's decimal separator, "00055": 550 nm in millimetres.
        const QString wave = "0" + QLocale::system().decimalPoint() + "00055";
        for (const QString &name : kInputFields) {
            const QString expected = name.startsWith("edWave") ? wave : QString();
            QCOMPARE(Child<QLineEdit>(w.get(), name)->text(), expected);
        }
        QVERIFY(Child<QCheckBox>(w.get(), "chbReciprocity")->isChecked());
        for (const char *button :
             {"btCalculate5", "btSaveExposureTimes", "btCalculate", "btCreateZP"})
            QVERIFY2(!Child<QPushButton>(w.get(), button)->isEnabled(), button);
        QVERIFY(m_errors.isEmpty());
    }

    void resultFields()
    {
        auto w = MakeWindow();
        for (const QString &name : kResultFields) {
            const auto *field = Child<QLineEdit>(w.get(), name);
            QVERIFY2(field != nullptr, qPrintable(name));
            QVERIFY2(field->isReadOnly(), qPrintable(name));
            QVERIFY2(field->text().isEmpty(), qPrintable(name));
            QVERIFY2(!(field->focusPolicy() & Qt::TabFocus), qPrintable(name));
            QCOMPARE(field->palette().color(QPalette::Base),
                     field->palette().color(QPalette::Button));
        }
        // Every other field takes input.
        QStringList editable;
        for (const QLineEdit *field : w->findChildren<QLineEdit *>()) {
            if (!field->isReadOnly() && qobject_cast<QComboBox *>(field->parent()) == nullptr)
                editable << field->objectName();
        }
        editable.sort();
        QStringList expected = kInputFields;
        expected.sort();
        QCOMPARE(editable, expected);
    }

    // The numeric key filter sits on every input field: a letter is swallowed, a digit passes.
    void keyFilters()
    {
        auto w = MakeWindow();
        for (const QString &name : kInputFields) {
            auto *field = Child<QLineEdit>(w.get(), name);
            field->clear();
            QTest::keyClicks(field, "a1");
            QCOMPARE(field->text(), QString("1"));
        }
    }

    void controlsOfTheTabs()
    {
        auto w = MakeWindow();
        for (const char *name : {"sgridExposureTimes", "sgridZoneplate"})
            QCOMPARE(Child<TStringAlignGrid>(w.get(), name)->ColCount(), 2);
        const auto *films = Child<TEnhCombo>(w.get(), "cbFilmName");
        QCOMPARE(films->maxVisibleItems(), 9);
        QCOMPARE(films->DropDownFixedWidth(), 0);
        const auto *paintBox = Child<QWidget>(w.get(), "PaintBox");
        QCOMPARE(paintBox->parentWidget()->objectName(), QString("GroupBox3"));
        // The drawing keeps its size; below a title taller than the form's it moves down.
        QCOMPARE(paintBox->size(), QSize(230, 264));
        QCOMPARE(paintBox->x(), 33);
        QVERIFY(paintBox->y() >= 15);
        const auto *eye = Child<QLabel>(w.get(), "imgEye");
        QVERIFY(eye->isHidden());
        // Just left of the apex, at the middle of the drawing's left edge.
        QCOMPARE(eye->geometry(), QRect(8, paintBox->y() + 121, 25, 25));
        const auto *legend = Child<QLabel>(w.get(), "imgLegend");
        QCOMPARE(legend->size(), QSize(27, 24));
        QCOMPARE(legend->x(), 24);
        QCOMPARE(Child<QLabel>(w.get(), "imgFormula")->size(), QSize(63, 15));
        for (const char *arrow : {"imgArrow1", "imgArrow2"})
            QCOMPARE(Child<QLabel>(w.get(), arrow)->size(), QSize(16, 16));
    }

    // Screen readers name every field: by its label (buddy) or by a name of its own.
    void accessibleNames()
    {
        auto w = MakeWindow();
        QList<QWidget *> fields;
        for (QLineEdit *field : w->findChildren<QLineEdit *>()) {
            if (qobject_cast<QComboBox *>(field->parent()) == nullptr)
                fields << field;
        }
        for (QComboBox *list : w->findChildren<QComboBox *>())
            fields << list;
        for (QWidget *field : fields) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(field);
            QVERIFY(iface != nullptr);
            QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(field->objectName()));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(Child<QWidget>(w.get(), "edWave1"))
                     ->text(QAccessible::Name),
                 QString("Light wavelength:"));
        QVERIFY(Child<QWidget>(w.get(), "edFormatA")->accessibleName() !=
                Child<QWidget>(w.get(), "edFormatB")->accessibleName());
    }

    void helpContexts_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("context");
        QTest::newRow("diameter") << 0 << "edWave1" << 3000;
        QTest::newRow("exposure") << 1 << "sgridExposureTimes" << 3100;
        QTest::newRow("angle") << 2 << "PaintBox" << 3200;
        QTest::newRow("magnification") << 3 << "edObjectdistance" << 3300;
        QTest::newRow("zone plate") << 4 << "cbConstant4" << 3400;
    }

    void helpContexts()
    {
        QFETCH(int, page);
        QFETCH(QString, control);
        QFETCH(int, context);
        auto w = MakeWindow();
        auto *pages = Child<QTabWidget>(w.get(), "PageControl");
        pages->setCurrentIndex(page);
        QCOMPARE(HelpContext(pages), context);
        // F1 in a control without a context of its own asks its nearest enclosing control.
        QCOMPARE(HelpContextFor(Child<QWidget>(w.get(), control)), context);
        // Outside the tabs there is none.
        QCOMPARE(HelpContextFor(Child<QWidget>(w.get(), "btExit")), 0);
    }

    void enterKey_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("exposureClicks");
        QTest::addColumn<int>("zonePlateClicks");
        QTest::newRow("exposure, Calculate disabled")
            << 1 << "edFnumber5" << false << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("exposure, in a field")
            << 1 << "edFnumber5" << true << int(Qt::Key_Return) << 1 << 0;
        QTest::newRow("exposure, keypad Enter")
            << 1 << "edFnumber5" << true << int(Qt::Key_Enter) << 1 << 0;
        QTest::newRow("exposure, in the check box")
            << 1 << "chbReciprocity" << true << int(Qt::Key_Return) << 1 << 0;
        QTest::newRow("exposure, on another button")
            << 1 << "btSaveExposureTimes" << true << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("exposure, Escape")
            << 1 << "edFnumber5" << true << int(Qt::Key_Escape) << 0 << 0;
        QTest::newRow("zone plate, in a field")
            << 4 << "edNumZones" << true << int(Qt::Key_Return) << 0 << 1;
        QTest::newRow("zone plate, Calculate disabled")
            << 4 << "edWave4" << false << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("magnification: no default button")
            << 3 << "edObjectSize" << true << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("diameter: no default button")
            << 0 << "edWave1" << true << int(Qt::Key_Return) << 0 << 0;
    }

    void enterKey()
    {
        QFETCH(int, page);
        QFETCH(QString, focus);
        QFETCH(bool, enabled);
        QFETCH(int, key);
        QFETCH(int, exposureClicks);
        QFETCH(int, zonePlateClicks);
        auto w = MakeWindow();
        QVERIFY(ShowActive(w.get()));
        Child<QTabWidget>(w.get(), "PageControl")->setCurrentIndex(page);
        // A plate that Calculate can compute without a message.
        Child<QLineEdit>(w.get(), "edNumZones")->setText(QStringLiteral("3"));
        Child<QLineEdit>(w.get(), "edImageDistance4")->setText(QStringLiteral("100"));
        QList<QPushButton *> buttons;
        for (const char *name :
             {"btCalculate5", "btCalculate", "btSaveExposureTimes", "btCreateZP"}) {
            buttons << Child<QPushButton>(w.get(), name);
            buttons.last()->setEnabled(enabled);
        }
        auto *target = Child<QWidget>(w.get(), focus);
        target->setFocus();
        QVERIFY(target->hasFocus());
        QSignalSpy exposure(buttons[0], &QPushButton::clicked);
        QSignalSpy zonePlate(buttons[1], &QPushButton::clicked);
        // A focused button presses itself; a dialog it opens is closed again unanswered.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        closer.start(10);
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(exposure.count(), exposureClicks);
        QCOMPARE(zonePlate.count(), zonePlateClicks);
        QVERIFY(w->isVisible()); // Escape does not close the window
    }

    void ctrlQCloses()
    {
        auto w = MakeWindow();
        QVERIFY(ShowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
    }

    void firstStartIsCentred()
    {
        auto w = MakeWindow();
        QVERIFY(ShowActive(w.get()));
        QCOMPARE(w->pos(), CentredPosition(w->size()));
        w->close();
        // Closed where it opened: nothing to remember, the next start is centred again.
        QVERIFY(!tools::SettingExists("Top"));
        QVERIFY(!tools::SettingExists("Left"));
    }

    // A stored position holds where the title bar can be reached on the screen; one that
    // would leave it off the screen (a monitor unplugged, a smaller screen) centres the window.
    void storedPosition_data()
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("applied");
        QTest::newRow("on the screen") << QPoint(45, 123) << true;
        QTest::newRow("reaching beyond the right edge, 60 pixels of title bar on it")
            << QPoint(screen.right() + 1 - 60, 100) << true;
        QTest::newRow("only 10 pixels of title bar on the screen")
            << QPoint(screen.right() + 1 - 10, 100) << false;
        QTest::newRow("a little above the top, the title bar mostly on it")
            << QPoint(100, screen.top() - 2) << true;
        QTest::newRow("title bar above the top") << QPoint(100, screen.top() - 200) << false;
        QTest::newRow("below the bottom") << QPoint(100, screen.bottom() + 50) << false;
        QTest::newRow("left of the screen") << QPoint(-5000, 100) << false;
        QTest::newRow("outside every screen") << QPoint(9000, -5000) << false;
    }

    void storedPosition()
    {
        QFETCH(QPoint, position);
        QFETCH(bool, applied);
        auto w = MakeWindow({{"Top", position.y()}, {"Left", position.x()}});
        QCOMPARE(w->pos(), applied ? position : CentredPosition(w->size()));
    }

    void oneStoredValueOnlyCentres()
    {
        auto w = MakeWindow({{"Top", 45}});
        QVERIFY(ShowActive(w.get()));
        QCOMPARE(w->pos(), CentredPosition(w->size()));
    }

    void unreadablePositionIsIgnored()
    {
        FreshSettings({{"Left", 45}});
        tools::WriteSettingString("Top", "not a number");
        TfrmMain w;
        QVERIFY(ShowActive(&w));
        QCOMPARE(w.pos(), CentredPosition(w.size()));
        QVERIFY(m_errors.isEmpty());
    }

    void moveThenCloseStoresPosition()
    {
        auto w = MakeWindow();
        QVERIFY(ShowActive(w.get()));
        w->move(100, 50);
        w->close();
        QCOMPARE(tools::ReadSettingInteger("Top"), 50);
        QCOMPARE(tools::ReadSettingInteger("Left"), 100);
    }

    // A move followed by a switch to another window and back is forgotten at the return.
    void reactivationForgetsMove()
    {
        auto w = MakeWindow({{"Top", 20}, {"Left", 30}});
        QVERIFY(ShowActive(w.get()));
        w->move(100, 50);
        QWidget other;
        QVERIFY(ShowActive(&other));
        QVERIFY(ShowActive(w.get()));
        w->close();
        QCOMPARE(tools::ReadSettingInteger("Top"), 20);
        QCOMPARE(tools::ReadSettingInteger("Left"), 30);
    }

    // A preference that cannot be read counts as absent; the start-up runs to its end.
    void unreadablePreferenceKeepsDefault()
    {
        FreshSettings();
        tools::WriteSettingString("MainUnit", "inches");
        TfrmMain w;
        BuildAllPages(w);
        QCOMPARE(w.findChild<QComboBox *>("cbUnitsC1")->currentIndex(), 0);
        QVERIFY(!w.findChild<QLineEdit *>("edWave4")->text().isEmpty());
        QVERIFY(m_errors.isEmpty());
    }

    // The program's style (components/appstyle.h) draws every tab of the window exactly as
    // the style it stands in for.
    void appStyle_drawsEveryTabAsFusion()
    {
        const auto drawn = [this] {
            FreshSettings();
            TfrmMain w;
            auto *pages = Child<QTabWidget>(&w, "PageControl");
            QList<QImage> tabs;
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                tabs << w.grab().toImage();
            }
            return tabs;
        };
        QApplication::setStyle(QStringLiteral("fusion"));
        const QList<QImage> fusion = drawn();
        QApplication::setStyle(new TAppStyle(QStringLiteral("fusion")));
        const QList<QImage> ours = drawn();
        QApplication::setStyle(QStringLiteral("fusion"));
        QCOMPARE(ours.size(), 5);
        for (int i = 0; i < ours.size(); ++i)
            QVERIFY2(ours[i] == fusion[i], qPrintable(QStringLiteral("tab %1").arg(i)));
        QVERIFY(m_errors.isEmpty());
    }

    void guardedStopsExceptions()
    {
        m_errors.clear();
        QVERIFY(Guarded(nullptr, [] {}));
        QVERIFY(
            !Guarded(nullptr, [] { throw tools::SettingsError("Failed to set data for 'x'"); }));
        QCOMPARE(m_errors, QStringList({"Failed to set data for 'x'"}));
    }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
