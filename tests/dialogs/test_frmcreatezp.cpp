// SPDX-License-Identifier: GPL-3.0-or-later
// The zone plate PDF dialog, driven as a user would: refusals, the save dialog with its name
// completion and replace question, the written file and the remembered folder.
#include "dialogs/frmcreatezp.h"

#include "components/uitext.h"
#include "tests/support/modaldriver.h"
#include "tools/settings.h"
#include "tools/zoneplatepdf.h"
#include "tools/zoneplatesvg.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The worked plate: 3 zones, f = 100 mm, 550 nm, first Fresnel zone constant. Its outermost
// zone is 0.812 mm across, a page of 72 points.
TZonePlateInputs SmallPlate()
{
    return {3, 100.0, 0.00055, 2.0, QStringLiteral("100"), QStringLiteral("mm")};
}

// 10001 zones at f = 1000 mm: the outermost diameter is 2 * sqrt(10001 * 1000 * 0.00055)
// = 148.33 mm. The page side 1.1 * M * D / 25.4 * 72 passes 3240 points when M * D exceeds
// 1039.09 mm: M = 7 (1038.3 mm) is allowed, M = 8 (1186.6 mm) is refused.
TZonePlateInputs LargePlate()
{
    return {10001, 1000.0, 0.00055, 2.0, QStringLiteral("1000"), QStringLiteral("mm")};
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The date of a written file, so that the expected bytes can be built with the same one.
QString DateOf(const QByteArray &pdf)
{
    const QRegularExpression re(QStringLiteral("/CreationDate \\(D:(\\d{14})\\)"));
    return re.match(QString::fromLatin1(pdf)).captured(1);
}

} // namespace

class TestFrmCreateZP : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void captionsAndStartState();
    void enlargeTogglesTheFactorField();
    void factorFieldTakesDigitsOnly();
    void refusals_data();
    void refusals();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void writesThePlateAsChosen_data();
    void writesThePlateAsChosen();
    void nameCompletion_data();
    void nameCompletion();
    void replaceQuestion_data();
    void replaceQuestion();
    void nextSaveStartsInTheLastFolder();
    void staleLastFolderIsIgnored();
    void failedWriteIsReported();
    void printCheckLine_data();
    void printCheckLine();
    void printerDpiIsRemembered_data();
    void printerDpiIsRemembered();
    void writesSvgBesidePdf();

private:
    // Opens a new dialog over the stand-in main window, as the zone plate tab does.
    TFrmCreateZP *Open(const TZonePlateInputs &inputs = SmallPlate());
    template <typename T> T *Child(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1String(name));
    }
    void SetFactor(bool enlarge, const QString &text);
    void ClickSave();
    QString Path(const QString &name) const { return m_files->filePath(name); }
    QString StoredLastFolder() const;

    std::unique_ptr<QWidget> m_mainWindow;
    std::unique_ptr<QTemporaryDir> m_files;
    QPointer<TFrmCreateZP> m_dialog;
    std::unique_ptr<ModalDriver> m_driver;
};

void TestFrmCreateZP::initTestCase()
{
    InitDecimalSeparator();
}

// Every test starts with empty settings of its own and an empty folder for its files.
void TestFrmCreateZP::init()
{
    m_files = std::make_unique<QTemporaryDir>();
    QVERIFY(m_files->isValid());
    qputenv("LUMIDRA_SETTINGS", QFile::encodeName(Path(QStringLiteral("settings.reg"))));
    m_mainWindow = std::make_unique<QWidget>();
    m_mainWindow->resize(536, 396);
    m_mainWindow->show();
    m_driver = std::make_unique<ModalDriver>();
}

void TestFrmCreateZP::cleanup()
{
    QVERIFY2(m_driver->Unexpected().isEmpty(), qPrintable(m_driver->Unexpected().join('|')));
    QVERIFY2(m_driver->AllDone(), "a window the test expected did not open");
    m_driver.reset();
    delete m_dialog;
    m_mainWindow.reset();
    m_files.reset();
}

TFrmCreateZP *TestFrmCreateZP::Open(const TZonePlateInputs &inputs)
{
    m_dialog = new TFrmCreateZP(inputs, m_mainWindow.get());
    m_dialog->show();
    m_dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(m_dialog))
        qWarning("the dialog did not become the active window");
    return m_dialog;
}

void TestFrmCreateZP::SetFactor(bool enlarge, const QString &text)
{
    Child<QCheckBox>("chbMagnification")->setChecked(enlarge);
    Child<QLineEdit>("edMagnification")->setText(text);
}

