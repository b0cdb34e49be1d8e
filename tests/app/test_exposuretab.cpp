// SPDX-License-Identifier: GPL-3.0-or-later
// The exposure tab of the main window: the film database at start-up, the table and the keys
// of its grid.
#include "exposurefixture.h"

#include <QClipboard>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWheelEvent>

#include <cmath>

namespace {

struct RowText
{
    int row;
    const char *text;
};

} // namespace

Q_DECLARE_METATYPE(TStringAlignGrid::Selection)
Q_DECLARE_METATYPE(QList<RowText>)
Q_DECLARE_METATYPE(std::optional<QByteArray>)

class TestExposureTab : public QObject, private ExposureFixture
{
    Q_OBJECT

private:
    static void VerifyEmptyGrid(const TStringAlignGrid *grid)
    {
        QCOMPARE(grid->RowCount(), 2);
        QCOMPARE(grid->RowHeight(1), 0);
        QCOMPARE(grid->ColWidth(0), 84);
        QCOMPARE(grid->ColWidth(1), 86);
        QCOMPARE(grid->GridColor(), QApplication::palette().color(QPalette::Button));
        QCOMPARE(grid->Cell(0, 0), QString("Time for f 22"));
        QCOMPARE(grid->Cell(1, 0), QString("Resulting time"));
        QCOMPARE(grid->CellAlignment(0, 0), Qt::AlignHCenter);
        QVERIFY(grid->GetSelection().isEmpty());
    }

    static void VerifyFilledGrid(const TStringAlignGrid *grid)
    {
        QCOMPARE(grid->RowCount(), 19);
        QCOMPARE(grid->RowHeight(1), 16);
        QCOMPARE(grid->ColWidth(0), 77);
        QCOMPARE(grid->ColWidth(1), 78);
        QCOMPARE(grid->GridColor(), QApplication::palette().color(QPalette::Base));
        QCOMPARE(grid->CellAlignment(1, 0), Qt::AlignHCenter);
        QCOMPARE(grid->CellAlignment(0, 5), Qt::AlignLeft);
        QCOMPARE(grid->CellAlignment(1, 5), Qt::AlignLeft);
        for (int row = 1; row < 19; ++row)
            QCOMPARE(grid->Cell(0, row), kTimesAtF22[row - 1]); // the rows' labels
    }

private slots:
    void initTestCase() { InitDecimalSeparator(); }
    void init() { StartTest(); }
    void cleanup() { QVERIFY(EndTest()); }

    void filmDatabaseLoaded()
    {
        auto w = MakeWindow();
        const auto *films = Child<TEnhCombo>(w.get(), "cbFilmName");
        QCOMPARE(films->count(), 5);
        QCOMPARE(films->itemText(Ortho), QString("Ortho \u20ac"));
        QCOMPARE(films->currentIndex(), -1);
        QCOMPARE(films->DropDownFixedWidth(), 0);
        QCOMPARE(films->maxVisibleItems(), 9);
        QVERIFY(films->isEnabled());
        QCOMPARE(w->FilmDBVersion(), std::string("Test 1.0"));
        QCOMPARE(w->Films().size(), std::size_t(5));
        QVERIFY(Child<QCheckBox>(w.get(), "chbReciprocity")->isEnabled());
        VerifyEmptyGrid(Grid(w.get()));
    }

