#include "listgrid.h"

#include <QApplication>
#include <QCache>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace editor {

namespace {

constexpr int EmptyRows = 4;     // blank rows of an empty grid
constexpr int MaxCellChars = 80; // a cell shows at most this many characters
// Before the grid's widths were stored, columns open this wide, so that a first start shows
// readable columns rather than the table's 16-pixel default.
constexpr int FirstStartColumnWidth = 100;
const QColor SelectedCell(175, 238, 238);
const QColor White(Qt::white);
const QColor FrameColour(Qt::lightGray);
// Laid-out cell texts kept for repainting: more than the different texts of one pass over a
// list of a thousand rows (the amounts of 1024 saved orders alone are 1024 texts).
constexpr int MaxCachedLayouts = 2048;
constexpr qsizetype MaxCachedImageBytes = 4 << 20; // images of cells kept for repainting
constexpr qsizetype SeenCellCost = 128;            // what the mark of a cell seen once counts

// A cell's text with the width it is shown in.
struct CellLayoutKey {
    QString text;
    int width;
    bool operator==(const CellLayoutKey&) const = default;
};

size_t qHash(const CellLayoutKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.width);
}

// Everything a painted cell's pixels depend on (the font aside, which the delegate follows):
// its text, size and colours, and the format and resolution of the image it is painted into.
struct CellImageKey {
    QString text;
    QSize size;
    QRgb background;
    QRgb colour;
    QImage::Format format;
    QSize dpi;
    bool operator==(const CellImageKey&) const = default;
};

size_t qHash(const CellImageKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.size.width(), key.size.height(), key.background,
                      key.colour, int(key.format), key.dpi.width(), key.dpi.height());
}

// The format of the image a painter draws into, when a cell drawn into an image of that format
// and copied there gives the same pixels as the cell drawn there directly: a raster image at
// one pixel per unit, moved by whole pixels only, no clip of the painter's own, plain copying.
std::optional<QImage::Format> copyableFormat(const QPainter* painter) {
    const QPaintEngine* engine = painter->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster)
        return std::nullopt;
    const QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image || device->devicePixelRatio() != 1 ||
        painter->device()->devicePixelRatio() != 1)
        return std::nullopt;
    const QTransform t = painter->deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return std::nullopt;
    if (painter->hasClipping() || painter->opacity() != 1 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    return static_cast<const QImage*>(device)->format();
}

// Paints the data cells: white or the selection colour, a light grey frame, the text 6 pixels
// in and 2 down, cut at the cell's edge. A cell painted a second time is kept as an image and
// copied from then on: a list shows the same names, dates and states in many rows, and
// drawing the glyphs is most of the cost of painting a cell.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const QColor* textColour, QObject* parent)
        : QStyledItemDelegate(parent), textColour_(textColour) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect& cell = option.rect;
        const QColor& background = option.state & QStyle::State_Selected ? SelectedCell : White;
        const QString text = index.data(Qt::DisplayRole).toString();
        followFont(option.font);
        const std::optional<QImage::Format> format = copyableFormat(painter);
        if (!format || cell.isEmpty()) {
            drawCell(painter, cell, background, text, option.font);
            return;
        }
        const QSize dpi(painter->device()->logicalDpiX(), painter->device()->logicalDpiY());
        const CellImageKey key{text,    cell.size(), background.rgba(), textColour_->rgba(),
                               *format, dpi};
        const QImage* kept = images_.object(key);
        if (!kept) { // seen for the first time: only noted
            images_.insert(key, new QImage, SeenCellCost);
            drawCell(painter, cell, background, text, option.font);
            return;
        }
        if (kept->isNull()) {
            QImage image(cell.size(), *format);
            // The font takes its pixel size from the resolution, which must be the grid's.
            image.setDotsPerMeterX(qRound(dpi.width() / 0.0254));
            image.setDotsPerMeterY(qRound(dpi.height() / 0.0254));
            QPainter imagePainter(&image);
            imagePainter.setRenderHints(painter->renderHints());
            drawCell(&imagePainter, image.rect(), background, text, option.font);
            imagePainter.end();
            painter->drawImage(cell.topLeft(), image);
            const qsizetype bytes = image.sizeInBytes();
            images_.insert(key, new QImage(std::move(image)), bytes);
            return;
        }
        painter->drawImage(cell.topLeft(), *kept);
    }

