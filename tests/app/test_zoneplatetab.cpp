// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate tab of the main window: the worked plates in the table, the zone count
// checks of both buttons, the buttons following the inputs, the conveniences of the table and
// the PDF dialog opened from the tab.
#include "app/frmmain.h"
#include "components/guarded.h"
#include "components/stringaligngrid.h"
#include "components/uitext.h"
#include "dialogs/frmcreatezp.h"
#include "dialogs/frmcustomconstant.h"
#include "dialogs/frmpreferences.h"
#include "tests/app/windowpages.h"
#include "tests/support/modaldriver.h"
#include "tools/numtext.h"
#include "tools/settings.h"
#include "tools/zoneplate.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace {

struct Setting
{
    const char *name;
    int value;
};

// Texts written with a decimal point, as the locale shows them.
QString Localised(QString text)
{
    return text.replace(QLatin1Char('.'), QChar::fromLatin1(DecimalSeparator()));
}

QStringList Localised(const QStringList &texts)
{
    QStringList out;
    for (const QString &text : texts)
        out << Localised(text);
    return out;
}

} // namespace

class TestZonePlateTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void startsWithoutResult();
    void workedPlates_data();
    void workedPlates();
    void zoneCountChecks_data();
    void zoneCountChecks();
    void buttonsFollowTheInputs_data();
    void buttonsFollowTheInputs();
    void anyChangeEmptiesTheResult_data();
    void anyChangeEmptiesTheResult();
    void copyAndSelectAll();
    void wheelSelectsTheFirstRow();
    void loneSelectedCellColours();
    void createPdfFromTheTab();
    void missingFolderKeepsTheSaveDialogOpen_data();
    void missingFolderKeepsTheSaveDialogOpen();
    void everyChangeKeepsTableAndPdfTrue_data();
    void everyChangeKeepsTableAndPdfTrue();

private:
    // A window started on a settings store of its own, holding only the given values, with
    // the zone plate tab showing.
    TfrmMain *Start(std::initializer_list<Setting> settings = {}, double userConstantZP = -1);
    // Types the plate into the tab and picks the constant whose entry starts with constant.
    void EnterPlate(const QString &zones, const QString &focal, const QString &unit = "mm",
                    const QString &constant = "2 ");
    template <typename T> T *Child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    TStringAlignGrid *Grid() const { return Child<TStringAlignGrid>("sgridZoneplate"); }
    QLineEdit *Field(const char *name) const { return Child<QLineEdit>(name); }
    QPushButton *Button(const char *name) const { return Child<QPushButton>(name); }
    QStringList DiameterCells() const;
    // Picks entry of a list as the user does, running its change handler.
    void Pick(const char *list, int entry);
    // Writes the tab's plate through the PDF dialog and returns the file's bytes.
    QByteArray PdfOfTheTab();
    void ExpectNoResult();

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<TfrmMain> m_window;
    QStringList m_errors;
};

void TestZonePlateTab::initTestCase()
{
    InitDecimalSeparator();
    SetErrorReporter([this](QWidget *, const QString &message) { m_errors << message; });
}

void TestZonePlateTab::cleanup()
{
    m_window.reset();
    const QStringList errors = std::exchange(m_errors, {});
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('|')));
    m_settingsDir.reset();
}

TfrmMain *TestZonePlateTab::Start(std::initializer_list<Setting> settings, double userConstantZP)
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    qputenv("LUMIDRA_SETTINGS", QFile::encodeName(m_settingsDir->filePath("settings.reg")));
    for (const Setting &setting : settings)
        tools::WriteSettingInteger(setting.name, setting.value);
    if (userConstantZP > 0)
        tools::WriteSettingFloat("CustomConstantZP", userConstantZP);
    // The preferences in memory as at the start of a run; the window loads the stored ones.
    tools::DecNum = 3;
    tools::MainUnit = 0;
    m_window = MakeBuiltWindow();
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the main window did not become the active window");
    Child<QTabWidget>("PageControl")->setCurrentIndex(4);
    return m_window.get();
}

