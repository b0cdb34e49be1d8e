// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/stringaligngrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// Room between a cell's border and its text.
constexpr int kTextMargin = 2;

constexpr Qt::ItemFlags kCellFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;

// A header section showing text, as the style sizes it.
QSize HeaderSectionSize(const QStyle *style, const QFont &font, const QString &text)
{
    QStyleOptionHeader option;
    option.fontMetrics = QFontMetrics(font);
    option.orientation = Qt::Horizontal;
    option.state = QStyle::State_Raised | QStyle::State_Horizontal | QStyle::State_Enabled;
    option.text = text;
    return style->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), nullptr);
}

// What the columns widen by to show every header text; widening[col] for each.
QVector<int> Widenings(const GridFit &fit, int columns,
                       const std::function<int(int col, const QString &)> &width)
{
    QVector<int> widening(columns, 0);
    for (int col = 0; col < columns && col < fit.narrowest.size(); ++col) {
        int need = 0;
        if (col < fit.headers.size())
            for (const QString &text : fit.headers[col])
                need = std::max(need, width(col, text));
        widening[col] = std::max(0, need - fit.narrowest[col]);
    }
    return widening;
}

} // namespace

// Row 0 of the grid is the horizontal header of the table, so it stays in place while the data
// rows scroll. Its height is the header row's height, not whatever the style would like.
class TStringAlignGrid::Header : public QHeaderView
{
public:
    explicit Header(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

    // -1: the style's natural height.
    int m_height = -1;

    // With a height of its own the header needs no measuring: the table takes only the
    // height of the hint, and measuring every section's text costs the window's start-up.
    QSize sizeHint() const override
    {
        if (m_height >= 0)
            return QSize(length(), m_height);
        return QHeaderView::sizeHint();
    }

    // The width of a section that shows text whole, and the height of the header row's text.
    int WidthFor(int section, const QString &text) const { return SizeFor(section, text).width(); }
    int TextHeight() const { return SizeFor(0, QStringLiteral("Xg")).height(); }

private:
    QSize SizeFor(int section, const QString &text) const
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = section;
        option.text = text;
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

// Paints the data cells in the grid's own colours: the row's background and the cell's font
// colour, or the selection colours, whether or not the grid has the focus. The handlers of
// the main window switch the selection colours on focus changes themselves.
class TStringAlignGrid::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(TStringAlignGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const int col = index.column();
        const int row = index.row() + 1;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->fillRect(option.rect,
                          selected ? m_grid->SelectedCellColor() : m_grid->RowColor(row));
        painter->setPen(selected ? m_grid->SelectedFontColor() : m_grid->CellFontColor(col, row));
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight,
                                                           textRect.width());
        painter->drawText(textRect, int(m_grid->CellAlignment(col, row) | Qt::AlignVCenter), text);
        painter->restore();
    }

private:
    TStringAlignGrid *m_grid;
};

TStringAlignGrid::TStringAlignGrid(QWidget *parent)
    : QTableWidget(parent), m_header(new Header(this))
{
    setHorizontalHeader(m_header);
    m_header->setSectionsClickable(false);
    m_header->setHighlightSections(false);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setStretchLastSection(false);
    m_header->setMinimumSectionSize(0);
    m_header->setDefaultAlignment(m_headerAlignment | Qt::AlignVCenter);

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);

    setItemDelegate(new Delegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_defaultRowHeight = verticalHeader()->defaultSectionSize();
    m_gridColor = palette().color(QPalette::Base);
    m_selectedCellColor = palette().color(QPalette::Active, QPalette::Highlight);
    m_selectedFontColor = QColor(255, 255, 255);

    SetColCount(1);
    SetRowCount(2);
}

int TStringAlignGrid::RowCount() const
{
    return rowCount() + 1;
}

void TStringAlignGrid::SetRowCount(int rows)
{
    rows = std::max(rows, 1);
    setRowCount(rows - 1);
    m_rowColors.resize(rows);
    m_rowHeights.resize(rows, -1);
}

int TStringAlignGrid::ColCount() const
{
    return columnCount();
}

void TStringAlignGrid::SetColCount(int cols)
{
    cols = std::max(cols, 1);
    const int before = columnCount();
    setColumnCount(cols);
    m_columnAlignments.resize(cols, Qt::AlignLeft);
    m_widening.resize(cols, 0);
    m_colWidths.resize(cols);
    for (int col = before; col < cols; ++col)
        m_colWidths[col] = columnWidth(col);
}

bool TStringAlignGrid::IsCell(int col, int row) const
{
    return col >= 0 && col < ColCount() && row >= 0 && row < RowCount();
}

QTableWidgetItem *TStringAlignGrid::HeaderItem(int col)
{
    QTableWidgetItem *item = horizontalHeaderItem(col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(m_headerAlignment | Qt::AlignVCenter);
        setHorizontalHeaderItem(col, item);
    }
    return item;
}

QTableWidgetItem *TStringAlignGrid::DataItem(int col, int r)
{
    QTableWidgetItem *it = item(r - 1, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(kCellFlags);
        setItem(r - 1, col, it);
    }
    return it;
}