private:
    // A light grey frame one pixel wide around the background, then the text. The frame
    // colour under the whole cell, then the inside, costs two fills.
    void drawCell(QPainter* painter, const QRect& cell, const QColor& background,
                  const QString& text, const QFont& font) const {
        painter->fillRect(cell, FrameColour);
        painter->fillRect(cell.adjusted(1, 1, -1, -1), background);
        const QRect r = cell.adjusted(6, 2, -1, 0);
        if (r.width() <= 0 || text.isEmpty())
            return;
        painter->save();
        painter->setPen(*textColour_);
        painter->setFont(font);
        painter->setClipRect(cell);
        painter->drawStaticText(r.topLeft(), laidOut(text, r.width(), font));
        painter->restore();
    }

    // What is kept holds for one font only and is dropped when the font changes.
    void followFont(const QFont& font) const {
        if (font == layoutFont_)
            return;
        layoutFont_ = font;
        advances_.clear();
        layouts_.clear();
        images_.clear();
    }

    // How many leading characters of text reach into a width, with one more so that kerning
    // never cuts a visible glyph. The advances of single characters are remembered for the
    // font; a record holds no more than 256 different characters.
    qsizetype visibleLength(const QString& text, int width, const QFont& font) const {
        const QFontMetricsF metrics(font);
        qreal x = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            const auto known = advances_.constFind(c);
            x += known != advances_.cend()
                     ? *known
                     : *advances_.insert(c, metrics.horizontalAdvance(QChar(c)));
            if (x > width)
                return i + 2;
        }
        return text.size();
    }

    // The text as far as it reaches into the width, laid out for the font. The layouts of
    // recent texts are kept: shaping a text is most of the cost of drawing a new cell.
    const QStaticText& laidOut(const QString& text, int width, const QFont& font) const {
        const CellLayoutKey key{text, width};
        if (const QStaticText* known = layouts_.object(key))
            return *known;
        auto* layout = new QStaticText(text.left(visibleLength(text, width, font)));
        layout->setTextFormat(Qt::PlainText);
        layout->prepare(QTransform(), font);
        layouts_.insert(key, layout);
        return *layout;
    }

    const QColor* textColour_;
    mutable std::optional<QFont> layoutFont_; // the font of what is kept
    mutable QHash<char16_t, qreal> advances_;
    mutable QCache<CellLayoutKey, QStaticText> layouts_{MaxCachedLayouts};
    // Images of cells painted more than once, in bytes; a null image marks a cell seen once.
    mutable QCache<CellImageKey, QImage> images_{MaxCachedImageBytes};
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
        if (isSortIndicatorShown() && sortIndicatorSection() == section)
            paintSortArrow(painter, rect);
        painter->restore();
    }

private:
    // A small filled triangle at the right of the title: up when ascending, down when not.
    void paintSortArrow(QPainter* painter, const QRect& rect) const {
        const int half = std::max(3, fontMetrics().height() / 5);
        const QPointF centre(rect.right() - 4 - half, rect.center().y());
        const qreal tip = sortIndicatorOrder() == Qt::AscendingOrder ? -half : half;
        const QPointF points[] = {{centre.x() - half, centre.y() - tip / 2},
                                  {centre.x() + half, centre.y() - tip / 2},
                                  {centre.x(), centre.y() + tip / 2}};
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::black);
        painter->drawPolygon(points, 3);
    }
};

} // namespace

CallbackTableModel::CallbackTableModel(QStringList titles, RowCount rows, CellText cell,
                                       QObject* parent)
    : QAbstractTableModel(parent), titles_(std::move(titles)), rows_(std::move(rows)),
      cell_(std::move(cell)) {}

int CallbackTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_();
}

int CallbackTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

QVariant CallbackTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) ||
        index.row() >= rows_() || index.column() >= titles_.size())
        return {};
    return cell_(index.row(), index.column());
}

QVariant CallbackTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return titles_.value(section);
}

ListGridModel::ListGridModel(QAbstractItemModel* source, QObject* parent)
    : QAbstractProxyModel(parent) {
    setSourceModel(source);
}

void ListGridModel::setSourceModel(QAbstractItemModel* source) {
    beginResetModel();
    for (const QMetaObject::Connection& c : connections_)
        disconnect(c);
    connections_.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        using M = QAbstractItemModel;
        const auto on = [&](auto signal, auto slot) {
            connections_.push_back(connect(source, signal, this, slot));
        };
        on(&M::modelAboutToBeReset, [this] { beginResetModel(); });
        on(&M::modelReset, [this] { endResetModel(); });
        on(&M::rowsAboutToBeInserted,
           [this](const QModelIndex&, int first, int last) { beginRowChange(true, first, last); });
        on(&M::rowsInserted, [this] { endRowChange(); });
        on(&M::rowsAboutToBeRemoved,
           [this](const QModelIndex&, int first, int last) { beginRowChange(false, first, last); });
        on(&M::rowsRemoved, [this] { endRowChange(); });
        // Rows or columns that move and columns that come or go are rare enough in a list to
        // be shown afresh.
        for (auto about : {&M::rowsAboutToBeMoved, &M::columnsAboutToBeMoved})
            on(about, [this] { beginResetModel(); });
        for (auto done : {&M::rowsMoved, &M::columnsMoved})
            on(done, [this] { endResetModel(); });
        for (auto about : {&M::columnsAboutToBeInserted, &M::columnsAboutToBeRemoved})
            on(about, [this] { beginResetModel(); });
        for (auto done : {&M::columnsInserted, &M::columnsRemoved})
            on(done, [this] { endResetModel(); });
        on(&M::dataChanged, [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                   const QList<int>& roles) {
            emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), roles);
        });
        on(&M::headerDataChanged, [this](Qt::Orientation orientation, int first, int last) {
            emit headerDataChanged(orientation, first, last);
        });
        on(&M::layoutAboutToBeChanged, [this](const QList<QPersistentModelIndex>&,
                                              LayoutChangeHint hint) { beginLayoutChange(hint); });
        on(&M::layoutChanged, [this](const QList<QPersistentModelIndex>&, LayoutChangeHint hint) {
            endLayoutChange(hint);
        });
    }
    endResetModel();
}

int ListGridModel::dataRows() const {
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

QModelIndex ListGridModel::index(int row, int column, const QModelIndex& parent) const {
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex ListGridModel::parent(const QModelIndex&) const {
    return {};
}

int ListGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    const int n = dataRows();
    return n > 0 ? n : EmptyRows;
}

bool ListGridModel::hasChildren(const QModelIndex& parent) const {
    return !parent.isValid() && columnCount() > 0;
}

int ListGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex ListGridModel::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || proxyIndex.row() >= dataRows())
        return {};
    return sourceModel()->index(proxyIndex.row(), proxyIndex.column());
}

QModelIndex ListGridModel::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid() || sourceIndex.parent().isValid())
        return {};
    return createIndex(sourceIndex.row(), sourceIndex.column());
}

QString ListGridModel::cellText(int row, int column) const {
    if (row < 0 || row >= dataRows() || column < 0 || column >= columnCount())
        return {};
    return sourceModel()->index(row, column).data(Qt::DisplayRole).toString();
}

QVariant ListGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column()).left(MaxCellChars);
    if (role == Qt::AccessibleTextRole) // a screen reader reads the whole text
        return cellText(index.row(), index.column());
    return {};
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !sourceModel())
        return {};
    return sourceModel()->headerData(section, orientation, role);
}

