// SPDX-License-Identifier: GPL-3.0-or-later
// Films of one's own in the main window, end to end: entered in Tools > Films..., chosen on
// the exposure tab, found again after a restart; a damaged own-films file, and own films
// without the shipped database.
#include "components/reciprocityplot.h"
#include "dialogs/frmfilmedit.h"
#include "dialogs/frmfilms.h"
#include "exposurefixture.h"
#include "tools/ownfilms.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace {

const QString kTriX = "Kodak Tri-X 400 (own test)";

// Tri-X at f 250 as the command line prints it (tests/cli/expected/exposure_f250_trix.txt),
// rounded off: the window and lumidra-calc correct with the same fit. Rows from the metered
// 1 s (129 s, beyond the last pair at 100 s) are red.
const QStringList kTriXAtF250 = {"1/8",  "1/4", "1/2",  "2 s",  "6 s",   "15 s",
                                 "40 s", "2 m", "4 m",  "11 m", "28 m",  "1 h",
                                 "3 h",  "8 h", "19 h", "50 h", "130 h", "335 h"};
constexpr int kTriXFirstRed = 11;

bool WaitForFit(const TFrmFilmEdit *dialog)
{
    for (int i = 0; i < 3000 && dialog->FitPending(); ++i)
        QTest::qWait(10);
    return !dialog->FitPending();
}

} // namespace

class TestOwnFilms : public QObject, private ExposureFixture
{
    Q_OBJECT

private:
    // A window on a settings folder of its own, the shipped database read from the program's
    // folder (none: a path where there is none).
    std::unique_ptr<TfrmMain> OpenWindow(bool shipped = true)
    {
        if (!m_dir) {
            m_dir = std::make_unique<QTemporaryDir>();
            qputenv("LUMIDRA_SETTINGS", m_dir->filePath("settings.reg").toLocal8Bit());
        }
        TfrmMain::SetFilmDatabasePaths({shipped ? std::string(LUMIDRA_FILMS_DAT)
                                                : m_dir->filePath("none/films.dat").toStdString()});
        return MakeBuiltWindow();
    }

    QString OwnFile(const char *name) const { return m_dir->filePath(name); }

    // The table at f 250 for the film at index in the list, checked against the expected
    // Tri-X times and red rows.
    static void VerifyTriXTable(QWidget *w, int index)
    {
        SetInputs(w, "250", true, index);
        Calculate(w);
        const TStringAlignGrid *grid = Grid(w);
        for (int row = 1; row <= 18; ++row) {
            QCOMPARE(grid->Cell(1, row), kTriXAtF250[row - 1]);
            QCOMPARE(grid->CellFontColor(1, row),
                     QColor(row >= kTriXFirstRed ? Qt::red : Qt::black));
        }
    }

private slots:
    void initTestCase() { InitDecimalSeparator(); }
    void init()
    {
        StartTest();
        m_dir.reset();
    }
    void cleanup() { QVERIFY(EndTest()); }

    // A photographer enters Tri-X from his own tests, picks it and gets a table; after a
    // restart the film is there again, and editing it shows the pairs as typed.
    void triXFromTheDialogToTheTableAndBack()
    {
        auto w = OpenWindow();
        const int shipped = static_cast<int>(w->Films().size());
        QString errorShown;
        std::size_t dotsShown = 0;
        m_script->On<TFrmFilms>(
            [](TFrmFilms *films) { Child<QPushButton>(films, "btAdd")->click(); });
        m_script->On<TFrmFilmEdit>([&](TFrmFilmEdit *dialog) {
            Child<QLineEdit>(dialog, "edName")->setText(kTriX);
            Child<QRadioButton>(dialog, "rbPairs")->click();
            const char *pairs[][2] = {{"1", "2"}, {"10", "50"}, {"100", "1200"}};
            for (int i = 0; i < 3; ++i) {
                const QByteArray row = QByteArray::number(i + 1);
                QTest::keyClicks(Child<QLineEdit>(dialog, ("edMetered" + row).constData()),
                                 pairs[i][0]);
                QTest::keyClicks(Child<QLineEdit>(dialog, ("edNeeded" + row).constData()),
                                 pairs[i][1]);
            }
            if (WaitForFit(dialog)) {
                errorShown = Child<QLabel>(dialog, "lbError")->text();
                dotsShown = Child<TReciprocityPlot>(dialog, "pbPlot")->Measured().size();
                Child<QPushButton>(dialog, "btOk")->click();
            } else {
                dialog->reject();
            }
        });
        m_script->On<TFrmFilms>([](TFrmFilms *films) {
            QCOMPARE(Child<QListWidget>(films, "lbFilms")->count(), 1);
            Child<QPushButton>(films, "btClose")->click();
        });
        Child<QAction>(w.get(), "films1")->trigger();
        QVERIFY(m_script->Done());
        // The largest error of the formula against the pairs joined by power laws.
        QCOMPARE(errorShown, Local("Largest error of the formula: 1.75 %"));
        QCOMPARE(dotsShown, std::size_t(3));

        auto *list = Child<TEnhCombo>(w.get(), "cbFilmName");
        QCOMPARE(list->count(), shipped + 1);
        QCOMPARE(list->itemText(shipped), kTriX);
        VerifyTriXTable(w.get(), shipped);
        QVERIFY(QFile::exists(OwnFile("films.dat")));
        QVERIFY(QFile::exists(OwnFile("films.txt")));

        w.reset();
        w = OpenWindow();
        QCOMPARE(Child<TEnhCombo>(w.get(), "cbFilmName")->itemText(shipped), kTriX);
        VerifyTriXTable(w.get(), shipped);

        QString metered2, needed3;
        m_script->On<TFrmFilms>(
            [](TFrmFilms *films) { Child<QPushButton>(films, "btEdit")->click(); });
        m_script->On<TFrmFilmEdit>([&](TFrmFilmEdit *dialog) {
            metered2 = Child<QLineEdit>(dialog, "edMetered2")->text();
            needed3 = Child<QLineEdit>(dialog, "edNeeded3")->text();
            dialog->reject();
        });
        m_script->On<TFrmFilms>([](TFrmFilms *films) { films->reject(); });
        Child<QAction>(w.get(), "films1")->trigger();
        QCOMPARE(metered2, "10");
        QCOMPARE(needed3, "1200");
        // Closing the dialog refreshed the list, the film still chosen, the table emptied.
        QCOMPARE(Child<TEnhCombo>(w.get(), "cbFilmName")->currentText(), kTriX);
        QCOMPARE(Grid(w.get())->RowCount(), 2);
    }