    void filmDatabaseFaults_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("database");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << std::optional<QByteArray>()
                                 << "The film database for reciprocity failure cannot be found. "
                                    "See Help for solution to this problem.";
        QTest::newRow("shorter than a record")
            << std::optional<QByteArray>(QByteArray(100, 'x'))
            << "The film database for reciprocity failure is damaged and cannot be read. See "
               "Help for solution to this problem.";
    }

    // The program runs on without correction, and the user cannot switch it on again.
    void filmDatabaseFaults()
    {
        QFETCH(std::optional<QByteArray>, database);
        QFETCH(QString, message);
        m_script->Answer();
        auto w = MakeWindow(database);
        QCOMPARE(m_script->Messages().size(), 1);
        const ModalScript::Message shown = m_script->Messages().first();
        QCOMPARE(shown.title, QString("Error"));
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        const auto *box = Child<QCheckBox>(w.get(), "chbReciprocity");
        const auto *films = Child<TEnhCombo>(w.get(), "cbFilmName");
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
        QVERIFY(!films->isEnabled());
        QCOMPARE(films->count(), 0);
        QCOMPARE(films->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));
        QVERIFY(w->Films().empty());
        QVERIFY(w->FilmDBVersion().empty());

        // The table still works, without correction.
        SetInputs(w.get(), "22", false);
        Calculate(w.get());
        QCOMPARE(Grid(w.get())->Cell(1, 18), QString("2 m"));
    }

    void buttonsFollowTheInputs_data()
    {
        QTest::addColumn<QString>("fNumber");
        QTest::addColumn<bool>("reciprocity");
        QTest::addColumn<int>("film");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("factor");
        QTest::newRow("f 21") << "21" << false << -1 << false << "";
        QTest::newRow("no f number") << "" << false << -1 << false << "";
        QTest::newRow("f 22") << "22" << false << -1 << true << "1";
        QTest::newRow("correction without a film") << "22" << true << -1 << false << "1";
        QTest::newRow("correction with a film") << "22" << true << int(Double) << true << "1";
        QTest::newRow("film chosen, f 21") << "21" << true << int(Double) << false << "";
        QTest::newRow("f 250") << "250" << false << -1 << true << "129.1";
    }

    void buttonsFollowTheInputs()
    {
        QFETCH(QString, fNumber);
        QFETCH(bool, reciprocity);
        QFETCH(int, film);
        QFETCH(bool, enabled);
        QFETCH(QString, factor);
        auto w = MakeWindow();
        SetInputs(w.get(), fNumber, reciprocity, film);
        QCOMPARE(Child<QPushButton>(w.get(), "btCalculate5")->isEnabled(), enabled);
        QCOMPARE(Child<QPushButton>(w.get(), "btSaveExposureTimes")->isEnabled(), enabled);
        QCOMPARE(Child<QLineEdit>(w.get(), "edFnumberFactor5")->text(), Local(factor));
        VerifyEmptyGrid(Grid(w.get()));
    }

    void filmListFollowsTheCheckBox()
    {
        auto w = MakeWindow();
        auto *box = Child<QCheckBox>(w.get(), "chbReciprocity");
        const auto *films = Child<TEnhCombo>(w.get(), "cbFilmName");
        for (const bool on : {false, true}) {
            if (box->isChecked() != on)
                box->click();
            QCOMPARE(films->isEnabled(), on);
            const QPalette::ColorRole role = on ? QPalette::Base : QPalette::Button;
            QCOMPARE(films->palette().color(QPalette::Base), QApplication::palette().color(role));
        }
    }

    void table_data()
    {
        QTest::addColumn<QString>("fNumber");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<RowText>>("expected");
        QList<RowText> f22;
        for (int row = 1; row <= 18; ++row)
            f22.push_back({row, nullptr});
        QTest::newRow("f 22, exact") << "22" << 0 << f22;
        QTest::newRow("f 22, rounded") << "22" << 1 << f22;
        // (100/22)^2 = 20.66: 0.125 s become 2.58 s, 4 s become 82.6 s.
        QTest::newRow("f 100, exact")
            << "100" << 0 << QList<RowText>{{8, "2.6 s"}, {13, "1 m 23 s"}};
        QTest::newRow("f 100, rounded") << "100" << 1 << QList<RowText>{{8, "3 s"}, {13, "1 m"}};
        // (250/22)^2 = 129.13: 2 minutes become 15496 s, 4 h 18 m 16 s.
        QTest::newRow("f 250, exact")
            << "250" << 0
            << QList<RowText>{{1, "1/8"},      {4, "1 s"},      {5, "2.2 s"},    {10, "1 m 5 s"},
                              {11, "2 m 9 s"}, {16, "1 h 5 m"}, {18, "4 h 18 m"}};
        QTest::newRow("f 250, rounded")
            << "250" << 1 << QList<RowText>{{1, "1/8"},  {4, "1 s"},  {5, "2 s"}, {10, "1 m"},
                                            {11, "2 m"}, {16, "1 h"}, {18, "4 h"}};
    }

    void table()
    {
        QFETCH(QString, fNumber);
        QFETCH(int, mode);
        QFETCH(QList<RowText>, expected);
        auto w = MakeWindow();
        tools::ExpTimeFormat = mode;
        SetInputs(w.get(), fNumber, false);
        Calculate(w.get());
        const TStringAlignGrid *grid = Grid(w.get());
        VerifyFilledGrid(grid);
        for (const RowText &cell : expected) {
            const QString text = cell.text ? Local(cell.text) : kTimesAtF22[cell.row - 1];
            QCOMPARE(grid->Cell(1, cell.row), text);
            QCOMPARE(grid->CellFontColor(1, cell.row), QColor(Qt::black));
        }
        // Calculating again needs a change of the inputs; saving does not.
        QVERIFY(!Child<QPushButton>(w.get(), "btCalculate5")->isEnabled());
        QVERIFY(Child<QPushButton>(w.get(), "btSaveExposureTimes")->isEnabled());
    }

    void correction_data()
    {
        QTest::addColumn<int>("film");
        QTest::addColumn<QList<RowText>>("expected");
        QTest::addColumn<int>("firstRed");
        // Metered 0.5 s lies below the film's 1 s and stays; 1 s (exactly the minimum) and more
        // are doubled.
        QTest::newRow("doubled from 1 s")
            << int(Double) << QList<RowText>{{10, "1/2"}, {11, "2 s"}, {17, "2 m"}, {18, "4 m"}}
            << 0;
        // Metered 2 s (row 12) is the first time beyond the model's 1.5 s.
        QTest::newRow("beyond the model from row 12")
            << int(Steady) << QList<RowText>{{11, "1 s"}, {12, "2 s"}, {18, "2 m"}} << 12;
        QTest::newRow("same name: the first film counts")
            << int(SteadyToo) << QList<RowText>{{11, "1 s"}, {18, "2 m"}} << 12;
    }

    void correction()
    {
        QFETCH(int, film);
        QFETCH(QList<RowText>, expected);
        QFETCH(int, firstRed);
        auto w = MakeWindow();
        SetInputs(w.get(), "22", true, film);
        Calculate(w.get());
        const TStringAlignGrid *grid = Grid(w.get());
        for (const RowText &cell : expected)
            QCOMPARE(grid->Cell(1, cell.row), QString(cell.text));
        for (int row = 1; row < 19; ++row) {
            const bool red = firstRed != 0 && row >= firstRed;
            QCOMPARE(grid->CellFontColor(1, row), QColor(red ? Qt::red : Qt::black));
            QCOMPARE(grid->CellFontColor(0, row), QColor(Qt::black));
        }
    }

    // The shipped database: metered 8 s at f 250 are 1033 s, beyond Ilford's chart (1000 s);
    // Ilford's law gives 1033^1.31 s = 2 h 29 m, and the red row carries that law on.
    void shippedFilmBeyondItsData()
    {
        QFile shipped(QStringLiteral(LUMIDRA_FILMS_DAT));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        auto w = MakeWindow(shipped.readAll());
        const int hp5 = Child<TEnhCombo>(w.get(), "cbFilmName")->findText("Ilford HP5 Plus");
        QVERIFY(hp5 >= 0);
        tools::ExpTimeFormat = 0;
        SetInputs(w.get(), "250", true, hp5);
        Calculate(w.get());
        const TStringAlignGrid *grid = Grid(w.get());
        const QRegularExpressionMatch hm =
            QRegularExpression("^(\\d+) h (\\d+) m$").match(grid->Cell(1, 14));
        QVERIFY2(hm.hasMatch(), qPrintable(grid->Cell(1, 14)));
        const double seconds = hm.captured(1).toDouble() * 3600 + hm.captured(2).toDouble() * 60;
        QVERIFY2(std::abs(seconds / (2 * 3600 + 29 * 60) - 1) <= 0.15,
                 qPrintable(grid->Cell(1, 14)));
        QCOMPARE(grid->CellFontColor(1, 13), QColor(Qt::black));
        QCOMPARE(grid->CellFontColor(1, 14), QColor(Qt::red));
    }

    void brokenFormula()
    {
        auto w = MakeWindow();
        SetInputs(w.get(), "22", true, Broken);
        const QString message = "The reciprocity data of the film 'Broken' are damaged; its "
                                "exposure times cannot be computed. See Help for solution to "
                                "this problem.";
        m_script->Answer();
        Calculate(w.get());
        VerifyEmptyGrid(Grid(w.get()));
        // Saving says the same before any file is chosen.
        m_script->Answer();
        Child<QPushButton>(w.get(), "btSaveExposureTimes")->click();
        QCOMPARE(m_script->Messages().size(), 2);
        for (const ModalScript::Message &shown : m_script->Messages())
            QCOMPARE(shown.text, message);
    }

    void changesEmptyTheTable_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("f number") << 0;
        QTest::newRow("check box") << 1;
        QTest::newRow("film") << 2;
    }

    void changesEmptyTheTable()
    {
        QFETCH(int, change);
        auto w = MakeWindow();
        SetInputs(w.get(), "22", true, Double);
        Calculate(w.get());
        VerifyFilledGrid(Grid(w.get()));
        if (change == 0)
            QTest::keyClick(Child<QLineEdit>(w.get(), "edFnumber5"), Qt::Key_0);
        else if (change == 1)
            Child<QCheckBox>(w.get(), "chbReciprocity")->click();
        else
            Child<TEnhCombo>(w.get(), "cbFilmName")->setCurrentIndex(Steady);
        VerifyEmptyGrid(Grid(w.get()));
        QCOMPARE(Grid(w.get())->Cell(1, 1), QString()); // nothing left to copy
        QVERIFY(Child<QPushButton>(w.get(), "btCalculate5")->isEnabled());
    }

    void gridFocus_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("focused");
        QTest::newRow("exposure tab shown") << 1 << true;
        QTest::newRow("another tab shown") << 0 << false;
    }

    void gridFocus()
    {
        QFETCH(int, page);
        QFETCH(bool, focused);
        auto w = MakeWindow();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        SetInputs(w.get(), "22", false);
        Child<QTabWidget>(w.get(), "PageControl")->setCurrentIndex(page);
        Calculate(w.get());
        QCOMPARE(Grid(w.get())->hasFocus(), focused);
    }

    void copyKeys_data()
    {
        QTest::addColumn<TStringAlignGrid::Selection>("selection");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("lines");
        QTest::newRow("block") << TStringAlignGrid::Selection{0, 1, 1, 2} << false
                               << "1/1000\t1/1000\t" << 2;
        QTest::newRow("nothing selected: the whole grid")
            << TStringAlignGrid::Selection{} << false << "Time for f 22\tResulting time\t" << 19;
        QTest::newRow("Ctrl+A: every data cell")
            << TStringAlignGrid::Selection{1, 5, 1, 5} << true << "1/1000\t1/1000\t" << 18;
    }

    void copyKeys()
    {
        QFETCH(TStringAlignGrid::Selection, selection);
        QFETCH(bool, selectAll);
        QFETCH(QString, first);
        QFETCH(int, lines);
        auto w = MakeWindow();
        SetInputs(w.get(), "22", false);
        Calculate(w.get());
        TStringAlignGrid *grid = Grid(w.get());
        grid->SetSelection(selection);
        if (selectAll) {
            QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
            QCOMPARE(grid->GetSelection(), (TStringAlignGrid::Selection{0, 1, 1, 18}));
        }
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.endsWith("\r\n"));
        const QStringList rows = copied.chopped(2).split("\r\n");
        QCOMPARE(rows.size(), lines);
        QCOMPARE(rows.first(), first);
        QCOMPARE(rows.last(), lines == 2 ? QString("1/500\t1/500\t") : QString("2 m\t2 m\t"));
    }

    void mouseWheelSelectsAFirstCell_data()
    {
        QTest::addColumn<TStringAlignGrid::Selection>("before");
        QTest::addColumn<TStringAlignGrid::Selection>("after");
        QTest::newRow("nothing selected")
            << TStringAlignGrid::Selection{} << TStringAlignGrid::Selection{0, 1, 0, 1};
        QTest::newRow("a cell selected")
            << TStringAlignGrid::Selection{1, 3, 1, 3} << TStringAlignGrid::Selection{1, 3, 1, 3};
    }

    void mouseWheelSelectsAFirstCell()
    {
        QFETCH(TStringAlignGrid::Selection, before);
        QFETCH(TStringAlignGrid::Selection, after);
        auto w = MakeWindow();
        SetInputs(w.get(), "22", false);
        Calculate(w.get());
        TStringAlignGrid *grid = Grid(w.get());
        grid->SetSelection(before);
        const QPointF at(10, 10);
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        QCOMPARE(grid->GetSelection(), after);
    }

    // A single selected cell looks selected only while the grid has the focus.
    void selectionColoursFollowTheFocus()
    {
        auto w = MakeWindow();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Child<QTabWidget>(w.get(), "PageControl")->setCurrentIndex(1);
        SetInputs(w.get(), "22", false);
        Calculate(w.get());
        TStringAlignGrid *grid = Grid(w.get());
        QTRY_VERIFY(grid->hasFocus());
        grid->SetSelection({1, 4, 1, 4});
        Child<QLineEdit>(w.get(), "edFnumber5")->setFocus();
        QTRY_COMPARE(grid->SelectedCellColor(), QApplication::palette().color(QPalette::Base));
        QCOMPARE(grid->SelectedFontColor(), QApplication::palette().color(QPalette::Text));
        grid->setFocus();
        QTRY_COMPARE(grid->SelectedCellColor(),
                     QApplication::palette().color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(grid->SelectedFontColor(), QColor(Qt::white));
    }
};

QTEST_MAIN(TestExposureTab)
#include "test_exposuretab.moc"
