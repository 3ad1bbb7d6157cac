#include "orderarchive.h"

#include "storage/cp1251.h"
#include "storage/orderdate.h"
#include "storage/platfile.h"
#include "storage/words.h"

#include <QDate>
#include <QDir>
#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

namespace core {

using storage::cp1251::toUnicode;

namespace {

QString indexPath(const ProgramFolder& folder) {
    return folder.dataDir() + QStringLiteral("Index");
}

std::string_view nameView(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// The name the list shows for the organization at: its own, the legal form shortened.
storage::WorkText listedName(const Directory& directory, int at) {
    return storage::shortenLegalForm(directory.organization(at).name.view());
}

} // namespace

storage::PartyNameFn partyNames(const Directory& directory) {
    // A scan names every payer and payee once: the organizations are found by a table of their
    // INNs (the first organization of an INN keeps it) rather than a pass over the directory
    // for each.
    auto byInn = std::make_shared<std::unordered_map<std::string_view, int>>();
    for (int i = directory.organizationCount() - 1; i >= 0; --i)
        if (const std::string_view inn = directory.organization(i).inn.view(); !inn.empty())
            (*byInn)[inn] = i;
    return [&directory, byInn](std::string_view inn, storage::ShortStr<128>& name) {
        const auto found = byInn->find(inn);
        if (found == byInn->end())
            return false;
        name.assign(listedName(directory, found->second).view());
        return true;
    };
}

OrderArchive::OrderArchive(ProgramFolder& folder, const Settings& settings,
                           const Directory& directory)
    : folder_(folder), settings_(settings), directory_(directory) {}

storage::SavedOrderRules OrderArchive::rules(int currentYear) const {
    return {settings_.currentYearOnly(), currentYear, folder_.readOnly()};
}

storage::IoResult OrderArchive::scan() {
    return scan(QDate::currentDate().year());
}

storage::IoResult OrderArchive::scan(int currentYear) {
    currentYear_ = currentYear;
    const QString ordersDir = folder_.ordersDir();
    storage::OrderFolderScan found;
    storage::IoResult r = storage::scanOrderFolder(ordersDir, indexPath(folder_), {}, found);
    // A run that only reads the folder writes no index; nor does a folder without one to keep.
    if (r && !found.indexCurrent && !folder_.readOnly() && QDir(folder_.dataDir()).exists())
        storage::writeOrderIndex(indexPath(folder_), ordersDir, found);
    beginResetModel();
    orders_.build(std::move(found), ordersDir, rules(currentYear), partyNames(directory_));
    filter_ = {};
    search_.clear();
    rebuild();
    endResetModel();
    emit listChanged();
    if (!r)
        return r;
    if (const QStringList unread = orders_.problemMessages(ordersDir); !unread.isEmpty())
        return storage::IoResult::failure(unread.join(u'\n'));
    return {};
}

std::uint32_t OrderArchive::highestNumber(std::string_view payerInn) const {
    for (const storage::OrderPayer& p : orders_.payers())
        if (orders_.party(p.party).inn.view() == payerInn)
            return p.maxNumber;
    return 0;
}

int OrderArchive::ordersWithParty(std::string_view inn) const {
    int n = 0;
    for (std::uint32_t order : orders_.listOrder()) {
        const storage::SavedOrders::Row& r = orders_.row(order);
        if (r.problem)
            continue;
        if (orders_.payerInn(order) == inn ||
            (r.payee != storage::NoParty && orders_.party(r.payee).inn.view() == inn))
            ++n;
    }
    return n;
}

QString OrderArchive::partyName(std::string_view inn) const {
    const int at = directory_.organizationWithInn(inn);
    return toUnicode(at < 0 ? inn : listedName(directory_, at).view());
}

// --- the rows shown ---------------------------------------------------------------------------

int OrderArchive::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int OrderArchive::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const QStringList& OrderArchive::columnTitles() {
    static const QStringList titles{QStringLiteral("№"),          QStringLiteral("Дата."),
                                    QStringLiteral("Плательщик"), QStringLiteral("Кому"),
                                    QStringLiteral("Сумма"),      QStringLiteral("Состояние")};
    return titles;
}

QString OrderArchive::cellText(int row, int column) const {
    if (row < 0 || std::size_t(row) >= shown_.size())
        return {};
    const std::uint32_t order = shown_[std::size_t(row)];
    const storage::FolderOrder& f = orders_.file(order);
    const storage::SavedOrders::Row& r = orders_.row(order);
    switch (column) {
    case 0:
        return toUnicode(orders_.numberText(order));
    case 1:
        return toUnicode(f.date.view());
    case 2:
        return r.payer == storage::NoParty ? QString()
                                           : toUnicode(orders_.party(r.payer).name.view());
    case 3:
        return r.payee == storage::NoParty ? QString()
                                           : toUnicode(orders_.party(r.payee).name.view());
    case 4:
        return toUnicode(f.amount.view());
    case 5:
        // The state of an order that could not be read is unknown: the reason stands there.
        if (r.problem)
            return QStringLiteral("Не прочитана: %1").arg(orders_.problem(order));
        return f.accepted == 1 ? QStringLiteral("Оплачено") : QStringLiteral("Не оплачено");
    default:
        return {};
    }
}

QVariant OrderArchive::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return cellText(index.row(), index.column());
}

QVariant OrderArchive::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return columnTitles().value(section);
}

