// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QTableWidget>
#include <QVector>

class QStyle;

// How a grid's columns and rows fit the running font: for each column the narrowest width the
// program ever gives it and every text its header shows, the default row height as given (for a
// small font), and how many data rows show without scrolling (0: whatever the height holds).
struct GridFit
{
    QVector<int> narrowest;
    QVector<QStringList> headers;
    int rowHeight = 0;
    int rows = 0;
};

// A grid of read-only text cells whose row 0 is a fixed header row. Cells are addressed as
// (column, row), rows counted with the header, so row 1 is the first data row.
class TStringAlignGrid : public QTableWidget
{
    Q_OBJECT

public:
    // Left, top, right and bottom cell of the selection; all four -1 when nothing is selected.
    struct Selection
    {
        int left = -1;
        int top = -1;
        int right = -1;
        int bottom = -1;
        bool isEmpty() const { return left < 0 || top < 0 || right < 0 || bottom < 0; }
        bool isSingleCell() const { return !isEmpty() && left == right && top == bottom; }
        bool operator==(const Selection &) const = default;
    };

    // A new grid has one column and two rows: the header row and one data row. Calls that
    // name a cell or row outside the grid do nothing (set the row count first).
    explicit TStringAlignGrid(QWidget *parent = nullptr);

    // Rows including the header row (at least 1).
    int RowCount() const;
    void SetRowCount(int rows);
    int ColCount() const;
    void SetColCount(int cols);

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);

    // Heights and widths as the caller gives them, for a small font. On screen a row is at
    // least as high as its text needs at the running font, and a column is widened as Fit
    // says, so that no text is cut. A height of 0 hides the row.
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    // Widens every column by what its header texts need beyond its narrowest width, and asks
    // for the height in which fit.rows data rows show (when given): the grid asks for that
    // room by its minimum size hint, which the form's fitting gives it (FitFormToText).
    void Fit(const GridFit &fit);
    // The room a grid of size asks for after Fit(fit), at font and style, without a grid: what
    // the fitting of a form that is not built yet counts on (fittext.h). -1: no demand.
    static QSize FitSize(QSize size, const GridFit &fit, const QFont &font, const QStyle *style);
    QSize minimumSizeHint() const override;

    // Background of the whole grid; single data rows may have their own.
    QColor GridColor() const;
    void SetGridColor(const QColor &color);
    QColor RowColor(int row) const; // the grid colour unless the row has its own
    void SetRowColor(int row, const QColor &color);
    void ClearRowColors();

    QColor CellFontColor(int col, int row) const;
    void SetCellFontColor(int col, int row, const QColor &color);

    // Alignment of the header row, and of the data cells of a whole column.
    void SetHeaderAlignment(Qt::Alignment alignment);
    void SetColumnAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment CellAlignment(int col, int row) const;

    QColor SelectedCellColor() const;
    void SetSelectedCellColor(const QColor &color);
    QColor SelectedFontColor() const;
    void SetSelectedFontColor(const QColor &color);

    Selection GetSelection() const;
    void SetSelection(const Selection &selection); // an empty selection clears it
    void ClearSelection();

    // The selected block as text: every cell followed by a TAB, every row ended by CR LF;
    // the whole grid, header row included, when nothing is selected.
    QString SelectionText() const;
    void CopyToClipboard() const;

signals:
    // Key released in the grid (the handlers copy on Ctrl+C and select all on Ctrl+A).
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    // The wheel turned over the grid; emitted before the grid scrolls.
    void wheelTurned();
    void focusEntered();
    void focusLeft();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QTableWidgetItem *DataItem(int col, int row);
    QTableWidgetItem *HeaderItem(int col);
    bool IsCell(int col, int row) const;

    class Header;
    class Delegate;

    Header *m_header = nullptr;
    QColor m_gridColor;
    QColor m_selectedCellColor;
    QColor m_selectedFontColor;
    Qt::Alignment m_headerAlignment = Qt::AlignLeft;
    QVector<Qt::Alignment> m_columnAlignments; // data cells, per column
    QVector<QColor> m_rowColors;               // per row; invalid: the grid colour
    int m_defaultRowHeight = 0;                // as given, for a small font
    QVector<int> m_rowHeights;                 // as given, per row; -1: the default
    QVector<int> m_colWidths;                  // as given, per column
    QVector<int> m_widening;                   // per column
    QSize m_fitSize;                           // asked for by the fits above

    int ShownRowHeight(int row, int height) const;
};
