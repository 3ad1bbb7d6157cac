// The self-drawn grid of the list windows (organizations, branches, employees, saved
// orders). The grid holds no texts: it asks its owner for the number of rows and for each
// cell's text when it paints. Cells are painted as the program always painted them: the title
// row on the button face, a selected cell pale turquoise, others white, the text 6 pixels
// right and 2 down from the cell corner, at most 80 characters. With no rows the grid shows
// four blank rows. Column widths come from the column-width table and go back into it (and
// into its file) when the user drags a column border.
#pragma once

#include "core/settings.h"
#include "storage/fileio.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>
#include <functional>

namespace editor {

class ListGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowCount = std::function<int()>;
    using CellText = std::function<QString(int row, int column)>;

    ListGridModel(QStringList titles, RowCount rows, CellText cell, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The number of rows with data (the grid shows four blank rows when it is 0).
    int dataRows() const { return rows_(); }
    // The full text of a cell, not cut to 80 characters.
    QString cellText(int row, int column) const;
    // Tells the views that the rows changed.
    void refresh();

private:
    QStringList titles_;
    RowCount rows_;
    CellText cell_;
};

class ListGrid : public QTableView {
    Q_OBJECT
public:
    // The column widths are those settings keep for grid.
    ListGrid(core::Settings& settings, core::Grid grid, QStringList titles,
             ListGridModel::RowCount rows, ListGridModel::CellText cell, QWidget* parent = nullptr);

    ListGridModel* gridModel() const { return model_; }
    // Rereads the rows (and repaints).
    void refresh();
    // The current data row (0-based), -1 when there is none.
    int currentDataRow() const;
    void setCurrentDataRow(int row);
    // The first and last selected data rows (0-based); first = last = current without a range.
    std::pair<int, int> selectedRange() const;
    // Text colour of the data cells (red shows deleted organizations).
    void setTextColour(const QColor& c);
    // Sets the column widths from the table.
    void applyColumnWidths();
    // Texts that each column shows whole while no widths are stored (a missing or empty text:
    // the column's title decides); the widths follow at once.
    void setFirstStartSamples(QStringList samples);
    // Column-drag rule: when any width differs from the table, all widths go into the table
    // and the file is written. Returns the write's result (ok when nothing was written).
    storage::IoResult storeColumnWidths();

signals:
    // A data row was clicked (cell press) or double-clicked; Enter on a data row is reported
    // as a double click.
    void cellClicked(int row, int column);
    // The user made a data cell current, with the mouse or the keys (not reported when the
    // program moves the current cell).
    void cellSelected(int row, int column);
    void cellDoubleClicked(int row, int column);
    // The mouse button was released over the grid (after a selection or a drag).
    void mouseReleased();
    // The keys moved the current cell (and, with Shift, the selected range).
    void keySelection();
    // Delete was pressed on a data row.
    void deleteRequested();
    // Writing the column widths failed.
    void columnWidthsFailed(const QString& error);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dragEnded();

    core::Settings& settings_;
    core::Grid grid_;
    ListGridModel* model_;
    QColor textColour_{Qt::black};
    bool columnDrag_ = false;     // the user resized a column; stored when the button is released
    bool applyingWidths_ = false; // the widths come from the table, not from the user
    QStringList firstStartSamples_;
    bool quiet_ = false; // the program, not the user, moves the current cell
};

} // namespace editor
