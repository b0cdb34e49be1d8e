// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools and Help menus of the main window: the options dialog and what its OK does to the
// window, the one unit conversion tool, the about box, and the help: its document, Contents,
// and F1 on every tab and in the dialogs.
#include "app/pages/calculatorpage.h"
#include "components/helpviewer.h"
#include "components/stringaligngrid.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmconvert.h"
#include "dialogs/frmfilmedit.h"
#include "dialogs/frmfilms.h"
#include "dialogs/frmpreferences.h"
#include "tests/app/opticswindow.h"
#include "tools/settings.h"
#include "tools/stringtable.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <functional>
#include <set>

namespace {

const char *const kUnitLists[] = {"cbUnits1",  "cbUnits2",  "cbUnits3", "cbUnits4",
                                  "cbUnits5",  "cbUnits6",  "cbUnits7", "cbUnits8",
                                  "cbUnitsB1", "cbUnitsC1", "cbUnitsC2"};

// The anchors and the links within the help document.
struct HelpLinks
{
    std::set<QString> anchors;
    std::set<QString> internalLinks; // the targets of the links "#name"
};

HelpLinks ReadHelpLinks(const QString &file)
{
    QFile html(file);
    if (!html.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(html.readAll()));
    HelpLinks links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                links.anchors.insert(name);
            if (format.anchorHref().startsWith(u'#'))
                links.internalLinks.insert(format.anchorHref().mid(1));
        }
    }
    return links;
}

} // namespace

class TestToolsHelp : public QObject, OpticsWindow
{
    Q_OBJECT

private:
    QAction *Action(const char *name) const { return m_window->findChild<QAction *>(name); }

    // Chooses a menu command that opens a modal dialog of type T and works the dialog with
    // action, which must close it.
    template <typename T> void WithDialog(const char *command, std::function<void(T *)> action)
    {
        const ModalWatch<T> watch([&action](T *dialog) { action(dialog); });
        Action(command)->trigger();
        QVERIFY(watch.Opened());
    }

    // The topic the help window shows; empty when it has not been opened.
    static QString HelpTopic()
    {
        THelpViewer *viewer = THelpViewer::Instance();
        return viewer != nullptr && viewer->isVisible() ? viewer->Source().fragment() : QString();
    }
    static void CloseHelp()
    {
        if (THelpViewer *viewer = THelpViewer::Instance())
            viewer->close();
    }

    void PressF1(QWidget *control)
    {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
    }

private slots:
    void initTestCase() { SetUpProgram(); }
    void cleanupTestCase() { TearDownProgram(); }
    void init()
    {
        SetUp();
        SetHelpFile({});
    }
    void cleanup()
    {
        CloseHelp();
        const QString errors = TearDown();
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
    }

    // The build puts the document beside the program, where it is found, with a topic for
    // every help context and a target for every link within it.
    void helpDocumentHasEveryTopic()
    {
        QVERIFY2(QFileInfo(HelpFile()).isFile(), qPrintable(HelpFile()));
        const HelpLinks links = ReadHelpLinks(HelpFile());
        for (const char *topic :
             {"contents", "1000", "2100", "2200", "2700", "3000", "3100", "3200", "3300", "3400"})
            QVERIFY2(links.anchors.count(QString::fromLatin1(topic)) == 1, topic);
        QVERIFY(!links.internalLinks.empty());
        for (const QString &target : links.internalLinks)
            QVERIFY2(links.anchors.count(target) == 1, qPrintable(target));
    }

