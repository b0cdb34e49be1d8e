// SPDX-License-Identifier: GPL-3.0-or-later
// The result table of the exposure and zone plate tabs on its own: what the user can copy from
// it empty and filled, Ctrl+A, the wheel, and how the selection shows with and without the
// focus.
#include "components/resultgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

class TestResultGrid : public QObject
{
    Q_OBJECT

private:
    // A table of two columns with a header, shown with a field beside it to take the focus.
    void Make()
    {
        m_window = std::make_unique<QWidget>();
        m_grid = new TResultGrid(m_window.get());
        m_grid->SetColCount(2);
        m_grid->SetDefaultRowHeight(16);
        m_grid->setGeometry(0, 0, 200, 150);
        m_field = new QLineEdit(m_window.get());
        m_field->setGeometry(0, 160, 100, 20);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Three data rows, as a calculation writes them.
    void Fill()
    {
        m_grid->ShowFilled(3, {60, 80});
        m_grid->SetCell(0, 0, "No.");
        m_grid->SetCell(1, 0, "mm");
        for (int row = 1; row <= 3; ++row) {
            m_grid->SetCell(0, row, QString::number(row));
            m_grid->SetCell(1, row, QString::number(row * 10));
        }
    }

    static QString Copied(TResultGrid *grid)
    {
        QApplication::clipboard()->clear();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }

    std::unique_ptr<QWidget> m_window;
    TResultGrid *m_grid = nullptr;
    QLineEdit *m_field = nullptr;

private slots:
    void init() { Make(); }
    void cleanup() { m_window.reset(); }

    // An emptied table gives back its header and its hidden data row, emptied, whatever it
    // showed before: a result that no longer stands is never copied.
    void emptyTableCopiesHeaderOnly()
    {
        Fill();
        m_grid->ShowEmpty({60, 80});
        QVERIFY(!m_grid->IsFilled());
        QCOMPARE(m_grid->RowHeight(1), 0);
        QCOMPARE(Copied(m_grid), "No.\tmm\t\r\n\t\t\r\n");
    }

    // Copying takes the selected block, or the whole table with its header when none is.
    void copy_data()
    {
        QTest::addColumn<QString>("keys"); // "", "A" (Ctrl+A) or "cell"
        QTest::addColumn<QString>("copied");
        QTest::newRow("nothing selected") << ""
                                          << "No.\tmm\t\r\n1\t10\t\r\n2\t20\t\r\n3\t30\t\r\n";
        QTest::newRow("Ctrl+A: every data cell") << "A"
                                                 << "1\t10\t\r\n2\t20\t\r\n3\t30\t\r\n";
        QTest::newRow("one cell") << "cell"
                                  << "20\t\r\n";
    }
    void copy()
    {
        QFETCH(QString, keys);
        QFETCH(QString, copied);
        Fill();
        QVERIFY(m_grid->IsFilled());
        m_grid->setFocus();
        if (keys == "A")
            QTest::keyClick(m_grid, Qt::Key_A, Qt::ControlModifier);
        else if (keys == "cell")
            m_grid->SetSelection({1, 2, 1, 2});
        QCOMPARE(Copied(m_grid), copied);
    }

    // The wheel over a table without a selection starts one on the first data row.
    void wheelStartsSelection()
    {
        Fill();
        QVERIFY(m_grid->GetSelection().isEmpty());
        QWheelEvent wheel(QPointF(20, 40), m_grid->mapToGlobal(QPointF(20, 40)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_grid->viewport(), &wheel);
        QVERIFY(!m_grid->GetSelection().isEmpty());
        QCOMPARE(m_grid->GetSelection().left, 0);
    }

    // A lone selected cell shows in the highlight colours only while the table has the focus.
    void selectionColoursFollowFocus()
    {
        Fill();
        m_grid->setFocus();
        m_grid->SetSelection({1, 2, 1, 2});
        const QColor highlight =
            QApplication::palette().color(QPalette::Active, QPalette::Highlight);
        QCOMPARE(m_grid->SelectedCellColor(), highlight);
        m_field->setFocus();
        QTRY_COMPARE(m_grid->SelectedCellColor(), QApplication::palette().color(QPalette::Base));
        m_grid->setFocus();
        QTRY_COMPARE(m_grid->SelectedCellColor(), highlight);
    }
};

QTEST_MAIN(TestResultGrid)
#include "test_resultgrid.moc"
