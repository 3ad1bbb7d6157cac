// The self-drawn grid of the list windows (organizations, branches, employees, saved
// orders): a view of a source model, which the grid asks for the number of rows and for each
// cell's text when it paints, and which tells it when its rows change. Cells are painted as the
// program always painted them: the title row on the button face, a selected cell pale
// turquoise, others white, the text 6 pixels right and 2 down from the cell corner, at most 80
// characters. With no rows the grid shows four blank rows. Column widths come from the
// column-width table and go back into it (and into its file) when the user drags a column
// border.
#pragma once

#include "core/settings.h"
#include "storage/fileio.h"

#include <QAbstractProxyModel>
#include <QAbstractTableModel>
#include <QColor>
#include <QPersistentModelIndex>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

namespace editor {

// A table of texts read from its owner on demand: the number of rows and each cell's text come
// from two functions, the titles are fixed. It does not know when the owner's rows change: the
// owner tells the grid (ListGrid::refresh).
class CallbackTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowCount = std::function<int()>;
    using CellText = std::function<QString(int row, int column)>;

    CallbackTableModel(QStringList titles, RowCount rows, CellText cell, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList titles_;
    RowCount rows_;
    CellText cell_;
};

// What the grid shows of its source: the source's rows and columns, four blank rows while the
// source has none, each cell cut to 80 characters (the whole text for screen readers). It
// follows the source's changes: a change that empties the source or fills an empty one is a
// reset, since the blank rows come and go with it.
class ListGridModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit ListGridModel(QAbstractItemModel* source, QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The number of rows with data (the grid shows four blank rows when it is 0).
    int dataRows() const;
    // The full text of a cell, not cut to 80 characters.
    QString cellText(int row, int column) const;
    // Tells the views that the rows changed, for a source that does not say so itself.
    void reread();

private:
    // A change of the source's rows: as it is, or as a reset when the blank rows come or go.
    void beginRowChange(bool insert, int first, int last);
    void endRowChange();
    void beginLayoutChange(QAbstractItemModel::LayoutChangeHint hint);
    void endLayoutChange(QAbstractItemModel::LayoutChangeHint hint);

    std::vector<QMetaObject::Connection> connections_;
    enum class Change { None, Insert, Remove, Reset } change_ = Change::None;
    // The persistent indexes over a layout change, and the source indexes they stand for.
    QModelIndexList layoutFrom_;
    QList<QPersistentModelIndex> layoutSource_;
};

class ListGrid : public QTableView {
    Q_OBJECT
public:
    // The grid shows the rows of source, which must outlive it; the column widths are those
    // settings keep for grid.
    ListGrid(core::Settings& settings, core::Grid grid, QAbstractItemModel* source,
             QWidget* parent = nullptr);

    // The model the grid shows (the source with the blank rows and the cut texts).
    ListGridModel* gridModel() const { return model_; }
    // Rereads the rows of a source that does not tell when they change (and repaints).
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

protected slots:
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dragEnded();
    // Makes the kept current row current again after the rows changed under it: the same row
    // number, or the last data row when there are fewer rows now.
    void restoreCurrent();

    core::Settings& settings_;
    core::Grid grid_;
    ListGridModel* model_;
    QColor textColour_{Qt::black};
    bool columnDrag_ = false;     // the user resized a column; stored when the button is released
    bool applyingWidths_ = false; // the widths come from the table, not from the user
    QStringList firstStartSamples_;
    bool quiet_ = false; // the program, not the user, moves the current cell
    // The current cell (row, column) while the rows change under it (a reset, or the removal
    // of the current row).
    std::optional<std::pair<int, int>> keptCurrent_;
    bool quietBeforeRemoval_ = false; // quiet_ before the rows being removed
};

} // namespace editor
