// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/stringaligngrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Selection = TStringAlignGrid::Selection;
Q_DECLARE_METATYPE(Selection)

namespace QTest {
template <> char *toString(const Selection &sel)
{
    return qstrdup(qPrintable(
        QString("{%1, %2, %3, %4}").arg(sel.left).arg(sel.top).arg(sel.right).arg(sel.bottom)));
}
} // namespace QTest

namespace {

constexpr int kRowHeight = 16;

// Header "H0", "H1"; data cells "a<row>" and "b<row>": row 2 holds a2 and b2.
void FillGrid(TStringAlignGrid &grid, int rows)
{
    grid.SetColCount(2);
    grid.SetRowCount(rows);
    grid.SetCell(0, 0, "H0");
    grid.SetCell(1, 0, "H1");
    for (int row = 1; row < rows; ++row) {
        grid.SetCell(0, row, QString("a%1").arg(row));
        grid.SetCell(1, row, QString("b%1").arg(row));
    }
}

// The grid as the exposure tab shows it before a calculation: header and one hidden row.
void MakeEmptyState(TStringAlignGrid &grid)
{
    grid.SetRowCount(19);
    grid.SetRowHeight(1, 0);
    grid.SetRowCount(2);
    grid.SetCell(0, 1, QString());
    grid.SetCell(1, 1, QString());
    grid.ClearSelection();
}

} // namespace

class TestStringAlignGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectionText_data();
    void selectionText();
    void copyToClipboard();
    void rowHeights_data();
    void rowHeights();
    void defaultRowHeightShowsHiddenRows();
    void freshGridTakesEmptyState();
    void selectionBounds_data();
    void selectionBounds();
    void clearSelectionGivesMinusOne();
    void keyboardSelectsBlock();
    void colours();
    void coloursShownWhenPainted();
    void cellsNotEditable();
    void outOfRangeIsHarmless();
    void wheelSignalComesBeforeScrolling();
    void keyAndFocusSignals();

private:
    std::unique_ptr<TStringAlignGrid> m_grid;
};

void TestStringAlignGrid::init()
{
    m_grid = std::make_unique<TStringAlignGrid>();
    m_grid->resize(200, 150);
    m_grid->SetDefaultRowHeight(kRowHeight);
    FillGrid(*m_grid, 5);
}

void TestStringAlignGrid::cleanup()
{
    m_grid.reset();
}

void TestStringAlignGrid::selectionText_data()
{
    QTest::addColumn<bool>("emptyState");
    QTest::addColumn<Selection>("selection");
    QTest::addColumn<QString>("expected");

    QTest::newRow("single cell") << false << Selection{1, 2, 1, 2} << "b2\t\r\n";
    QTest::newRow("block") << false << Selection{0, 1, 1, 2} << "a1\tb1\t\r\na2\tb2\t\r\n";
    QTest::newRow("one column") << false << Selection{0, 3, 0, 4} << "a3\t\r\na4\t\r\n";
    QTest::newRow("bounds given backwards")
        << false << Selection{1, 2, 0, 1} << "a1\tb1\t\r\na2\tb2\t\r\n";
    // The header row cannot be selected, and a block is cut to the grid.
    QTest::newRow("cut to the data rows")
        << false << Selection{0, 0, 5, 9} << "a1\tb1\t\r\na2\tb2\t\r\na3\tb3\t\r\na4\tb4\t\r\n";
    QTest::newRow("nothing selected: whole grid with header")
        << false << Selection{} << "H0\tH1\t\r\na1\tb1\t\r\na2\tb2\t\r\na3\tb3\t\r\na4\tb4\t\r\n";
    // The hidden empty data row is part of the grid and is copied as an empty line.
    QTest::newRow("empty state: header and hidden row")
        << true << Selection{} << "H0\tH1\t\r\n\t\t\r\n";
}