void TestZonePlateTab::EnterPlate(const QString &zones, const QString &focal, const QString &unit,
                                  const QString &constant)
{
    auto *constants = Child<QComboBox>("cbConstant4");
    const int entry = constants->findText(constant, Qt::MatchStartsWith);
    QVERIFY(entry >= 0);
    constants->setCurrentIndex(entry);
    auto *units = Child<QComboBox>("cbUnits8");
    units->setCurrentIndex(units->findText(unit));
    Field("edNumZones")->setText(zones);
    Field("edImageDistance4")->setText(focal);
}

QStringList TestZonePlateTab::DiameterCells() const
{
    QStringList cells;
    for (int row = 1; row < Grid()->RowCount(); ++row)
        cells << Grid()->Cell(1, row);
    return cells;
}

// The state "no result": header only, data row hidden, grey grid, no f number.
void TestZonePlateTab::ExpectNoResult()
{
    TStringAlignGrid *grid = Grid();
    QCOMPARE(grid->RowCount(), 2);
    QCOMPARE(grid->RowHeight(1), 0);
    QCOMPARE(grid->ColWidth(0), 51);
    QCOMPARE(grid->ColWidth(1), 120);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral("Zone No."));
    QCOMPARE(grid->GridColor(), QApplication::palette().color(QPalette::Button));
    QCOMPARE(grid->SelectionText(), QStringLiteral("Zone No.\tZone diameter (mm)\t\r\n\t\t\r\n"));
    QCOMPARE(Field("edFnumber4")->text(), QString());
}

void TestZonePlateTab::startsWithoutResult()
{
    Start();
    ExpectNoResult();
    QVERIFY(!Button("btCalculate")->isEnabled());
    QVERIFY(!Button("btCreateZP")->isEnabled());
    QCOMPARE(Child<QComboBox>("cbConstant4")->currentText().left(4), Localised("1.9 "));
}

// The worked plates at 550 nm. With c = 2 the diameters are the Fresnel zone boundaries
// 2 * sqrt(i * f * 0.00055); c = 1.9 scales them by 0.95. The f number is f / (d1 * sqrt(n))
// with n = (N + 1) / 2 open zones, e.g. 100 / (0.469 * sqrt(2)) = 150.76 -> 151.
// A focal length of 100 in is 2540 mm: d1 = 2.3639 mm = 0.0931 in, f number 759.8 -> 760.
void TestZonePlateTab::workedPlates_data()
{
    QTest::addColumn<int>("mainUnit");
    QTest::addColumn<int>("decNum");
    QTest::addColumn<QString>("zones");
    QTest::addColumn<QString>("focal");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("constant");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("fNumber");
    QTest::addColumn<int>("width");

    const QStringList n3 = {"0.469", "0.663", "0.812"};
    QTest::newRow("3 zones, 100 mm, c 2") << 0 << 3 << "3"
                                          << "100"
                                          << "mm"
                                          << "2 " << n3 << "0.812"
                                          << "151" << 120;
    QTest::newRow("3 zones, 100 mm, c 1.9")
        << 0 << 3 << "3"
        << "100"
        << "mm" << Localised("1.9 ") << QStringList{"0.446", "0.630", "0.772"} << "0.772"
        << "159" << 120;
    QTest::newRow("single open disc") << 0 << 3 << "1"
                                      << "100"
                                      << "mm"
                                      << "2 " << QStringList{"0.469"} << "0.469"
                                      << "213" << 120;
    QTest::newRow("15 zones keep the wide column")
        << 0 << 3 << "15"
        << "150"
        << "mm"
        << "2 " << QStringList{"0.574", "0.812", "0.995"} << "2.225"
        << "92" << 120;
    QTest::newRow("17 zones narrow the column")
        << 0 << 3 << "17"
        << "150"
        << "mm"
        << "2 " << QStringList{"0.574", "0.812", "0.995"} << "2.369"
        << "87" << 104;
    // The largest count: 2 * sqrt(10001 * 0.055) = 46.9065; 100 / (0.469 * sqrt(5001)) = 3.01.
    QTest::newRow("10001 zones") << 0 << 3 << "10001"
                                 << "100"
                                 << "mm"
                                 << "2 " << n3 << "46.907"
                                 << "3" << 104;
    QTest::newRow("focal length in inches, shown in inches")
        << 1 << 3 << "3"
        << "100"
        << "in"
        << "2 " << QStringList{"0.093", "0.132", "0.161"} << "0.161"
        << "760" << 120;
    QTest::newRow("focal length in inches, shown in mm")
        << 0 << 3 << "3"
        << "100"
        << "in"
        << "2 " << QStringList{"2.364", "3.343", "4.094"} << "4.094"
        << "760" << 120;
    QTest::newRow("0 decimal places") << 0 << 0 << "3"
                                      << "100"
                                      << "mm"
                                      << "2 " << QStringList{"0", "1", "1"} << "1"
                                      << "151" << 120;
    QTest::newRow("5 decimal places keep trailing zeros")
        << 0 << 5 << "3"
        << "100"
        << "mm"
        << "2 " << QStringList{"0.46904", "0.66332", "0.81240"} << "0.81240"
        << "151" << 120;
}