    // Reported once, left as it is; the shipped films work on.
    void damagedOwnFilmsAreReportedOnce()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("LUMIDRA_SETTINGS", m_dir->filePath("settings.reg").toLocal8Bit());
        const QByteArray damaged = Record(tools::kOwnFilmsVersion) + "cut short";
        QFile file(OwnFile("films.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();

        m_script->Answer();
        auto w = OpenWindow();
        QCOMPARE(m_script->Messages().size(), 1);
        const QString path = QDir::toNativeSeparators(OwnFile("films.dat"));
        QCOMPARE(m_script->Messages()[0].text,
                 "Your own films cannot be read: the file " + path +
                     " is damaged. The films that come with Lumidra can still be used. The "
                     "file stays as it is until you next save a film of your own; it is then "
                     "kept as " +
                     path + ".bak.");
        QCOMPARE(m_script->Messages()[0].icon, QMessageBox::Critical);
        QVERIFY(w->OwnFilms().empty());
        const int hp5 = Child<TEnhCombo>(w.get(), "cbFilmName")->findText("Ilford HP5 Plus");
        QVERIFY(hp5 >= 0);
        SetInputs(w.get(), "22", true, hp5);
        Calculate(w.get());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    // Without the shipped database its message still shows, and the own films can be chosen;
    // without either, the box comes back once an own film is added.
    void ownFilmsWithoutTheShippedDatabase()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("LUMIDRA_SETTINGS", m_dir->filePath("settings.reg").toLocal8Bit());
        tools::FilmInput input;
        input.Name = ToStd(kTriX);
        input.PowerLaw = false;
        input.Pairs = {{"1", "2"}, {"10", "50"}, {"100", "1200"}};
        const tools::FilmFit fit = tools::FitFilm(tools::ReadFilmInput(input).Model);
        QVERIFY(tools::SaveOwnFilms(m_dir->path().toStdString(), {tools::MakeOwnFilm(input, fit)}));

        m_script->Answer();
        auto w = OpenWindow(false);
        QCOMPARE(m_script->Messages().size(), 1);
        QVERIFY(m_script->Messages()[0].text.startsWith("The film database for reciprocity "
                                                        "failure cannot be found."));
        auto *box = Child<QCheckBox>(w.get(), "chbReciprocity");
        QVERIFY(box->isEnabled());
        QVERIFY(box->isChecked());
        QVERIFY(Child<TEnhCombo>(w.get(), "cbFilmName")->isEnabled());
        QCOMPARE(Child<TEnhCombo>(w.get(), "cbFilmName")->count(), 1);
        VerifyTriXTable(w.get(), 0);

        // Removed, nothing is left to choose: the box is cleared and disabled.
        m_script->On<TFrmFilms>(
            [](TFrmFilms *films) { Child<QPushButton>(films, "btRemove")->click(); });
        m_script->Answer(QMessageBox::Yes);
        m_script->On<TFrmFilms>([](TFrmFilms *films) { films->accept(); });
        Child<QAction>(w.get(), "films1")->trigger();
        QVERIFY(!box->isEnabled());
        QVERIFY(!box->isChecked());
        QCOMPARE(Child<TEnhCombo>(w.get(), "cbFilmName")->count(), 0);
    }
};

QTEST_MAIN(TestOwnFilms)
#include "test_ownfilms.moc"