void TestFrmCreateZP::ClickSave()
{
    QTest::mouseClick(Child<QPushButton>("btSave"), Qt::LeftButton);
    // A closed dialog is deleted on the next round of the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestFrmCreateZP::StoredLastFolder() const
{
    return tools::SettingExists("LastDirZonePlate")
               ? QString::fromStdString(tools::ReadSettingString("LastDirZonePlate"))
               : QStringLiteral("<none>");
}

void TestFrmCreateZP::captionsAndStartState()
{
    Open();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral(" Create PDF"));
    // The dialog's size as laid out, or larger where the running font needs more room.
    QVERIFY(m_dialog->width() >= 300 && m_dialog->height() >= 248);
    QVERIFY(Child<QRadioButton>("rbPozitive")->isChecked());
    QVERIFY(!Child<QLineEdit>("edMagnification")->isEnabled());
    QCOMPARE(Child<QLabel>("Label2")->text(), QStringLiteral("Printer resolution (dpi):"));
    QCOMPARE(Child<QLineEdit>("edPrinterDpi")->text(), QStringLiteral("1200"));

    // Cancel closes and frees the dialog.
    QTest::mouseClick(Child<QPushButton>("btCancel"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_dialog.isNull());
}

void TestFrmCreateZP::enlargeTogglesTheFactorField()
{
    Open();
    auto *box = Child<QCheckBox>("chbMagnification");
    auto *field = Child<QLineEdit>("edMagnification");
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QCOMPARE(field->palette().color(QPalette::Base), buttonFace);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(field->isEnabled());
    QCOMPARE(field->palette().color(QPalette::Base), window);
    QVERIFY(field->hasFocus());

    field->setText(QStringLiteral("3"));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(!field->isEnabled());
    QCOMPARE(field->palette().color(QPalette::Base), buttonFace);
    QCOMPARE(field->text(), QStringLiteral("3"));
}

void TestFrmCreateZP::factorFieldTakesDigitsOnly()
{
    Open();
    SetFactor(true, QString());
    QTest::keyClicks(Child<QLineEdit>("edMagnification"), QStringLiteral("1a-2.,3 "));
    QCOMPARE(Child<QLineEdit>("edMagnification")->text(), QStringLiteral("123"));
}

// Each refusal leaves the dialog open with the factor selected for correction, and no save
// dialog opens.
void TestFrmCreateZP::refusals_data()
{
    QTest::addColumn<bool>("large");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("message");
    const QString factorTooSmall = QStringLiteral("The number must be equal or greater than 2.");
    const QString pageTooLarge =
        QStringLiteral("The chosen values would create a page that is larger than the maximum "
                       "page size for the PDF file.");
    QTest::newRow("factor 1") << false << "1" << factorTooSmall;
    QTest::newRow("factor 0") << false << "0" << factorTooSmall;
    QTest::newRow("factor beyond 32 bits") << false << "99999999999"
                                           << "'99999999999' is not a valid integer value";
    QTest::newRow("page of 1186 mm") << true << "8" << pageTooLarge;
    QTest::newRow("page of 2^31 times") << false << "2147483647" << pageTooLarge;
}

void TestFrmCreateZP::refusals()
{
    QFETCH(bool, large);
    QFETCH(QString, factor);
    QFETCH(QString, message);
    Open(large ? LargePlate() : SmallPlate());
    SetFactor(true, factor);
    m_driver->Answer();
    ClickSave();

    QCOMPARE(m_driver->Messages(), QStringList{message});
    QCOMPARE(m_driver->Titles(), QStringList{QStringLiteral("Lumidra")});
    QCOMPARE(m_driver->Icons(), QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    QCOMPARE(m_driver->FileDialogs(), 0);
    QVERIFY(!m_dialog.isNull());
    QVERIFY(m_dialog->isVisible());
    // The focus the dialog gives back once the message box has gone.
    auto *field = Child<QLineEdit>("edMagnification");
    QCOMPARE(m_dialog->focusWidget(), field);
    QCOMPARE(field->selectedText(), factor);
}

// Whatever the factor, cancelling the save dialog closes the PDF dialog and writes nothing,
// neither a file nor the folder.
void TestFrmCreateZP::cancelWritesNothing_data()
{
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<QString>("factor");
    QTest::newRow("true size") << false << false << "";
    QTest::newRow("factor ignored while Enlarge is clear") << false << false << "1";
    QTest::newRow("Enlarge with an empty factor") << false << true << "";
    QTest::newRow("largest allowed page, 1038 mm") << true << true << "7";
}

void TestFrmCreateZP::cancelWritesNothing()
{
    QFETCH(bool, large);
    QFETCH(bool, enlarge);
    QFETCH(QString, factor);
    Open(large ? LargePlate() : SmallPlate());
    SetFactor(enlarge, factor);
    m_driver->CancelFileDialog();
    ClickSave();

    QCOMPARE(m_driver->FileDialogs(), 1);
    QVERIFY(m_driver->Messages().isEmpty());
    QVERIFY(m_dialog.isNull());
    QCOMPARE(StoredLastFolder(), QStringLiteral("<none>"));
    QCOMPARE(QDir(m_files->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files),
             QStringList{});
}

// The written file is exactly what the writer makes of the dialog's choices: the polarity,
// the factor (1 unless Enlarge is ticked with a factor) and the focal length as typed.
void TestFrmCreateZP::writesThePlateAsChosen_data()
{
    QTest::addColumn<bool>("negative");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<int>("magnification");
    QTest::newRow("positive, true size") << false << false << "" << 1;
    QTest::newRow("negative, true size") << true << false << "" << 1;
    QTest::newRow("factor typed but Enlarge clear") << false << false << "5" << 1;
    QTest::newRow("enlarged twice") << false << true << "2" << 2;
    QTest::newRow("negative enlarged 12 times") << true << true << "12" << 12;
}

void TestFrmCreateZP::writesThePlateAsChosen()
{
    QFETCH(bool, negative);
    QFETCH(bool, enlarge);
    QFETCH(QString, factor);
    QFETCH(int, magnification);
    TZonePlateInputs inputs = SmallPlate();
    inputs.focalText = QStringLiteral("100") + QChar::fromLatin1(DecimalSeparator()) + '0';
    Open(inputs);
    Child<QRadioButton>(negative ? "rbNegative" : "rbPozitive")->setChecked(true);
    SetFactor(enlarge, factor);
    m_driver->Choose(Path(QStringLiteral("plate.pdf")));
    ClickSave();

    QVERIFY(m_dialog.isNull());
    const QByteArray pdf = ReadAll(Path(QStringLiteral("plate.pdf")));
    QVERIFY(pdf.startsWith("%PDF-1.2\r\n"));
    tools::ZonePlatePdfInput expected;
    expected.values = tools::CalculateZonePlate(3, 100.0, 0.00055, 2.0);
    expected.focalText = inputs.focalText.toStdString();
    expected.unitText = "mm";
    expected.negative = negative;
    expected.magnification = magnification;
    expected.date = DateOf(pdf).toStdString();
    QCOMPARE(pdf, QByteArray::fromStdString(tools::BuildZonePlatePdf(expected)));
    QCOMPARE(StoredLastFolder(), QDir::toNativeSeparators(m_files->path()));
}

// The name is completed with ".pdf" unless it ends in exactly that (case-sensitive).
void TestFrmCreateZP::nameCompletion_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("bare name") << "plate"
                               << "plate.pdf";
    QTest::newRow("with .pdf") << "plate.pdf"
                               << "plate.pdf";
    QTest::newRow("with .PDF") << "plate.PDF"
                               << "plate.PDF.pdf";
    QTest::newRow("other extension") << "plate.txt"
                                     << "plate.txt.pdf";
}

void TestFrmCreateZP::nameCompletion()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    Open();
    m_driver->Choose(Path(typed));
    ClickSave();
    QCOMPARE(QDir(m_files->path()).entryList({QStringLiteral("plate*")}, QDir::Files),
             QStringList{written});
}