QString TStringAlignGrid::Cell(int col, int row) const
{
    if (!IsCell(col, row))
        return {};
    const QTableWidgetItem *it = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return it ? it->text() : QString();
}

void TStringAlignGrid::SetCell(int col, int row, const QString &text)
{
    if (!IsCell(col, row))
        return;
    (row == 0 ? HeaderItem(col) : DataItem(col, row))->setText(text);
}

// Never lower than the text of the row at the running font; 0 stays 0 (hidden).
int TStringAlignGrid::ShownRowHeight(int row, int height) const
{
    if (height <= 0)
        return 0;
    const int text = row == 0 ? m_header->TextHeight() : fontMetrics().height() + 2;
    return std::max(height, text);
}

int TStringAlignGrid::RowHeight(int row) const
{
    if (!IsCell(0, row))
        return 0;
    const int given = m_rowHeights[row] >= 0 ? m_rowHeights[row] : m_defaultRowHeight;
    if (row == 0)
        return m_header->isHidden()
                   ? 0
                   : (m_rowHeights[0] >= 0 ? given : m_header->sizeHint().height());
    return isRowHidden(row - 1) ? 0 : given;
}

void TStringAlignGrid::SetRowHeight(int row, int height)
{
    if (!IsCell(0, row))
        return;
    height = std::max(height, 0);
    m_rowHeights[row] = height;
    if (row == 0) {
        m_header->m_height = ShownRowHeight(0, height);
        m_header->setHidden(height == 0);
        updateGeometries();
        return;
    }
    if (height == 0) {
        setRowHidden(row - 1, true);
        return;
    }
    setRowHidden(row - 1, false);
    setRowHeight(row - 1, ShownRowHeight(row, height));
}

// Like a change of the default row height of a string grid: every row, the header row too,
// takes the new height, and hidden rows show again.
void TStringAlignGrid::SetDefaultRowHeight(int height)
{
    height = std::max(height, 1);
    m_defaultRowHeight = height;
    verticalHeader()->setDefaultSectionSize(ShownRowHeight(1, height));
    for (int row = 0; row < RowCount(); ++row)
        SetRowHeight(row, height);
}

int TStringAlignGrid::ColWidth(int col) const
{
    return col >= 0 && col < ColCount() ? m_colWidths[col] : 0;
}

void TStringAlignGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= ColCount())
        return;
    m_colWidths[col] = std::max(width, 0);
    setColumnWidth(col, m_colWidths[col] > 0 ? m_colWidths[col] + m_widening[col] : 0);
}

void TStringAlignGrid::Fit(const GridFit &fit)
{
    const QVector<int> widening = Widenings(fit, ColCount(), [this](int col, const QString &text) {
        return m_header->WidthFor(col, text);
    });
    int added = 0;
    for (int col = 0; col < ColCount(); ++col) {
        added += widening[col] - m_widening[col];
        m_widening[col] = widening[col];
        SetColWidth(col, m_colWidths[col]);
    }
    m_fitSize.setWidth(std::max(m_fitSize.width(), width() + added));
    if (fit.rows > 0) {
        const int header = m_header->isHidden() ? 0 : m_header->sizeHint().height();
        const int need =
            2 * frameWidth() + header + fit.rows * ShownRowHeight(1, m_defaultRowHeight);
        m_fitSize.setHeight(std::max({m_fitSize.height(), height(), need}));
    }
}

QSize TStringAlignGrid::FitSize(QSize size, const GridFit &fit, const QFont &font,
                                const QStyle *style)
{
    const QVector<int> widening =
        Widenings(fit, static_cast<int>(fit.narrowest.size()), [&](int, const QString &text) {
            return HeaderSectionSize(style, font, text).width();
        });
    QSize need(size.width() + std::accumulate(widening.begin(), widening.end(), 0), -1);
    if (fit.rows > 0) {
        QStyleOptionFrame frame;
        frame.frameShape = QFrame::StyledPanel;
        frame.state = QStyle::State_Sunken;
        const int frameWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, nullptr);
        const int header =
            std::max(fit.rowHeight, HeaderSectionSize(style, font, QStringLiteral("Xg")).height());
        const int row = std::max(fit.rowHeight, QFontMetrics(font).height() + 2);
        need.setHeight(std::max(size.height(), 2 * frameWidth + header + fit.rows * row));
    }
    return need;
}

QSize TStringAlignGrid::minimumSizeHint() const
{
    return QTableWidget::minimumSizeHint().expandedTo(m_fitSize);
}

QColor TStringAlignGrid::GridColor() const
{
    return m_gridColor;
}

void TStringAlignGrid::SetGridColor(const QColor &color)
{
    m_gridColor = color;
    // The area below the last row shows the grid colour too.
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, color);
    viewport()->setPalette(pal);
    viewport()->update();
}

QColor TStringAlignGrid::RowColor(int row) const
{
    if (row >= 1 && row < m_rowColors.size() && m_rowColors[row].isValid())
        return m_rowColors[row];
    return m_gridColor;
}