Qt::ItemFlags ListGridModel::flags(const QModelIndex& index) const {
    // Blank rows are chosen like the others: the selection panel counts them.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void ListGridModel::reread() {
    beginResetModel();
    endResetModel();
}

void ListGridModel::beginRowChange(bool insert, int first, int last) {
    const int rows = dataRows();
    if (insert ? rows == 0 : last - first + 1 >= rows) {
        change_ = Change::Reset;
        beginResetModel();
    } else if (insert) {
        change_ = Change::Insert;
        beginInsertRows({}, first, last);
    } else {
        change_ = Change::Remove;
        beginRemoveRows({}, first, last);
    }
}

void ListGridModel::endRowChange() {
    switch (std::exchange(change_, Change::None)) {
    case Change::Insert:
        endInsertRows();
        break;
    case Change::Remove:
        endRemoveRows();
        break;
    case Change::Reset:
        endResetModel();
        break;
    case Change::None:
        break;
    }
}

void ListGridModel::beginLayoutChange(QAbstractItemModel::LayoutChangeHint hint) {
    emit layoutAboutToBeChanged({}, hint);
    // The cells the views hold (the current one, the selection) follow their source rows.
    layoutFrom_ = persistentIndexList();
    layoutSource_.clear();
    layoutSource_.reserve(layoutFrom_.size());
    for (const QModelIndex& i : layoutFrom_)
        layoutSource_ << QPersistentModelIndex(mapToSource(i));
}

void ListGridModel::endLayoutChange(QAbstractItemModel::LayoutChangeHint hint) {
    QModelIndexList to;
    to.reserve(layoutFrom_.size());
    const int rows = dataRows();
    for (qsizetype k = 0; k < layoutFrom_.size(); ++k)
        to << (layoutFrom_[k].row() >= rows ? layoutFrom_[k] : mapFromSource(layoutSource_[k]));
    changePersistentIndexList(layoutFrom_, to);
    layoutFrom_.clear();
    layoutSource_.clear();
    emit layoutChanged({}, hint);
}

ListGrid::ListGrid(core::Settings& settings, core::Grid grid, QAbstractItemModel* source,
                   QWidget* parent)
    : QTableView(parent), settings_(settings), grid_(grid),
      model_(new ListGridModel(source, this)) {
    setObjectName(QStringLiteral("listGrid"));
    setHorizontalHeader(new TitleHeader(this));
    // Before the rows come: a shown row header measures rows, a new size resizes each row.
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setModel(model_);
    setItemDelegate(new CellDelegate(&textColour_, this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(2);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    // A column border dragged in the title row resizes its section; the widths are stored
    // when the mouse button is released, once per drag.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (!applyingWidths_)
            columnDrag_ = true;
    });
    horizontalHeader()->viewport()->installEventFilter(this);
    // Tab leaves the grid for the next control, as it leaves every other control; the arrow
    // keys move between the cells.
    setTabKeyNavigation(false);
    // A cell or row chosen through the accessibility interface, which selects it without
    // making it current, becomes current as a click makes it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList chosen = selectionModel()->selectedIndexes();
        if (chosen.isEmpty() || chosen.contains(currentIndex()))
            return;
        const int row = chosen.first().row();
        if (std::all_of(chosen.begin(), chosen.end(),
                        [row](const QModelIndex& i) { return i.row() == row; }))
            setCurrentIndex(chosen.size() == 1
                                ? chosen.first()
                                : model_->index(row, std::max(0, currentIndex().column())));
    });
    connect(this, &QAbstractItemView::pressed, this,
            [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { emit cellDoubleClicked(i.row(), i.column()); });
    // The current row stays in its place while the rows change under it. After a reset it is
    // put back here, after the view and the selection model have cleared it (they were
    // connected first, by setModel).
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (const QModelIndex i = currentIndex(); i.isValid())
            keptCurrent_ = {i.row(), i.column()};
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &ListGrid::restoreCurrent);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] {
        restoreCurrent();
        quiet_ = quietBeforeRemoval_;
    });
    applyColumnWidths();
}