// An existing file (after completion of the name) is replaced only after Yes; No returns to
// the save dialog with the name kept, where the user picks another name.
void TestFrmCreateZP::replaceQuestion_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes replaces") << "old" << int(QMessageBox::Yes);
    QTest::newRow("No keeps the file") << "old.pdf" << int(QMessageBox::No);
}

void TestFrmCreateZP::replaceQuestion()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    const bool replace = answer == QMessageBox::Yes;
    const QString old = Path(QStringLiteral("old.pdf"));
    {
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old plate");
    }
    Open();
    m_driver->Choose(Path(typed));
    m_driver->Answer(QMessageBox::StandardButton(answer));
    QString nameKept;
    if (!replace) {
        const QString other = Path(QStringLiteral("other"));
        m_driver->Expect<QFileDialog>([&nameKept, other](QFileDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            nameKept = name->text();
            ModalDriver::Type(dialog, other);
            ModalDriver::Confirm(dialog);
        });
    }
    ClickSave();

    QCOMPARE(m_driver->Messages(),
             QStringList{QStringLiteral("File ") + QDir::toNativeSeparators(old) +
                         QStringLiteral(" already exists. Replace?")});
    QCOMPARE(m_driver->Titles(), QStringList{QStringLiteral("Lumidra")});
    QCOMPARE(m_driver->Icons(), QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    QCOMPARE(ReadAll(old).startsWith("%PDF-1.2"), replace);
    if (!replace) {
        QCOMPARE(nameKept, Path(typed));
        QCOMPARE(ReadAll(old), QByteArray("old plate"));
        QVERIFY(ReadAll(Path(QStringLiteral("other.pdf"))).startsWith("%PDF-1.2"));
    }
}

