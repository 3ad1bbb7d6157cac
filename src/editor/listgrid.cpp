#include "listgrid.h"

#include "storage/settings.h"
#include "storage/store.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <utility>

namespace editor {

namespace {

constexpr int EmptyRows = 4;     // blank rows of an empty grid
constexpr int MaxCellChars = 80; // a cell shows at most this many characters
// Before any width was stored, columns open this wide, so that a first start shows readable
// columns rather than the table's 16-pixel default.
constexpr int FirstStartColumnWidth = 100;
const QColor SelectedCell(175, 238, 238);

// Paints the data cells.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const QColor* textColour, QObject* parent)
        : QStyledItemDelegate(parent), textColour_(textColour) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? SelectedCell : QColor(Qt::white));
        painter->setPen(QColor(Qt::lightGray));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->setPen(*textColour_);
        painter->setFont(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect r = option.rect.adjusted(6, 2, -1, 0);
        painter->setClipRect(option.rect);
        painter->drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        painter->restore();
    }

private:
    const QColor* textColour_;
};

// Paints the title row: the button face, black text 6 pixels in and 2 down.
class TitleHeader : public QHeaderView {
public:
    explicit TitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setSectionsClickable(false);
        setHighlightSections(false);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        painter->save();
        painter->fillRect(rect, palette().color(QPalette::Button));
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->setPen(Qt::black);
        painter->drawText(rect.adjusted(6, 2, -1, 0), Qt::AlignLeft | Qt::AlignTop,
                          model()->headerData(section, Qt::Horizontal).toString());
        painter->restore();
    }
};

} // namespace

ListGridModel::ListGridModel(QStringList titles, RowCount rows, CellText cell, QObject* parent)
    : QAbstractTableModel(parent), titles_(std::move(titles)), rows_(std::move(rows)),
      cell_(std::move(cell)) {}

int ListGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    const int n = rows_();
    return n > 0 ? n : EmptyRows;
}

int ListGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

QString ListGridModel::cellText(int row, int column) const {
    if (row < 0 || row >= rows_() || column < 0 || column >= titles_.size())
        return {};
    return cell_(row, column);
}

QVariant ListGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cellText(index.row(), index.column()).left(MaxCellChars);
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return titles_.value(section);
    return {};
}

void ListGridModel::refresh() {
    beginResetModel();
    endResetModel();
}

ListGrid::ListGrid(storage::Store& store, int base, QStringList titles,
                   ListGridModel::RowCount rows, ListGridModel::CellText cell, QWidget* parent)
    : QTableView(parent), store_(store), base_(base),
      model_(new ListGridModel(std::move(titles), std::move(rows), std::move(cell), this)) {
    setObjectName(QStringLiteral("StringGrid1"));
    setHorizontalHeader(new TitleHeader(this));
    setModel(model_);
    setItemDelegate(new CellDelegate(&textColour_, this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(2);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(this, &QAbstractItemView::pressed, this,
            [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { emit cellDoubleClicked(i.row(), i.column()); });
    applyColumnWidths();
}

void ListGrid::refresh() {
    const int current = currentDataRow();
    const bool wasQuiet = std::exchange(quiet_, true);
    model_->refresh();
    applyColumnWidths();
    if (current >= 0)
        setCurrentDataRow(std::min(current, std::max(0, model_->dataRows() - 1)));
    quiet_ = wasQuiet;
}

int ListGrid::currentDataRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void ListGrid::setCurrentDataRow(int row) {
    const int column = std::max(0, currentIndex().column());
    const bool wasQuiet = std::exchange(quiet_, true);
    setCurrentIndex(model_->index(row, column));
    quiet_ = wasQuiet;
}

void ListGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!quiet_ && current.isValid() && current.row() < model_->dataRows())
        emit cellSelected(current.row(), current.column());
}

std::pair<int, int> ListGrid::selectedRange() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    if (rows.isEmpty()) {
        const int c = currentDataRow();
        return {c, c};
    }
    int first = rows.front().row(), last = first;
    for (const QModelIndex& i : rows) {
        first = std::min(first, i.row());
        last = std::max(last, i.row());
    }
    return {first, last};
}

void ListGrid::setTextColour(const QColor& c) {
    textColour_ = c;
    viewport()->update();
}

void ListGrid::applyColumnWidths() {
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = store_.ColWidths[std::size_t(base_ + c)];
        if (!store_.ColWidthsFromFile) {
            const QString title = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            width = std::max({width, FirstStartColumnWidth,
                              horizontalHeader()->fontMetrics().horizontalAdvance(title) + 14});
        }
        setColumnWidth(c, width);
    }
}

storage::IoResult ListGrid::storeColumnWidths() {
    bool differs = false;
    for (int c = 0; c < model_->columnCount(); ++c)
        differs = differs || columnWidth(c) != store_.ColWidths[std::size_t(base_ + c)];
    if (!differs)
        return {};
    for (int c = 0; c < model_->columnCount(); ++c)
        store_.ColWidths[std::size_t(base_ + c)] =
            std::uint16_t(std::clamp(columnWidth(c), 0, 65535));
    // Hidden and shown again, the grid repaints with its new widths. Getting the focus back
    // may move the current cell on; it stays where it was.
    const QModelIndex current = currentIndex();
    const bool wasQuiet = std::exchange(quiet_, true);
    hide();
    show();
    if (current.isValid())
        setCurrentIndex(current);
    quiet_ = wasQuiet;
    storage::IoResult written = storage::SaveFileCol(store_);
    if (written)
        store_.ColWidthsFromFile = true;
    return written;
}

void ListGrid::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        columnDrag_ = true;
    QTableView::mouseMoveEvent(event);
}

void ListGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    emit mouseReleased();
    dragEnded();
}

bool ListGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseMove &&
            (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton))
            columnDrag_ = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            QMetaObject::invokeMethod(this, &ListGrid::dragEnded, Qt::QueuedConnection);
    }
    return QTableView::eventFilter(watched, event);
}

void ListGrid::dragEnded() {
    if (!columnDrag_)
        return;
    columnDrag_ = false;
    if (storage::IoResult r = storeColumnWidths(); !r)
        emit columnWidthsFailed(r.error);
}

} // namespace editor