void ListGrid::refresh() {
    model_->reread();
    applyColumnWidths();
}

void ListGrid::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    // The current row goes: the row that takes its place becomes current (the selection model
    // would make the row above it current). Until the rows are gone, the program moves the
    // current cell.
    if (const QModelIndex i = currentIndex(); i.isValid() && i.row() >= start && i.row() <= end)
        keptCurrent_ = {start, i.column()};
    quietBeforeRemoval_ = std::exchange(quiet_, true);
    QTableView::rowsAboutToBeRemoved(parent, start, end);
}

void ListGrid::restoreCurrent() {
    const std::optional<std::pair<int, int>> kept = std::exchange(keptCurrent_, std::nullopt);
    if (!kept)
        return;
    const bool wasQuiet = std::exchange(quiet_, true);
    setCurrentIndex(model_->index(std::min(kept->first, std::max(0, model_->dataRows() - 1)),
                                  std::min(kept->second, model_->columnCount() - 1)));
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

void ListGrid::keyPressEvent(QKeyEvent* event) {
    const int row = currentDataRow();
    const bool onData = row >= 0 && row < model_->dataRows();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onData)
            emit cellDoubleClicked(row, currentIndex().column());
        event->accept();
        return;
    case Qt::Key_Delete:
        if (onData)
            emit deleteRequested();
        event->accept();
        return;
    default:
        break;
    }
    const QModelIndex before = currentIndex();
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
        (event->modifiers() & Qt::ControlModifier)) {
        // Ctrl+Home and Ctrl+End do what Home and End do; with Shift they select as well
        // (the view would otherwise leave the selection alone while Ctrl is held).
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ControlModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QTableView::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
    } else {
        QTableView::keyPressEvent(event);
    }
    if (currentIndex() != before)
        emit keySelection();
}

QModelIndex ListGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Home and End go to the first and the last row, in the current column: with Shift they
    // select the rows up to there.
    const int column = std::max(currentIndex().column(), 0);
    if (action == MoveHome)
        return model_->index(0, column);
    if (action == MoveEnd)
        return model_->index(model_->rowCount() - 1, column);
    return QTableView::moveCursor(action, modifiers);
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
    const bool wasApplying = std::exchange(applyingWidths_, true);
    const bool stored = settings_.columnWidthsKept(grid_, model_->columnCount());
    const QList<int> widths = settings_.columnWidths(grid_, model_->columnCount());
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = widths[c];
        if (!stored) {
            const QString title = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            width = std::max({width, FirstStartColumnWidth,
                              horizontalHeader()->fontMetrics().horizontalAdvance(title) + 14});
            if (c < firstStartSamples_.size() && !firstStartSamples_[c].isEmpty())
                width =
                    std::max(width, fontMetrics().horizontalAdvance(firstStartSamples_[c]) + 14);
        }
        setColumnWidth(c, width);
    }
    applyingWidths_ = wasApplying;
}

void ListGrid::setFirstStartSamples(QStringList samples) {
    firstStartSamples_ = std::move(samples);
    applyColumnWidths();
}

storage::IoResult ListGrid::storeColumnWidths() {
    QList<int> widths;
    for (int c = 0; c < model_->columnCount(); ++c)
        widths << columnWidth(c);
    if (widths == settings_.columnWidths(grid_, model_->columnCount()))
        return {};
    settings_.setColumnWidths(grid_, widths);
    viewport()->update();
    return settings_.saveColumnWidths();
}

void ListGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    emit mouseReleased();
    // A release over the cells also ends a resize (a border dragged past the title row).
    dragEnded();
}

bool ListGrid::eventFilter(QObject* watched, QEvent* event) {
    // After the header has taken the release and ended its resize.
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease)
        QMetaObject::invokeMethod(this, &ListGrid::dragEnded, Qt::QueuedConnection);
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