void TStringAlignGrid::SetRowColor(int row, const QColor &color)
{
    if (row < 1 || row >= RowCount())
        return;
    m_rowColors[row] = color;
    viewport()->update();
}

void TStringAlignGrid::ClearRowColors()
{
    std::fill(m_rowColors.begin(), m_rowColors.end(), QColor());
    viewport()->update();
}

QColor TStringAlignGrid::CellFontColor(int col, int row) const
{
    const QTableWidgetItem *it = nullptr;
    if (IsCell(col, row))
        it = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    const QBrush brush = it ? it->foreground() : QBrush();
    if (brush.style() != Qt::NoBrush)
        return brush.color();
    return palette().color(row == 0 ? QPalette::ButtonText : QPalette::Text);
}

void TStringAlignGrid::SetCellFontColor(int col, int row, const QColor &color)
{
    if (!IsCell(col, row))
        return;
    (row == 0 ? HeaderItem(col) : DataItem(col, row))->setForeground(color);
}

void TStringAlignGrid::SetHeaderAlignment(Qt::Alignment alignment)
{
    m_headerAlignment = alignment & Qt::AlignHorizontal_Mask;
    m_header->setDefaultAlignment(m_headerAlignment | Qt::AlignVCenter);
    for (int col = 0; col < ColCount(); ++col)
        HeaderItem(col)->setTextAlignment(m_headerAlignment | Qt::AlignVCenter);
}

void TStringAlignGrid::SetColumnAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= ColCount())
        return;
    m_columnAlignments[col] = alignment & Qt::AlignHorizontal_Mask;
    viewport()->update();
}

Qt::Alignment TStringAlignGrid::CellAlignment(int col, int row) const
{
    if (!IsCell(col, row))
        return Qt::AlignLeft;
    return row == 0 ? m_headerAlignment : m_columnAlignments[col];
}

QColor TStringAlignGrid::SelectedCellColor() const
{
    return m_selectedCellColor;
}

void TStringAlignGrid::SetSelectedCellColor(const QColor &color)
{
    m_selectedCellColor = color;
    viewport()->update();
}

QColor TStringAlignGrid::SelectedFontColor() const
{
    return m_selectedFontColor;
}

void TStringAlignGrid::SetSelectedFontColor(const QColor &color)
{
    m_selectedFontColor = color;
    viewport()->update();
}

TStringAlignGrid::Selection TStringAlignGrid::GetSelection() const
{
    const QItemSelection ranges = selectionModel()->selection();
    Selection sel;
    for (const QItemSelectionRange &range : ranges) {
        if (!range.isValid())
            continue;
        if (sel.isEmpty()) {
            sel = {range.left(), range.top() + 1, range.right(), range.bottom() + 1};
            continue;
        }
        sel.left = std::min(sel.left, range.left());
        sel.top = std::min(sel.top, range.top() + 1);
        sel.right = std::max(sel.right, range.right());
        sel.bottom = std::max(sel.bottom, range.bottom() + 1);
    }
    return sel;
}

// Only data cells can be selected; a block reaching beyond the grid is cut to it.
void TStringAlignGrid::SetSelection(const Selection &selection)
{
    if (selection.isEmpty()) {
        ClearSelection();
        return;
    }
    const int left = std::max(std::min(selection.left, selection.right), 0);
    const int right = std::min(std::max(selection.left, selection.right), ColCount() - 1);
    const int top = std::max(std::min(selection.top, selection.bottom), 1);
    const int bottom = std::min(std::max(selection.top, selection.bottom), RowCount() - 1);
    if (left > right || top > bottom) {
        ClearSelection();
        return;
    }
    const QModelIndex topLeft = model()->index(top - 1, left);
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, model()->index(bottom - 1, right)),
                             QItemSelectionModel::ClearAndSelect);
}

void TStringAlignGrid::ClearSelection()
{
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

QString TStringAlignGrid::SelectionText() const
{
    Selection block = GetSelection();
    if (block.isEmpty())
        block = {0, 0, ColCount() - 1, RowCount() - 1};
    QString text;
    for (int row = block.top; row <= block.bottom; ++row) {
        for (int col = block.left; col <= block.right; ++col) {
            text += Cell(col, row);
            text += QLatin1Char('\t');
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

void TStringAlignGrid::CopyToClipboard() const
{
    QGuiApplication::clipboard()->setText(SelectionText());
}

void TStringAlignGrid::keyReleaseEvent(QKeyEvent *event)
{
    emit keyReleased(event->key(), event->modifiers());
    QTableWidget::keyReleaseEvent(event);
}

void TStringAlignGrid::wheelEvent(QWheelEvent *event)
{
    emit wheelTurned();
    QTableWidget::wheelEvent(event);
}

void TStringAlignGrid::focusInEvent(QFocusEvent *event)
{
    QTableWidget::focusInEvent(event);
    emit focusEntered();
}

void TStringAlignGrid::focusOutEvent(QFocusEvent *event)
{
    QTableWidget::focusOutEvent(event);
    emit focusLeft();
}