void TestZonePlateTab::workedPlates()
{
    QFETCH(int, mainUnit);
    QFETCH(int, decNum);
    QFETCH(QString, zones);
    QFETCH(QString, focal);
    QFETCH(QString, unit);
    QFETCH(QString, constant);
    QFETCH(QStringList, first);
    QFETCH(QString, last);
    QFETCH(QString, fNumber);
    QFETCH(int, width);
    Start({{"MainUnit", mainUnit}, {"DecNum", decNum}});
    EnterPlate(zones, focal, unit, constant);
    QVERIFY(Button("btCalculate")->isEnabled());
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);

    TStringAlignGrid *grid = Grid();
    const int n = zones.toInt();
    QCOMPARE(grid->RowCount(), n + 1);
    QCOMPARE(DiameterCells().mid(0, first.size()), Localised(first));
    QCOMPARE(grid->Cell(1, n), Localised(last));
    QCOMPARE(Field("edFnumber4")->text(), fNumber);
    QCOMPARE(grid->ColWidth(0), 51);
    QCOMPARE(grid->ColWidth(1), width);
    QCOMPARE(grid->Cell(0, 0), QStringLiteral("Zone No."));
    QCOMPARE(grid->Cell(1, 0), mainUnit == 1 ? QStringLiteral("Zone diameter (in)")
                                             : QStringLiteral("Zone diameter (mm)"));
    QCOMPARE(grid->CellAlignment(0, 0), Qt::AlignHCenter);
    for (int col = 0; col < 2; ++col)
        QCOMPARE(grid->CellAlignment(col, 1), Qt::AlignRight);

    // Every row shown and numbered; even rows striped on this display of many colours.
    QVERIFY(m_window->screen()->depth() > 8);
    const QColor window = QApplication::palette().color(QPalette::Base);
    QCOMPARE(grid->GridColor(), window);
    for (int row = 1; row <= n; ++row) {
        QCOMPARE(grid->RowHeight(row), 16);
        QCOMPARE(grid->Cell(0, row), QString::number(row));
        QCOMPARE(grid->RowColor(row), row % 2 == 0 ? QColor(245, 245, 245) : window);
    }

    QVERIFY(grid->GetSelection().isEmpty());
    QVERIFY(grid->hasFocus());
    QVERIFY(!Button("btCalculate")->isEnabled());
    QVERIFY(Button("btCreateZP")->isEnabled());
}

// Both buttons refuse a count that is not an odd number from 1 to 10001 with a plain message,
// give the focus back to the count and leave the tab as it was.
void TestZonePlateTab::zoneCountChecks_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("zones");
    QTest::addColumn<QString>("message");
    const QString odd = QStringLiteral("You must choose an odd number of zones.");
    for (const char *button : {"btCalculate", "btCreateZP"}) {
        struct Case
        {
            const char *name;
            const char *zones;
            QString message;
        };
        const Case cases[] = {
            {"even", "4", odd},
            {"even near the limit", "10002", odd},
            {"above the limit", "10003",
             QStringLiteral("The number of zones must be an odd number from 1 to 10001.")},
            {"beyond 32 bits", "99999999999",
             QStringLiteral("'99999999999' is not a valid integer value")},
        };
        for (const Case &c : cases)
            QTest::addRow("%s: %s", button, c.name)
                << QString::fromLatin1(button) << QString::fromLatin1(c.zones) << c.message;
    }
}

