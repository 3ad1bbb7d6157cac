// The archive of saved orders: every order of the folder PP, however many, with the payer and
// payee tables built from them, read at start through the index Data/Index. It is the model of
// the list window: the rows it shows are the orders that the filter and the search leave, in the
// order of the column chosen for sorting. Every change (deleting into PPDel, restoring from it,
// reading an order again after a save, marking orders paid from a bank statement) is one method
// that writes its files and returns a result; the signals say which order changed.
#pragma once

#include "directory.h"
#include "programfolder.h"
#include "settings.h"

#include "storage/savedorders.h"
#include "storage/statement.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace core {

// Which orders the list shows by their parties: an empty side shows every party.
struct OrderFilter {
    std::optional<std::string> payerInn;
    std::optional<std::string> payeeInn;
    bool active() const { return payerInn || payeeInn; }
};

// The name the list shows for an INN: that of the first organization of the directory with the
// INN, its legal form shortened; false when no organization has it.
storage::PartyNameFn partyNames(const Directory& directory);

class OrderArchive : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 6;

    OrderArchive(ProgramFolder& folder, const Settings& settings, const Directory& directory);

    // Reads the order folder again: files that the index knows unchanged are taken from it, the
    // others are read; the index is written anew unless this run only reads the folder. Orders
    // whose record no longer fits their name are renamed (not in a read-only run). Fails when
    // the folder cannot be read (the list is then empty), or names, one line each, the orders
    // that could not be read (they are listed by their names all the same). The filter and the
    // search are cleared.
    storage::IoResult scan();
    storage::IoResult scan(int currentYear);

    // Every listed order, in the order of the list (by number).
    const storage::SavedOrders& orders() const { return orders_; }
    int orderCount() const { return int(orders_.size()); }
    // The highest number among the listed orders of the payer with this INN; 0 when it has none.
    std::uint32_t highestNumber(std::string_view payerInn) const;
    // Whether an order of that file name is listed.
    bool isListed(std::string_view fileName) const { return orders_.find(fileName) >= 0; }
    // The listed orders that were read and whose payer or payee has the INN (same length, same
    // characters).
    int ordersWithParty(std::string_view inn) const;
    // The name the list shows for an INN: its organization's, else the INN itself.
    QString partyName(std::string_view inn) const;

    // --- the rows shown -------------------------------------------------------------------
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Rows in the order of column (0..5: number, date, payer, payee, amount, state); equal values
    // keep the order of the list.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    // "№", "Дата.", "Плательщик", "Кому", "Сумма", "Состояние".
    static const QStringList& columnTitles();
    QString cellText(int row, int column) const;
    // The order shown at row (its row in orders()), and its file name.
    std::uint32_t orderAt(int row) const { return shown_[std::size_t(row)]; }
    QString fileNameAt(int row) const;
    // The row that shows the order of that file name, or -1.
    int rowOf(std::string_view fileName) const;

    void setFilter(const OrderFilter& filter);
    const OrderFilter& filter() const { return filter_; }
    // Shows the orders found by each word of text (storage::OrderSearch); empty shows all.
    void setSearch(const QString& text);
    const QString& search() const { return search_; }

    // The sum of the amounts of the shown rows first..last.
    storage::OrdersSum sum(int first, int last) const;

    // --- changes ---------------------------------------------------------------------------
    // Moves the order of that file name into PPDel and takes it out of the list.
    storage::IoResult deleteOrder(std::string_view fileName);
    // The deleted orders of PPDel.
    storage::IoResult readDeleted(storage::DeletedOrders& out) const;
    // Moves a deleted order back into PP under its saved name and lists it; taken is set (and
    // nothing moves) when the name is taken.
    storage::IoResult restoreOrder(std::string_view deletedName, bool& taken);
    // Marks the orders that the bank statement at path shows debited accepted by the bank
    // (storage::importStatement); their rows follow.
    storage::StatementOutcome importStatement(const QString& path);

public slots:
    // Reads the order file fileName again (after it was saved) and lists it in its place; an
    // order whose file is gone or no longer fits leaves the list.
    void refreshOrder(const QString& fileName);

signals:
    // The order file fileName was written or changed: its row shows what it holds now.
    void orderChanged(const QString& fileName);
    // The order of fileName left the list (deleted, or its file is gone).
    void orderRemoved(const QString& fileName);
    // Orders were added to or removed from the list (a scan too): the count and the payer and
    // payee tables may differ.
    void listChanged();

private:
    storage::SavedOrderRules rules(int currentYear) const;
    bool passesFilter(std::uint32_t order) const;
    // Rebuilds the rows shown from the list, the filter, the search and the sort.
    void rebuild();
    // Reads the orders of these file names again; the signals follow.
    void reread(const QStringList& fileNames);

    ProgramFolder& folder_;
    const Settings& settings_;
    const Directory& directory_;
    storage::SavedOrders orders_;
    int currentYear_ = 0;
    OrderFilter filter_;
    QString search_;
    int sortColumn_ = -1; // -1: the order of the list
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::vector<std::uint32_t> shown_;
};

} // namespace core