void TestFrmCreateZP::nextSaveStartsInTheLastFolder()
{
    QVERIFY(QDir(m_files->path()).mkdir(QStringLiteral("plates")));
    const QString folder = Path(QStringLiteral("plates"));
    Open();
    m_driver->Choose(folder + QStringLiteral("/first"));
    ClickSave();
    QCOMPARE(StoredLastFolder(), QDir::toNativeSeparators(folder));

    QString shown;
    Open();
    m_driver->CancelFileDialog(&shown);
    ClickSave();
    QCOMPARE(shown, folder);
    QCOMPARE(StoredLastFolder(), QDir::toNativeSeparators(folder));
}

void TestFrmCreateZP::staleLastFolderIsIgnored()
{
    const QString gone = Path(QStringLiteral("gone"));
    tools::WriteSettingString("LastDirZonePlate", gone.toStdString());
    QString shown;
    Open();
    m_driver->CancelFileDialog(&shown);
    ClickSave();
    QVERIFY(!shown.isEmpty());
    QVERIFY(shown != gone);
    QCOMPARE(StoredLastFolder(), gone);
}

// A target whose folder is a regular file cannot be created: the message names it, nothing is
// left behind, the dialog closes and the folder is still remembered.
void TestFrmCreateZP::failedWriteIsReported()
{
    // A folder stands where the file goes, and the user agrees to replace it.
    const QString target = QDir::toNativeSeparators(Path(QStringLiteral("plate.pdf")));
    QVERIFY(QDir().mkpath(target));
    Open();
    m_driver->Choose(Path(QStringLiteral("plate")));
    m_driver->Answer(QMessageBox::Yes);
    m_driver->Answer();
    ClickSave();

    QCOMPARE(m_driver->Messages().size(), 2);
    QCOMPARE(m_driver->Messages().last(),
             QStringLiteral("File ") + target +
                 QStringLiteral(" cannot be saved. Make sure the disk is not full, "
                                "write-protected or that the file is not currently in use."));
    QCOMPARE(m_driver->Icons().last(), QMessageBox::NoIcon);
    QVERIFY(m_dialog.isNull());
    QCOMPARE(QDir(m_files->path()).entryList(QDir::Files),
             QStringList{QStringLiteral("settings.reg")});
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(StoredLastFolder(), QDir::toNativeSeparators(m_files->path()));
}

// The line under the printer resolution follows the factor and the resolution as they change.
// The worked plate's outer ring is (0.812404 - 0.663325) / 2 = 0.0745394 mm wide: at 341 dpi
// that is 0.0745394 / 25.4 * 341 = 1.0007 dots (red: under 2), and the smallest enlargement
// reaching 3 dots is 3 (3.0021 dots); twice enlarged it is 2.0014 dots, shown as 2.00 and not
// red. The plate measures 0.812404 mm, 1.624808 mm when enlarged twice.
void TestFrmCreateZP::printCheckLine_data()
{
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("dpi");
    QTest::addColumn<QString>("line"); // "." between digits stands for the decimal separator
    QTest::addColumn<bool>("red");
    QTest::newRow("1 dot: red, names the enlargement")
        << false << ""
        << "341"
        << "On paper: plate 0.812 mm across, outer ring 1.00 dots at 341 dpi. Too fine to print: "
           "enlarge at least 3 times."
        << true;
    QTest::newRow("2 dots: not red") << true << "2"
                                     << "341"
                                     << "On paper: plate 1.625 mm across, outer ring 2.00 dots "
                                        "at 341 dpi."
                                     << false;
    QTest::newRow("empty factor is true size")
        << true << ""
        << "1200"
        << "On paper: plate 0.812 mm across, outer ring 3.52 dots at 1200 dpi." << false;
    QTest::newRow("refused factor: no line") << true << "1"
                                             << "1200"
                                             << "" << false;
    QTest::newRow("resolution below 72")
        << false << ""
        << "71"
        << "The printer resolution is a whole number of dots per inch from 72 to 9600." << false;
}