void TestZonePlateTab::zoneCountChecks()
{
    QFETCH(QString, button);
    QFETCH(QString, zones);
    QFETCH(QString, message);
    Start();
    EnterPlate(zones, "100");
    Grid()->setFocus();
    ModalDriver driver;
    driver.Answer();
    QTest::mouseClick(Button(button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(driver.Messages(), QStringList{message});
    QCOMPARE(driver.Titles(), QStringList{QStringLiteral("Lumidra")});
    QCOMPARE(driver.Icons(), QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    QVERIFY(driver.Unexpected().isEmpty());
    QCOMPARE(m_window->focusWidget(), Field("edNumZones"));
    QVERIFY(Button("btCalculate")->isEnabled());
    ExpectNoResult();
}

// Both buttons are enabled exactly when the count, the focal length (whatever its unit) and
// the wavelength are numbers above 0; an even count still enables them.
void TestZonePlateTab::buttonsFollowTheInputs_data()
{
    QTest::addColumn<QString>("zones");
    QTest::addColumn<QString>("focal");
    QTest::addColumn<QString>("wave");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all positive") << "3"
                                  << "100"
                                  << "0.00055" << true;
    QTest::newRow("even count") << "4"
                                << "100"
                                << "0.00055" << true;
    QTest::newRow("decimal focal length") << "3"
                                          << "0.5"
                                          << "0.00055" << true;
    QTest::newRow("no count") << ""
                              << "100"
                              << "0.00055" << false;
    QTest::newRow("count 0") << "0"
                             << "100"
                             << "0.00055" << false;
    QTest::newRow("no focal length") << "3"
                                     << ""
                                     << "0.00055" << false;
    QTest::newRow("focal length 0") << "3"
                                    << "0.0"
                                    << "0.00055" << false;
    QTest::newRow("no wavelength") << "3"
                                   << "100"
                                   << "" << false;
    QTest::newRow("wavelength only a separator") << "3"
                                                 << "100"
                                                 << "." << false;
}

void TestZonePlateTab::buttonsFollowTheInputs()
{
    QFETCH(QString, zones);
    QFETCH(QString, focal);
    QFETCH(QString, wave);
    QFETCH(bool, enabled);
    Start();
    EnterPlate(zones, Localised(focal));
    Field("edWave4")->setText(Localised(wave));
    QCOMPARE(Button("btCalculate")->isEnabled(), enabled);
    QCOMPARE(Button("btCreateZP")->isEnabled(), enabled);
}

// After a calculation, a change of any input empties the result at once and enables
// Calculate again.
void TestZonePlateTab::anyChangeEmptiesTheResult_data()
{
    QTest::addColumn<QString>("input");
    QTest::newRow("zone count") << "edNumZones";
    QTest::newRow("focal length") << "edImageDistance4";
    QTest::newRow("wavelength") << "edWave4";
    QTest::newRow("unit") << "cbUnits8";
    QTest::newRow("constant") << "cbConstant4";
}

void TestZonePlateTab::anyChangeEmptiesTheResult()
{
    QFETCH(QString, input);
    Start();
    EnterPlate("17", "150");
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);
    QCOMPARE(Grid()->RowCount(), 18);

    QWidget *control = m_window->findChild<QWidget *>(input);
    if (auto *field = qobject_cast<QLineEdit *>(control)) {
        field->setFocus();
        field->end(false);
        QTest::keyClick(field, Qt::Key_1);
    } else {
        // As the user picks an entry from the list.
        auto *list = qobject_cast<QComboBox *>(control);
        list->setCurrentIndex(1 - list->currentIndex());
        emit list->activated(list->currentIndex());
    }
    ExpectNoResult();
    QVERIFY(Button("btCalculate")->isEnabled());
    QVERIFY(Button("btCreateZP")->isEnabled());
}

void TestZonePlateTab::copyAndSelectAll()
{
    Start();
    EnterPlate("3", "100");
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);
    TStringAlignGrid *grid = Grid();
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString body = Localised("1\t0.469\t\r\n2\t0.663\t\r\n3\t0.812\t\r\n");

    // Nothing selected: the whole table with its header.
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("Zone No.\tZone diameter (mm)\t\r\n") + body);

    grid->SetSelection({1, 2, 1, 2});
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(grid->GetSelection(), (TStringAlignGrid::Selection{0, 1, 1, 3}));
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), body);

    // Without Ctrl the keys copy nothing.
    clipboard->setText(QStringLiteral("kept"));
    QTest::keyClick(grid, Qt::Key_C);
    QCOMPARE(clipboard->text(), QStringLiteral("kept"));
}