void TestStringAlignGrid::selectionText()
{
    QFETCH(bool, emptyState);
    QFETCH(Selection, selection);
    QFETCH(QString, expected);

    if (emptyState)
        MakeEmptyState(*m_grid);
    m_grid->SetSelection(selection);
    QCOMPARE(m_grid->SelectionText(), expected);
}

void TestStringAlignGrid::copyToClipboard()
{
    QApplication::clipboard()->setText("old");
    m_grid->SetSelection({0, 4, 1, 4});
    m_grid->CopyToClipboard();
    QCOMPARE(QApplication::clipboard()->text(), QString("a4\tb4\t\r\n"));
}

void TestStringAlignGrid::rowHeights_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("expected");

    QTest::newRow("data row height") << 2 << 20 << 20;
    QTest::newRow("0 hides a data row") << 1 << 0 << 0;
    QTest::newRow("negative counts as 0") << 3 << -5 << 0;
    QTest::newRow("header row height") << 0 << 18 << 18;
    QTest::newRow("0 hides the header row") << 0 << 0 << 0;
}

void TestStringAlignGrid::rowHeights()
{
    QFETCH(int, row);
    QFETCH(int, height);
    QFETCH(int, expected);

    m_grid->show();
    m_grid->SetRowHeight(row, height);
    QCOMPARE(m_grid->RowHeight(row), expected);
    if (row == 0)
        QCOMPARE(m_grid->horizontalHeader()->isVisible(), expected > 0);
    else
        QCOMPARE(m_grid->isRowHidden(row - 1), expected == 0);

    // A hidden row shows again with a height of its own.
    m_grid->SetRowHeight(row, kRowHeight);
    QCOMPARE(m_grid->RowHeight(row), kRowHeight);
    // The other rows keep the default height.
    QCOMPARE(m_grid->RowHeight(row == 4 ? 3 : 4), kRowHeight);
}

void TestStringAlignGrid::defaultRowHeightShowsHiddenRows()
{
    MakeEmptyState(*m_grid);
    QCOMPARE(m_grid->RowHeight(1), 0);
    // Filling: row 1 gets its height back, added rows come with the default height.
    m_grid->SetRowHeight(1, kRowHeight);
    m_grid->SetRowCount(19);
    QCOMPARE(m_grid->RowHeight(1), kRowHeight);
    QCOMPARE(m_grid->RowHeight(18), kRowHeight);
    QCOMPARE(m_grid->RowCount(), 19);

    m_grid->SetRowHeight(5, 0);
    m_grid->SetDefaultRowHeight(20);
    for (int row : {0, 1, 5, 18})
        QCOMPARE(m_grid->RowHeight(row), 20);
}

// The exposure tab's reset hides row 1 before it sets the row count, also on a new grid.
void TestStringAlignGrid::freshGridTakesEmptyState()
{
    TStringAlignGrid grid;
    grid.SetRowHeight(1, 0);
    grid.SetRowCount(2);
    QCOMPARE(grid.RowHeight(1), 0);
    QCOMPARE(grid.GetSelection(), Selection{});
}

void TestStringAlignGrid::selectionBounds_data()
{
    QTest::addColumn<Selection>("given");
    QTest::addColumn<Selection>("expected");

    QTest::newRow("block") << Selection{0, 1, 1, 4} << Selection{0, 1, 1, 4};
    QTest::newRow("single cell") << Selection{1, 3, 1, 3} << Selection{1, 3, 1, 3};
    QTest::newRow("header row left out") << Selection{0, 0, 1, 2} << Selection{0, 1, 1, 2};
    QTest::newRow("beyond the grid") << Selection{0, 2, 7, 99} << Selection{0, 2, 1, 4};
    QTest::newRow("wholly outside") << Selection{4, 7, 6, 9} << Selection{};
    // Any negative bound means no selection, as the grid's handlers read it.
    QTest::newRow("one bound -1 clears") << Selection{0, 1, -1, 2} << Selection{};
    QTest::newRow("negative left clears") << Selection{-3, 2, 1, 2} << Selection{};
}

