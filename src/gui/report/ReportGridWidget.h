// A read-only grid of text cells with fixed (heading) rows and columns, drawn in the report's
// colours. Selections are one rectangular block of the other cells; a click on a heading
// selects its whole column or row.
#pragma once

#include <QColor>
#include <QTableWidget>

namespace fendrel {

struct GridColours {
    QColor fixedBack;
    QColor fixedText;
    QColor normalBack;
    QColor normalText;
    QColor selectionBack;
    QColor selectionText;
    QColor emptyArea;
    QColor lines;
    QColor fixedLines; // the lines around heading cells
};

class ReportGridWidget : public QTableWidget {
    Q_OBJECT
public:
    ReportGridWidget(int fixedRows, int fixedColumns, const GridColours& colours,
                     QWidget* parent = nullptr);

    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    bool isFixed(int row, int column) const;
    const GridColours& colours() const { return m_colours; }
    // A block of several cells is shown in the selection colours; a single selected cell is
    // the current cell and shows only its focus frame.
    bool showsSelection() const { return m_block; }

    // Changes the number of rows; the cells of the rows kept keep their texts.
    void setRows(int rows);
    void setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;

    // Selects the block of cells between the two corners (inclusive) and makes the first
    // corner the current cell.
    void selectBlock(int row, int column, int toRow, int toColumn);

    // The selected block as text: cells separated by a TAB, rows by a CR. Without a selection,
    // the current cell's text.
    QString rangeText() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fillMissingItems();

    int m_fixedRows;
    int m_fixedColumns;
    bool m_block = false; // more than one cell selected
    GridColours m_colours;
};

} // namespace fendrel