void TestZonePlateTab::wheelSelectsTheFirstRow()
{
    Start();
    EnterPlate("5", "100");
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);
    TStringAlignGrid *grid = Grid();
    auto turn = [grid] {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
    };
    QVERIFY(grid->GetSelection().isEmpty());
    turn();
    QCOMPARE(grid->GetSelection(), (TStringAlignGrid::Selection{0, 1, 0, 1}));
    grid->SetSelection({1, 3, 1, 4});
    turn();
    QCOMPARE(grid->GetSelection(), (TStringAlignGrid::Selection{1, 3, 1, 4}));
}

// A lone selected cell shows the selection colours only while the table has the focus; a
// larger block keeps them.
void TestZonePlateTab::loneSelectedCellColours()
{
    Start();
    EnterPlate("5", "100");
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);
    TStringAlignGrid *grid = Grid();
    const QPalette palette = QApplication::palette();
    const QColor highlight = palette.color(QPalette::Highlight);
    QCOMPARE(grid->SelectedCellColor(), highlight);

    grid->SetSelection({1, 2, 1, 2});
    Field("edNumZones")->setFocus();
    QCOMPARE(grid->SelectedCellColor(), palette.color(QPalette::Base));
    QCOMPARE(grid->SelectedFontColor(), palette.color(QPalette::Text));
    grid->setFocus();
    QCOMPARE(grid->SelectedCellColor(), highlight);
    QCOMPARE(grid->SelectedFontColor(), QColor(255, 255, 255));

    grid->SetSelection({0, 1, 1, 3});
    Field("edWave4")->setFocus();
    QCOMPARE(grid->SelectedCellColor(), highlight);
}

// The dialog opens over the window with the tab's plate: the written file names the count,
// the focal length as typed and the f number.
void TestZonePlateTab::createPdfFromTheTab()
{
    Start();
    EnterPlate("3", Localised("100.0"));
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("tab"));
    QPointF offCentre(-1, -1);
    ModalDriver driver;
    driver.Expect<TFrmCreateZP>([&](TFrmCreateZP *dialog) {
        offCentre = dialog->frameGeometry().center() - m_window->frameGeometry().center();
        dialog->findChild<QPushButton *>(QStringLiteral("btSave"))->click();
    });
    driver.Choose(path);
    QTest::mouseClick(Button("btCreateZP"), Qt::LeftButton);

    QVERIFY(driver.AllDone());
    QVERIFY(driver.Unexpected().isEmpty());
    QVERIFY(offCentre.manhattanLength() <= 2);
    QVERIFY(m_window->findChildren<TFrmCreateZP *>().isEmpty());
    QFile pdf(path + QStringLiteral(".pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-1.2\r\n"));
    const QByteArray title = "/Title (Zone Plate - Number of zones: 3, f " +
                             Localised("100.0").toLatin1() + " mm, f number 151)";
    QVERIFY2(bytes.contains(title), title.constData());
    // No calculation is needed first, and the tab keeps its state.
    QVERIFY(Button("btCalculate")->isEnabled());
}