void TestFrmCreateZP::printCheckLine()
{
    QFETCH(bool, enlarge);
    QFETCH(QString, factor);
    QFETCH(QString, dpi);
    QFETCH(QString, line);
    QFETCH(bool, red);
    Open();
    auto *label = Child<QLabel>("lbPrintCheck");
    const QColor normal = QApplication::palette(label).color(QPalette::WindowText);
    SetFactor(enlarge, factor);
    Child<QLineEdit>("edPrinterDpi")->setText(dpi);

    const QString separator = QStringLiteral("\\1") + QChar::fromLatin1(DecimalSeparator());
    QCOMPARE(label->text(),
             line.replace(QRegularExpression(QStringLiteral("(\\d)\\.(?=\\d)")), separator));
    QCOMPARE(label->palette().color(QPalette::WindowText), red ? QColor(255, 0, 0) : normal);

    // The check only informs: Save goes on to the save dialog whatever it says.
    if (factor != QStringLiteral("1") || !enlarge) {
        m_driver->CancelFileDialog();
        ClickSave();
        QCOMPARE(m_driver->FileDialogs(), 1);
    }
}

// The resolution comes from PrinterDpi (1200 when absent or unusable) and is stored when a
// plate is saved with another one; cancelling stores nothing.
void TestFrmCreateZP::printerDpiIsRemembered_data()
{
    QTest::addColumn<int>("stored"); // 0: absent
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // empty: left as shown
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("after");
    QTest::newRow("first run, saved unchanged") << 0 << "1200"
                                                << "" << true << "<none>";
    QTest::newRow("stored 2400, cancelled") << 2400 << "2400"
                                            << "600" << false << "2400";
    QTest::newRow("stored 2400, saved with 300") << 2400 << "2400"
                                                 << "300" << true << "300";
    QTest::newRow("stored value out of range") << 50 << "1200"
                                               << "" << true << "50";
    QTest::newRow("out-of-range typed is not stored") << 600 << "600"
                                                      << "60" << true << "600";
}

void TestFrmCreateZP::printerDpiIsRemembered()
{
    QFETCH(int, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(bool, save);
    QFETCH(QString, after);
    if (stored)
        tools::WriteSettingInteger("PrinterDpi", stored);
    Open();
    auto *field = Child<QLineEdit>("edPrinterDpi");
    QCOMPARE(field->text(), shown);
    if (!typed.isEmpty()) {
        field->clear();
        QTest::keyClicks(field, typed + QStringLiteral("x."));
        QCOMPARE(field->text(), typed);
    }
    if (save)
        m_driver->Choose(Path(QStringLiteral("plate")));
    else
        m_driver->CancelFileDialog();
    ClickSave();
    QCOMPARE(tools::SettingExists("PrinterDpi")
                 ? QString::number(tools::ReadSettingInteger("PrinterDpi"))
                 : QStringLiteral("<none>"),
             after);
}

// The save dialog offers the SVG image beside the PDF; chosen, it completes a bare name with
// ".svg" and writes the image of the chosen plate.
void TestFrmCreateZP::writesSvgBesidePdf()
{
    Open();
    Child<QRadioButton>("rbNegative")->setChecked(true);
    SetFactor(true, QStringLiteral("3"));
    QStringList filters;
    m_driver->Expect<QFileDialog>([&, this](QFileDialog *dialog) {
        filters = dialog->nameFilters();
        dialog->selectNameFilter(filters.value(1));
        ModalDriver::Type(dialog, Path(QStringLiteral("plate")));
        ModalDriver::Confirm(dialog);
    });
    ClickSave();

    QCOMPARE(filters, (QStringList{QStringLiteral("Adobe PDF (*.pdf)"),
                                   QStringLiteral("SVG image (*.svg)")}));
    tools::ZonePlatePdfInput expected;
    expected.values = tools::CalculateZonePlate(3, 100.0, 0.00055, 2.0);
    expected.focalText = "100";
    expected.unitText = "mm";
    expected.negative = true;
    expected.magnification = 3;
    QCOMPARE(ReadAll(Path(QStringLiteral("plate.svg"))),
             QByteArray::fromStdString(tools::BuildZonePlateSvg(expected)));
    QCOMPARE(StoredLastFolder(), QDir::toNativeSeparators(m_files->path()));
}

QTEST_MAIN(TestFrmCreateZP)
#include "test_frmcreatezp.moc"