    // F1 opens the topic of the focused control's tab; the Exit button has no help context,
    // and neither has the window, so F1 there opens the contents.
    void helpKeyOnEachTab_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("topic");
        QTest::newRow("diameter") << "TabSheet1"
                                  << "edImageDistance1"
                                  << "3000";
        QTest::newRow("diameter, constant list") << "TabSheet1"
                                                 << "cbConstant1"
                                                 << "3000";
        QTest::newRow("exposure") << "TabSheet5"
                                  << "edFnumber5"
                                  << "3100";
        QTest::newRow("angle") << "TabSheet2"
                               << "edFormatA"
                               << "3200";
        QTest::newRow("magnification") << "TabSheet3"
                                       << "edObjectdistance"
                                       << "3300";
        QTest::newRow("zone plate") << "TabSheet4"
                                    << "edNumZones"
                                    << "3400";
        // The tabs themselves take the context of the page shown.
        QTest::newRow("tab bar on magnification") << "TabSheet3"
                                                  << "tab bar"
                                                  << "3300";
        QTest::newRow("Exit button") << "TabSheet1"
                                     << "btExit"
                                     << "contents";
    }
    void helpKeyOnEachTab()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(QString, topic);
        auto *pages = Get<QTabWidget>("PageControl");
        pages->setCurrentWidget(Get<QWidget>(qPrintable(page)));
        PressF1(control == "tab bar" ? pages->findChild<QTabBar *>()
                                     : Get<QWidget>(qPrintable(control)));
        QCOMPARE(HelpTopic(), topic);
    }

    void contentsMenu()
    {
        Action("content1")->trigger();
        QCOMPARE(HelpTopic(), QStringLiteral("contents"));
    }

    // Without its document the help says where it looked, and no help window opens.
    void missingHelpFile_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F1") << true;
        QTest::newRow("Help > Contents...") << false;
    }
    void missingHelpFile()
    {
        QFETCH(bool, byKey);
        const QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("lumi.html"));
        SetHelpFile(missing);
        if (byKey)
            PressF1(Get<QWidget>("edWave1"));
        else
            Action("content1")->trigger();
        SetHelpFile({});
        QCOMPARE(m_errors, QStringList{FromStd(
                               tools::FormatStr(2500, ToStd(QDir::toNativeSeparators(missing))))});
        m_errors.clear();
        QCOMPARE(HelpTopic(), QString());
    }

    // F1 in the modal options dialog opens its topic, in a help window that can be used while
    // the dialog is open.
    void helpKeyInOptionsDialog()
    {
        QString topic;
        QString afterContents;
        WithDialog<TFrmPreferences>("preferences1", [&](TFrmPreferences *dialog) {
            // F1 belongs to the active window.
            if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
                qWarning("the options dialog did not become active");
            PressF1(dialog->findChild<QWidget *>("edDigit"));
            topic = HelpTopic();
            if (THelpViewer *viewer = THelpViewer::Instance()) {
                // Through the window system, where input to windows that a modal dialog
                // blocks is dropped.
                auto *contents = viewer->findChild<QPushButton *>("btContents");
                QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {},
                                  contents->mapTo(viewer, contents->rect().center()));
                afterContents = HelpTopic();
            }
            dialog->findChild<QPushButton *>("btCancel")->click();
        });
        QCOMPARE(topic, QStringLiteral("2100"));
        QCOMPARE(afterContents, QStringLiteral("contents"));
        // The help outlives the dialog it was opened from.
        QCOMPARE(HelpTopic(), QStringLiteral("contents"));
    }

    // F1 in the films dialog, and in the dialog of one film that it opens, opens their topic.
    void helpKeyInFilmsDialogs()
    {
        QStringList topics;
        WithDialog<TFrmFilms>("films1", [&](TFrmFilms *films) {
            if (!QTest::qWaitFor([films] { return QApplication::activeWindow() == films; }))
                qWarning("the films dialog did not become active");
            PressF1(films->findChild<QWidget *>("lbFilms"));
            topics << HelpTopic();
            CloseHelp();
            const ModalWatch<TFrmFilmEdit> edit([&](TFrmFilmEdit *dialog) {
                if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
                    qWarning("the film's dialog did not become active");
                PressF1(dialog->findChild<QWidget *>("edMetered1"));
                topics << HelpTopic();
                dialog->reject();
            });
            films->findChild<QPushButton *>("btAdd")->click();
            films->reject();
        });
        QCOMPARE(topics, QStringList({"2700", "2700"}));
    }

    // OK in the options dialog moves every unit list to the new main unit, also one the user
    // had set to another unit, and the results follow the new unit and decimal places.
    void optionsMoveUnitListsAndResults_data()
    {
        QTest::addColumn<int>("storedUnit");
        QTest::addColumn<QString>("choice"); // radio button, or a number of places
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("apart"); // the list the user had set apart
        QTest::addColumn<QString>("diameter");
        // The focal length field keeps its 50, now read as 50 in = 1270 mm:
        // 1.9 * sqrt(1270 mm * 0.00055 mm) = 1.58795 mm = 0.062518 in.
        QTest::newRow("to inches") << 0 << "rbIn"
                                   << "in"
                                   << "in"
                                   << "0.063";
        // 1.9 * sqrt(50 mm * 0.00055 mm) = 0.315079 mm.
        QTest::newRow("to millimetres") << 1 << "rbMm"
                                        << "mm"
                                        << "mm"
                                        << "0.315";
        // The unit did not change: the lists stay as they are.
        QTest::newRow("five places") << 0 << "5"
                                     << "mm"
                                     << "in"
                                     << "0.31508";
    }
    void optionsMoveUnitListsAndResults()
    {
        QFETCH(int, storedUnit);
        QFETCH(QString, choice);
        QFETCH(QString, unit);
        QFETCH(QString, apart);
        QFETCH(QString, diameter);
        tools::WriteSettingInteger("MainUnit", storedUnit);
        Restart();
        Type("edImageDistance1", QStringLiteral("50"));
        // A list the user set apart from the others.
        SetUnit("cbUnits6", storedUnit == 1 ? QStringLiteral("mm") : QStringLiteral("in"));

        WithDialog<TFrmPreferences>("preferences1", [&choice](TFrmPreferences *dialog) {
            if (choice.startsWith(QLatin1String("rb")))
                dialog->findChild<QRadioButton *>(choice)->click();
            else
                dialog->findChild<QLineEdit *>("edDigit")->setText(choice);
            dialog->findChild<QPushButton *>("btOk")->click();
        });

        for (const char *list : kUnitLists) {
            const QString expected = qstrcmp(list, "cbUnits6") == 0 ? apart : unit;
            QVERIFY2(Get<QComboBox>(list)->currentText() == expected, list);
        }
        QCOMPARE(Text("edOptimalDiameter1"), Local(diameter));
    }

    // Pages not built yet when the options change show the new main unit and places once they
    // are built: their lists on inches, their results in five places.
    void optionsReachPagesBuiltLater()
    {
        Restart(false);
        WithDialog<TFrmPreferences>("preferences1", [](TFrmPreferences *dialog) {
            dialog->findChild<QRadioButton *>("rbIn")->click();
            dialog->findChild<QLineEdit *>("edDigit")->setText(QStringLiteral("5"));
            dialog->findChild<QPushButton *>("btOk")->click();
        });
        QVERIFY(!m_window->Page(3)->IsBuilt());
        Get<QTabWidget>("PageControl")->setCurrentWidget(Get<QWidget>("TabSheet3"));
        for (const char *list : {"cbUnits6", "cbUnits7", "cbUnitsC1", "cbUnitsC2"})
            QVERIFY2(Get<QComboBox>(list)->currentText() == "in", list);
        // 3 in away, 1 in focal length, 1 in tall: magnified 1 / 3, so 0.33333 in on the film.
        Type("edObjectdistance", QStringLiteral("3"));
        Type("edImageDistance3", QStringLiteral("1"));
        Type("edObjectSize", QStringLiteral("1"));
        QCOMPARE(Text("edSizeOnFilm"), Local(QStringLiteral("0.33333")));
    }

    // A zone plate table that shows a result is refilled in the new number of places; one not
    // yet calculated stays empty.
    void optionsRefillZonePlateTable_data()
    {
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<QStringList>("cells");
        // 1.9 * sqrt(i * 100 mm * 0.00055 mm) for i = 1, 2, 3, to 5 places.
        QTest::newRow("calculated") << true << QStringList{"0.44559", "0.63016", "0.77178"};
        QTest::newRow("not calculated") << false << QStringList();
    }
    void optionsRefillZonePlateTable()
    {
        QFETCH(bool, calculated);
        QFETCH(QStringList, cells);
        Get<QTabWidget>("PageControl")->setCurrentWidget(Get<QWidget>("TabSheet4"));
        Type("edNumZones", QStringLiteral("3"));
        Type("edImageDistance4", QStringLiteral("100"));
        if (calculated)
            Get<QPushButton>("btCalculate")->click();

        WithDialog<TFrmPreferences>("preferences1", [](TFrmPreferences *dialog) {
            dialog->findChild<QLineEdit *>("edDigit")->setText(QStringLiteral("5"));
            dialog->findChild<QPushButton *>("btOk")->click();
        });

        auto *grid = Get<TStringAlignGrid>("sgridZoneplate");
        QStringList shown;
        for (int row = 1; row < grid->RowCount() && grid->RowHeight(row) > 0; ++row)
            shown << grid->Cell(1, row);
        QCOMPARE(shown, Local(cells));
    }

    // A calculated exposure table is rewritten in the new rounding; one not yet calculated
    // stays empty.
    void optionsRefillExposureTable_data()
    {
        QTest::addColumn<bool>("calculated");
        QTest::addColumn<QString>("row8"); // written with '.'
        // f 100: 0.125 s * (100 / 22)^2 = 2.58 s, exact to one decimal (rounded off: 3 s).
        QTest::newRow("calculated") << true << "2.6 s";
        QTest::newRow("not calculated") << false << "";
    }
    void optionsRefillExposureTable()
    {
        QFETCH(bool, calculated);
        QFETCH(QString, row8);
        Get<QTabWidget>("PageControl")->setCurrentWidget(Get<QWidget>("TabSheet5"));
        Type("edFnumber5", QStringLiteral("100"));
        Get<QCheckBox>("chbReciprocity")->click(); // no correction: no film needed
        auto *grid = Get<TStringAlignGrid>("sgridExposureTimes");
        if (calculated) {
            Get<QPushButton>("btCalculate5")->click();
            QCOMPARE(grid->Cell(1, 8), QStringLiteral("3 s"));
        }

        WithDialog<TFrmPreferences>("preferences1", [](TFrmPreferences *dialog) {
            dialog->findChild<QCheckBox *>("chbExpTimeFormat")->click();
            dialog->findChild<QPushButton *>("btOk")->click();
        });

        QCOMPARE(grid->RowCount(), calculated ? 19 : 2);
        QCOMPARE(grid->RowCount() > 8 ? grid->Cell(1, 8) : QString(), Local(row8));
    }

    // The about box opens from the menu on the version of the film database in use (the one
    // the build puts beside the program).
    void aboutBox()
    {
        QVERIFY(!m_window->FilmDBVersion().empty());
        QString version;
        WithDialog<TFrmAbout>("about1", [&version](TFrmAbout *box) {
            version = box->findChild<QLabel *>("lbFilmDBVersion")->text();
            box->findChild<QPushButton *>("btCancel")->click();
        });
        QCOMPARE(version, Str(1816) + u' ' + FromStd(m_window->FilmDBVersion()));
    }

    // Tools > Unit Conversion... makes the one tool when it is first asked for, shows it, or
    // brings it to the front; it keeps its values while hidden.
    void oneConversionTool()
    {
        QVERIFY(m_window->ConvertDialog() == nullptr);
        QVERIFY(m_window->findChildren<TFrmConvert *>().isEmpty());

        Action("convert1")->trigger();
        const auto tools = m_window->findChildren<TFrmConvert *>();
        QCOMPARE(tools.size(), 1);
        TFrmConvert *tool = tools[0];
        QCOMPARE(m_window->ConvertDialog(), tool);
        QCOMPARE(tool->windowTitle(), u' ' + Str(2200));
        // The tool's activation arrives after the main window's last one.
        QTRY_COMPARE(QApplication::activeWindow(), tool);
        auto *mm = tool->findChild<QLineEdit *>("edMm");
        mm->setFocus();
        QTest::keyClicks(mm, Local(QStringLiteral("25.4")));

        m_window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
        Action("convert1")->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), tool);
        QCOMPARE(m_window->findChildren<TFrmConvert *>().size(), 1);

        tool->close();
        QVERIFY(!tool->isVisible());
        Action("convert1")->trigger();
        QVERIFY(tool->isVisible());
        QCOMPARE(tool->findChild<QLineEdit *>("edIn")->text(), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestToolsHelp)
#include "test_toolshelp.moc"