// A name in a folder that does not exist keeps the save dialog open with a message; the user
// corrects the name and the plate is saved.
void TestZonePlateTab::missingFolderKeepsTheSaveDialogOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("folder missing") << "missing/plate";
    QTest::newRow("a file in the folder's place") << "blocker/plate";
}

void TestZonePlateTab::missingFolderKeepsTheSaveDialogOpen()
{
    QFETCH(QString, typed);
    Start();
    EnterPlate("3", "100");
    QTemporaryDir files;
    {
        QFile blocker(files.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    ModalDriver driver;
    driver.Expect<TFrmCreateZP>([](TFrmCreateZP *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("btSave"))->click();
    });
    driver.Choose(files.filePath(typed));
    driver.Answer();
    driver.Choose(files.filePath(QStringLiteral("plate")));
    QTest::mouseClick(Button("btCreateZP"), Qt::LeftButton);

    QVERIFY(driver.AllDone());
    QVERIFY(driver.Unexpected().isEmpty());
    const QString folder = QFileInfo(files.filePath(typed)).absolutePath();
    QCOMPARE(driver.Messages(),
             QStringList{"The folder " + QDir::toNativeSeparators(folder) +
                         " does not exist. Check the name, or choose a folder that exists."});
    QVERIFY(QFileInfo(files.filePath(QStringLiteral("plate.pdf"))).isFile());
    QVERIFY(!QFileInfo::exists(files.filePath(QStringLiteral("missing"))));
}

void TestZonePlateTab::Pick(const char *name, int entry)
{
    auto *list = Child<QComboBox>(name);
    list->setCurrentIndex(entry);
    emit list->activated(entry);
}

QByteArray TestZonePlateTab::PdfOfTheTab()
{
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("plate"));
    ModalDriver driver;
    driver.Expect<TFrmCreateZP>([](TFrmCreateZP *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("btSave"))->click();
    });
    driver.Choose(path);
    QTest::mouseClick(Button("btCreateZP"), Qt::LeftButton);
    if (!driver.AllDone() || !driver.Unexpected().isEmpty())
        return {};
    QFile pdf(path + QStringLiteral(".pdf"));
    return pdf.open(QIODevice::ReadOnly) ? pdf.readAll() : QByteArray();
}

// Whatever changes an input of the tab (a field, a list, the user constant dialog, the
// options), the table is either empty or what a fresh calculation from the tab's fields and
// lists gives, and the PDF made from the tab is the plate the table shows. Each change starts
// from a calculated plate of 1 or 5 zones on a user constant of 2.5.
void TestZonePlateTab::everyChangeKeepsTableAndPdfTrue_data()
{
    QTest::addColumn<QString>("zones");
    QTest::addColumn<QString>("change");
    const char *changes[] = {
        "zone count typed",      "focal length typed",      "wavelength typed",
        "unit picked",           "Fresnel constant picked", "separator picked",
        "user constant changed", "user constant removed",   "constant dialog cancelled",
        "options: length unit",  "options: decimal places", "options: no change",
    };
    for (const char *zones : {"1", "5"})
        for (const char *change : changes)
            QTest::addRow("%s zones, %s", zones, change)
                << QString::fromLatin1(zones) << QString::fromLatin1(change);
}