void TestStringAlignGrid::selectionBounds()
{
    QFETCH(Selection, given);
    QFETCH(Selection, expected);

    m_grid->SetSelection({0, 2, 0, 2});
    m_grid->SetSelection(given);
    QCOMPARE(m_grid->GetSelection(), expected);
}

void TestStringAlignGrid::clearSelectionGivesMinusOne()
{
    m_grid->SetSelection({0, 1, 1, 4});
    m_grid->ClearSelection();
    const Selection sel = m_grid->GetSelection();
    QCOMPARE(sel, (Selection{-1, -1, -1, -1}));
    QVERIFY(sel.isEmpty());
    QVERIFY(!m_grid->currentIndex().isValid());

    // Removing the rows of a selection leaves no selection either.
    m_grid->SetSelection({0, 3, 1, 4});
    m_grid->SetRowCount(2);
    m_grid->SetRowCount(5);
    QCOMPARE(m_grid->GetSelection(), Selection{});
}

void TestStringAlignGrid::keyboardSelectsBlock()
{
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    m_grid->setFocus();
    m_grid->SetSelection({0, 1, 0, 1});
    QTest::keyClick(m_grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(m_grid.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_grid->GetSelection(), (Selection{0, 1, 1, 2}));
    QVERIFY(!m_grid->GetSelection().isSingleCell());
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    QCOMPARE(m_grid->GetSelection(), (Selection{1, 3, 1, 3}));
    QVERIFY(m_grid->GetSelection().isSingleCell());
}

void TestStringAlignGrid::colours()
{
    const QColor grey(212, 208, 200), zebra(245, 245, 245), red(255, 0, 0);
    m_grid->SetGridColor(grey);
    m_grid->SetRowColor(2, zebra);
    m_grid->SetCellFontColor(1, 3, red);

    QCOMPARE(m_grid->GridColor(), grey);
    QCOMPARE(m_grid->RowColor(1), grey);
    QCOMPARE(m_grid->RowColor(2), zebra);
    QCOMPARE(m_grid->CellFontColor(1, 3), red);
    QCOMPARE(m_grid->CellFontColor(0, 3), m_grid->palette().color(QPalette::Text));

    // The default selection colours, and setting them.
    QCOMPARE(m_grid->SelectedCellColor(), m_grid->palette().color(QPalette::Highlight));
    QCOMPARE(m_grid->SelectedFontColor(), QColor(255, 255, 255));
    m_grid->SetSelectedCellColor(Qt::white);
    m_grid->SetSelectedFontColor(Qt::black);
    QCOMPARE(m_grid->SelectedCellColor(), QColor(Qt::white));
    QCOMPARE(m_grid->SelectedFontColor(), QColor(Qt::black));

    // Rows that are removed take their colours with them.
    m_grid->SetRowCount(2);
    m_grid->SetRowCount(5);
    QCOMPARE(m_grid->RowColor(2), grey);
    QCOMPARE(m_grid->CellFontColor(1, 3), m_grid->palette().color(QPalette::Text));

    m_grid->SetRowColor(4, zebra);
    m_grid->ClearRowColors();
    QCOMPARE(m_grid->RowColor(4), grey);
}

// The colours reach the screen: row backgrounds, the grid colour below the last row, and the
// selection colours of a selected cell.
void TestStringAlignGrid::coloursShownWhenPainted()
{
    const QColor grid(200, 200, 200), row(10, 120, 10), selected(20, 20, 160);
    m_grid->SetGridColor(grid);
    m_grid->SetRowColor(2, row);
    m_grid->SetSelectedCellColor(selected);
    m_grid->SetColWidth(0, 60);
    m_grid->SetColWidth(1, 60);
    m_grid->SetSelection({1, 3, 1, 3});
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));

    const QImage image = m_grid->viewport()->grab().toImage();
    // A pixel near the bottom-left corner of a cell: inside the cell, clear of its text.
    auto pixel = [&](int col, int gridRow) {
        const QRect rect = m_grid->visualRect(m_grid->model()->index(gridRow - 1, col));
        return image.pixelColor(rect.left() + 1, rect.bottom() - 1);
    };
    QCOMPARE(pixel(0, 1), grid);
    QCOMPARE(pixel(1, 2), row);
    QCOMPARE(pixel(1, 3), selected);
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() - 2), grid);
}