QString OrderArchive::fileNameAt(int row) const {
    if (row < 0 || std::size_t(row) >= shown_.size())
        return {};
    const std::string_view name = orders_.name(shown_[std::size_t(row)]);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

int OrderArchive::rowOf(std::string_view fileName) const {
    const std::int64_t order = orders_.find(fileName);
    if (order < 0)
        return -1;
    const auto it = std::find(shown_.begin(), shown_.end(), std::uint32_t(order));
    return it == shown_.end() ? -1 : int(it - shown_.begin());
}

void OrderArchive::sort(int column, Qt::SortOrder order) {
    if (column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> orders;
    orders.reserve(std::size_t(before.size()));
    for (const QModelIndex& i : before)
        orders.push_back(shown_[std::size_t(i.row())]);
    sortColumn_ = column;
    sortOrder_ = order;
    rebuild();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype k = 0; k < before.size(); ++k) {
        const auto it = std::find(shown_.begin(), shown_.end(), orders[std::size_t(k)]);
        after << index(int(it - shown_.begin()), before[k].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void OrderArchive::setFilter(const OrderFilter& filter) {
    beginResetModel();
    filter_ = filter;
    rebuild();
    endResetModel();
}

void OrderArchive::setSearch(const QString& text) {
    if (text == search_)
        return;
    beginResetModel();
    search_ = text;
    rebuild();
    endResetModel();
}

bool OrderArchive::passesFilter(std::uint32_t order) const {
    if (filter_.payerInn && orders_.payerInn(order) != *filter_.payerInn)
        return false;
    if (filter_.payeeInn) {
        const std::uint32_t payee = orders_.row(order).payee;
        if (payee == storage::NoParty || orders_.party(payee).inn.view() != *filter_.payeeInn)
            return false;
    }
    return true;
}

void OrderArchive::rebuild() {
    std::vector<std::uint32_t> rows;
    rows.reserve(orders_.size());
    const storage::OrderSearch search(orders_, search_);
    for (std::uint32_t order : orders_.listOrder())
        if ((!filter_.active() || passesFilter(order)) && (search.empty() || search.matches(order)))
            rows.push_back(order);
    if (sortColumn_ >= 0)
        rows = orders_.sorted(std::move(rows), storage::OrderColumn(sortColumn_),
                              sortOrder_ == Qt::DescendingOrder);
    shown_ = std::move(rows);
}

storage::OrdersSum OrderArchive::sum(int first, int last) const {
    first = std::max(first, 0);
    last = std::min(last, int(shown_.size()) - 1);
    if (first > last)
        return {};
    return orders_.sum(
        std::vector<std::uint32_t>(shown_.begin() + first, shown_.begin() + last + 1));
}

// --- changes ----------------------------------------------------------------------------------

void OrderArchive::reread(const QStringList& fileNames) {
    const auto tables = [this] {
        return std::array<std::size_t, 3>{orders_.size(), orders_.payers().size(),
                                          orders_.payees().size()};
    };
    const std::array<std::size_t, 3> before = tables();
    std::vector<std::pair<QString, bool>> outcome; // name, listed now
    beginResetModel();
    for (const QString& name : fileNames) {
        const QByteArray bytes = name.toLatin1();
        // Only a plain file name of the folder is read.
        if (!storage::isPlainFileName(nameView(bytes)))
            continue;
        const std::int64_t order = orders_.refresh(folder_.ordersDir(), nameView(bytes),
                                                   rules(currentYear_), partyNames(directory_));
        outcome.emplace_back(name, order >= 0);
    }
    rebuild();
    endResetModel();
    for (const auto& [name, listed] : outcome) {
        if (listed)
            emit orderChanged(name);
        else
            emit orderRemoved(name);
    }
    if (tables() != before)
        emit listChanged();
}

void OrderArchive::refreshOrder(const QString& fileName) {
    reread({fileName});
}

storage::IoResult OrderArchive::deleteOrder(std::string_view fileName) {
    const std::int64_t order = orders_.find(fileName);
    if (storage::IoResult r = storage::moveOrderToDeleted(folder_.state(), fileName); !r)
        return r;
    const QString name = QString::fromLatin1(fileName.data(), qsizetype(fileName.size()));
    if (order >= 0) {
        const auto it = std::find(shown_.begin(), shown_.end(), std::uint32_t(order));
        const bool shown = it != shown_.end();
        const int row = int(it - shown_.begin());
        if (shown)
            beginRemoveRows({}, row, row);
        orders_.remove(std::uint32_t(order));
        if (shown) {
            shown_.erase(shown_.begin() + row);
            endRemoveRows();
        }
    }
    emit orderRemoved(name);
    emit listChanged();
    return {};
}

storage::IoResult OrderArchive::readDeleted(storage::DeletedOrders& out) const {
    return storage::scanDeletedOrders(folder_.deletedDir(), out);
}

storage::IoResult OrderArchive::restoreOrder(std::string_view deletedName, bool& taken) {
    storage::IoResult r = storage::restoreDeletedOrder(folder_.state(), deletedName, taken);
    if (r)
        refreshOrder(storage::restoredOrderName(deletedName));
    return r;
}

storage::StatementOutcome OrderArchive::importStatement(const QString& path) {
    // Only the order files the statement may concern are read: those dated in its period or on
    // the day of one of its debits, those whose date the list cannot read and those the archive
    // does not know (written behind the program's back).
    std::unordered_map<std::string, std::uint32_t> dayOf;
    dayOf.reserve(orders_.rowCount());
    for (std::uint32_t row = 0; row < orders_.rowCount(); ++row)
        dayOf.emplace(orders_.name(row), orders_.file(row).keys.dateKey);
    const auto key = [](const QDate& d) {
        return std::uint32_t(storage::OrderDate::fromQDate(d).dayNumber());
    };
    const auto mayConcern = [&](const storage::Statement& st, const QString& name) {
        const auto it = dayOf.find(name.toStdString());
        if (it == dayOf.end() || it->second == 0)
            return true;
        const std::uint32_t day = it->second;
        if ((!st.from.isValid() || day >= key(st.from)) && (!st.to.isValid() || day <= key(st.to)))
            return true;
        return std::any_of(st.debits.begin(), st.debits.end(),
                           [&](const storage::StatementDebit& d) {
                               return d.date.isValid() && key(d.date) == day;
                           });
    };
    storage::StatementOutcome out =
        storage::importStatement(folder_.state(), directory_.tables(), path, mayConcern);
    reread(out.marked);
    return out;
}

} // namespace core