void TestZonePlateTab::everyChangeKeepsTableAndPdfTrue()
{
    QFETCH(QString, zones);
    QFETCH(QString, change);
    Start({}, 2.5);
    m_window->CreateCustomConstantDialog();
    EnterPlate(zones, "100", "mm", Localised("2.5 "));
    Pick("cbConstant4", 2); // as the user picks it, so that it is the entry to go back to
    QTest::mouseClick(Button("btCalculate"), Qt::LeftButton);
    QVERIFY(Grid()->RowHeight(1) > 0);

    // The constant list: 2, 1.9, the user's 2.5, the separator, "Edit user constant".
    const auto userConstant = [this](const QString &text) {
        ModalDriver driver;
        driver.Expect<TFrmCustomConstant>([text](TFrmCustomConstant *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("edConstant"))->setText(text);
            dialog
                ->findChild<QPushButton *>(text.isNull() ? QStringLiteral("btCancel")
                                                         : QStringLiteral("btOk"))
                ->click();
        });
        Pick("cbConstant4", 4);
        QVERIFY(driver.AllDone());
    };
    const auto options = [this](const std::function<void(TFrmPreferences *)> &set) {
        ModalDriver driver;
        driver.Expect<TFrmPreferences>([set](TFrmPreferences *dialog) {
            set(dialog);
            dialog->findChild<QPushButton *>(QStringLiteral("btOk"))->click();
        });
        m_window->findChild<QAction *>(QStringLiteral("preferences1"))->trigger();
        QVERIFY(driver.AllDone());
    };
    const std::map<QString, std::function<void()>> changes = {
        {"zone count typed", [this] { Field("edNumZones")->setText("7"); }},
        {"focal length typed", [this] { Field("edImageDistance4")->setText("150"); }},
        {"wavelength typed", [this] { Field("edWave4")->setText(Localised("0.0005")); }},
        {"unit picked", [this] { Pick("cbUnits8", 1); }},
        {"Fresnel constant picked", [this] { Pick("cbConstant4", 0); }},
        {"separator picked", [this] { Pick("cbConstant4", 3); }},
        {"user constant changed", [&] { userConstant(Localised("1.5")); }},
        {"user constant removed", [&] { userConstant(QStringLiteral("")); }},
        {"constant dialog cancelled", [&] { userConstant(QString()); }},
        {"options: length unit",
         [&] {
             options([](TFrmPreferences *d) {
                 d->findChild<QRadioButton *>(QStringLiteral("rbIn"))->setChecked(true);
             });
         }},
        {"options: decimal places",
         [&] {
             options([](TFrmPreferences *d) {
                 d->findChild<QLineEdit *>(QStringLiteral("edDigit"))->setText("5");
             });
         }},
        {"options: no change", [&] { options([](TFrmPreferences *) {}); }},
    };
    changes.at(change)();

    // The plate of what the tab shows.
    const char sep = DecimalSeparator();
    const QString constantText = Child<QComboBox>("cbConstant4")->currentText();
    const tools::TZonePlateValues plate = tools::CalculateZonePlate(
        Field("edNumZones")->text().toInt(),
        tools::LengthTextToMM(ToStd(Field("edImageDistance4")->text()),
                              ToStd(Child<QComboBox>("cbUnits8")->currentText()), sep),
        tools::TextToNumber(ToStd(Field("edWave4")->text()), sep),
        tools::TextToNumber(ToStd(constantText.left(constantText.indexOf(u' '))), sep));
    const int n = static_cast<int>(plate.size()) - 1;
    const QString fNumber = FromStd(tools::ZonePlateFNumberText(plate));
    if (Grid()->RowHeight(1) > 0) {
        QCOMPARE(Grid()->RowCount(), n + 1);
        for (int row = 1; row <= n; ++row)
            QCOMPARE(Grid()->Cell(1, row),
                     FromStd(tools::ZoneTableCellText(plate[static_cast<std::size_t>(row)],
                                                      tools::MainUnit, tools::DecNum, sep)));
        QCOMPARE(Grid()->Cell(1, 0), FromStd(tools::ZoneTableHeaderText(tools::MainUnit)));
        QCOMPARE(Field("edFnumber4")->text(), fNumber);
        QVERIFY(!Button("btCalculate")->isEnabled());
    } else {
        ExpectNoResult();
        QVERIFY(Button("btCalculate")->isEnabled());
    }
    const QByteArray title = "/Title (Zone Plate - Number of zones: " + QByteArray::number(n) +
                             ", f " + Field("edImageDistance4")->text().toLatin1() + " " +
                             Child<QComboBox>("cbUnits8")->currentText().toLatin1() +
                             ", f number " + fNumber.toLatin1() + ")";
    const QByteArray pdf = PdfOfTheTab();
    QVERIFY2(pdf.contains(title), title.constData());
}

QTEST_MAIN(TestZonePlateTab)
#include "test_zoneplatetab.moc"