void TestStringAlignGrid::cellsNotEditable()
{
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    m_grid->SetSelection({0, 1, 0, 1});
    const QRect cell = m_grid->visualRect(m_grid->model()->index(0, 0));
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::keyClick(m_grid.get(), Qt::Key_F2);
    QTest::keyClicks(m_grid.get(), "xyz");
    QVERIFY(m_grid->findChildren<QLineEdit *>().isEmpty());
    QCOMPARE(m_grid->Cell(0, 1), QString("a1"));
}

void TestStringAlignGrid::outOfRangeIsHarmless()
{
    m_grid->SetCell(7, 1, "x");
    m_grid->SetCell(0, -1, "x");
    m_grid->SetCellFontColor(0, 40, Qt::red);
    m_grid->SetRowColor(-2, Qt::red);
    m_grid->SetRowHeight(9, 0);
    m_grid->SetColWidth(5, 10);
    m_grid->SetColumnAlignment(-1, Qt::AlignRight);
    QCOMPARE(m_grid->Cell(7, 1), QString());
    QCOMPARE(m_grid->RowHeight(9), 0);
    QCOMPARE(m_grid->ColWidth(5), 0);
    m_grid->SetRowCount(0);
    QCOMPARE(m_grid->RowCount(), 1);
    QCOMPARE(m_grid->SelectionText(), QString("H0\tH1\t\r\n"));
}

void TestStringAlignGrid::wheelSignalComesBeforeScrolling()
{
    FillGrid(*m_grid, 40);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    QScrollBar *bar = m_grid->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);

    // The handler selects a cell when none is selected; the grid then scrolls as usual.
    int valueAtSignal = -1;
    connect(m_grid.get(), &TStringAlignGrid::wheelTurned, this, [&] {
        valueAtSignal = bar->value();
        if (m_grid->GetSelection().isEmpty())
            m_grid->SetSelection({0, 1, 0, 1});
    });
    const QPoint at = m_grid->viewport()->rect().center();
    QWheelEvent wheel(at, m_grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_grid->viewport(), &wheel);
    QCOMPARE(valueAtSignal, 0);
    QVERIFY(bar->value() > 0);
    QCOMPARE(m_grid->GetSelection(), (Selection{0, 1, 0, 1}));
}

void TestStringAlignGrid::keyAndFocusSignals()
{
    QWidget window;
    auto *grid = new TStringAlignGrid(&window);
    auto *other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->move(0, 200);
    other->setFocus();
    QSignalSpy entered(grid, &TStringAlignGrid::focusEntered);
    QSignalSpy left(grid, &TStringAlignGrid::focusLeft);
    QSignalSpy released(grid, &TStringAlignGrid::keyReleased);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(entered.size(), 0);
    grid->setFocus();
    QTRY_COMPARE(entered.size(), 1);
    QTest::keyRelease(grid, Qt::Key_C, Qt::ControlModifier);
    // QTest releases the Control key after C.
    QVERIFY(released.size() >= 1);
    QCOMPARE(released[0][0].toInt(), int(Qt::Key_C));
    QCOMPARE(released[0][1].value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    other->setFocus();
    QTRY_COMPARE(left.size(), 1);
}

QTEST_MAIN(TestStringAlignGrid)
#include "test_stringaligngrid.moc"
