#include "ReportGridWidget.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>

namespace fendrel {

namespace {

constexpr int kTextMargin = 3;

bool looksNumeric(const QString& text) {
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

// Draws every cell itself: heading cells in their colours with black lines, the others white
// (yellow when selected) with grey lines; numbers to the right, words to the left.
class CellPainter : public QStyledItemDelegate {
public:
    explicit CellPainter(ReportGridWidget* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const GridColours& c = m_grid->colours();
        const bool fixed = m_grid->isFixed(index.row(), index.column());
        const bool selected =
            !fixed && m_grid->showsSelection() && (option.state & QStyle::State_Selected);
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, fixed ? c.fixedBack : selected ? c.selectionBack : c.normalBack);

        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            painter->setPen(fixed ? c.fixedText : selected ? c.selectionText : c.normalText);
            painter->setFont(option.font);
            const QRect area = r.adjusted(kTextMargin, 1, -kTextMargin - 1, -2);
            int flags = Qt::AlignVCenter;
            if (fixed)
                flags |= Qt::AlignHCenter;
            else
                flags |= looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft;
            // Headings wrap where their row has room for more than one line.
            if (area.height() >= 2 * option.fontMetrics.lineSpacing())
                flags |= Qt::TextWordWrap;
            painter->setClipRect(r.adjusted(0, 0, -1, -1));
            painter->drawText(area, flags, text);
            painter->setClipping(false);
        }

        if (option.state & QStyle::State_HasFocus) {
            QPen dotted(fixed ? c.fixedText : c.normalText);
            dotted.setStyle(Qt::DotLine);
            painter->setPen(dotted);
            painter->drawRect(r.adjusted(1, 1, -3, -3));
        }

        painter->setPen(fixed ? c.fixedLines : c.lines);
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

private:
    ReportGridWidget* m_grid;
};

} // namespace

ReportGridWidget::ReportGridWidget(int fixedRows, int fixedColumns, const GridColours& colours,
                                   QWidget* parent)
    : QTableWidget(parent), m_fixedRows(fixedRows), m_fixedColumns(fixedColumns),
      m_colours(colours) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new CellPainter(this));

    QPalette p = palette();
    p.setColor(QPalette::Base, colours.emptyArea);
    setPalette(p);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        m_block = selected.size() > 1;
        viewport()->update();
    });
}

bool ReportGridWidget::isFixed(int row, int column) const {
    return row < m_fixedRows || column < m_fixedColumns;
}

void ReportGridWidget::fillMissingItems() {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (item(r, c))
                continue;
            auto* cell = new QTableWidgetItem;
            cell->setFlags(isFixed(r, c) ? Qt::ItemIsEnabled
                                         : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, cell);
        }
    }
}

void ReportGridWidget::setRows(int rows) {
    const bool hadCurrent = currentIndex().isValid();
    setRowCount(std::max(0, rows));
    fillMissingItems();
    if (!hadCurrent || !currentIndex().isValid()) {
        if (rowCount() > m_fixedRows && columnCount() > m_fixedColumns)
            setCurrentCell(m_fixedRows, m_fixedColumns);
    }
}

void ReportGridWidget::setCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    fillMissingItems();
    item(row, column)->setText(text);
}

QString ReportGridWidget::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void ReportGridWidget::selectBlock(int row, int column, int toRow, int toColumn) {
    setCurrentCell(row, column, QItemSelectionModel::Clear);
    const QModelIndex from = model()->index(std::min(row, toRow), std::min(column, toColumn));
    const QModelIndex to = model()->index(std::max(row, toRow), std::max(column, toColumn));
    selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
}

QString ReportGridWidget::rangeText() const {
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    for (const QModelIndex& i : selectionModel()->selectedIndexes()) {
        top = std::min(top, i.row());
        left = std::min(left, i.column());
        bottom = std::max(bottom, i.row());
        right = std::max(right, i.column());
    }
    if (bottom < 0) {
        const QModelIndex current = currentIndex();
        if (!current.isValid())
            return {};
        top = bottom = current.row();
        left = right = current.column();
    }
    QString text;
    for (int r = top; r <= bottom; ++r) {
        if (r > top)
            text += QLatin1Char('\r');
        for (int c = left; c <= right; ++c) {
            if (c > left)
                text += QLatin1Char('\t');
            text += cellText(r, c);
        }
    }
    return text;
}

void ReportGridWidget::mousePressEvent(QMouseEvent* event) {
    // The right button leaves the selection as it is (it opens the context menu).
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && at.isValid() && isFixed(at.row(), at.column())) {
        setFocus(Qt::MouseFocusReason);
        const int lastRow = rowCount() - 1;
        const int lastColumn = columnCount() - 1;
        if (lastRow < m_fixedRows || lastColumn < m_fixedColumns)
            return;
        if (at.row() < m_fixedRows && at.column() >= m_fixedColumns)
            selectBlock(m_fixedRows, at.column(), lastRow, at.column());
        else if (at.column() < m_fixedColumns && at.row() >= m_fixedRows)
            selectBlock(at.row(), m_fixedColumns, at.row(), lastColumn);
        else
            selectBlock(m_fixedRows, m_fixedColumns, lastRow, lastColumn);
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

} // namespace fendrel
