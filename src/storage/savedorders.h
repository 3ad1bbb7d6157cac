// The saved orders in memory, for an archive of any size: every order the list shows, with
// what it sorts, searches and sums, built from a scan of the order folder (orderindex.h) and
// kept compact (a hundred thousand orders take about 20 MB besides their purposes); the payer
// and payee tables; the rows in the order of any column; the search as the user types; the
// sum of a set of rows.
#pragma once

#include "money.h"
#include "orderindex.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace storage {

inline constexpr std::uint32_t NoParty = 0xFFFFFFFF;

// An INN met as a payer or a payee of the saved orders, with the name the list shows for it.
struct OrderParty {
    ShortStr<12> inn;
    ShortStr<128> name;     // the organization's name, its legal form shortened, or the INN
    std::string folded;     // the name folded for search (cp1251::foldForSearch)
    std::uint32_t rank = 0; // the place of the name among the names of all parties
};

// A payer of the saved orders: its party, and the highest order number among its orders.
struct OrderPayer {
    std::uint32_t party = NoParty;
    std::uint32_t maxNumber = 0;
};

// The columns of the list, in their order on screen.
enum class OrderColumn : std::uint8_t { Number, Date, Payer, Payee, Amount, State };

// How the order files are listed and named.
struct SavedOrderRules {
    bool currentYearOnly = false; // only the orders of currentYear
    int currentYear = 0;
    bool readOnly = false; // the run only reads the folder: no file is given a new name
};

// The name of the first organization of the directory with the INN, its legal form shortened;
// false when no organization has it.
using PartyNameFn = std::function<bool(std::string_view inn, ShortStr<128>& name)>;

// True when the order o is listed under rules: its name fits (OrderKeys::nameFits) and, with
// currentYearOnly, its year is currentYear.
bool listedUnder(const FolderOrder& o, const SavedOrderRules& rules);

// The sum of a set of listed orders.
struct OrdersSum {
    bool any = false; // at least one order was summed
    Money total;
    // Why no sum is given: an order that could not be read, an amount that is not a number,
    // or a sum beyond what an amount can hold. Empty when the sum is given.
    QString error;
};

class SavedOrders {
public:
    struct Row {
        std::uint32_t payer = NoParty; // the party of the payer INN of the file name
        std::uint32_t payee = NoParty; // of the payee INN of the record; none when unread
        std::uint32_t problem = 0;     // 1 + the position in problems() when unread
        bool listed = true;            // false once removed from the list
    };

    // Lists the orders of scan that rules list (listedUnder), ascending by number, equal
    // numbers by payer INN, then year, then file name. An order whose record no longer fits its
    // name (number, payer INN, year of its date) is given the name built from its record when that
    // name is made of digits and free, and listed under it (not with rules.readOnly).
    void build(OrderFolderScan&& scan, const QString& ordersDir, const SavedOrderRules& rules,
               const PartyNameFn& partyName);

    // The orders in the order of the list (by number): positions of rows.
    const std::vector<std::uint32_t>& listOrder() const { return listOrder_; }
    std::size_t size() const { return listOrder_.size(); }

    const FolderOrder& file(std::uint32_t row) const { return files_[row]; }
    // Every row ever taken, listed or not (rows are 0 .. rowCount() - 1).
    std::uint32_t rowCount() const { return std::uint32_t(files_.size()); }
    const Row& row(std::uint32_t row) const { return rows_[row]; }
    std::string_view purpose(std::uint32_t row) const;
    std::string_view name(std::uint32_t row) const { return files_[row].name.view(); }
    std::string_view numberText(std::uint32_t row) const {
        const OrderNameParts& p = files_[row].keys.parts;
        return name(row).substr(p.numberAt, p.numberSize);
    }
    std::string_view payerInn(std::uint32_t row) const;
    std::string_view yearDigits(std::uint32_t row) const;
    // Why the order could not be read (empty when it was read).
    QString problem(std::uint32_t row) const;
    const std::vector<QString>& problems() const { return problems_; }
    // Every order that could not be read, one message each that names the file and the reason.
    QStringList problemMessages(const QString& ordersDir) const;

    const OrderParty& party(std::uint32_t p) const { return parties_[p]; }
    std::size_t partyCount() const { return parties_.size(); }
    // The distinct payer and payee INNs of the list, in the order of the list.
    const std::vector<OrderPayer>& payers() const { return payers_; }
    const std::vector<std::uint32_t>& payees() const { return payees_; }

    // The row of the listed order of that file name, or -1.
    std::int64_t find(std::string_view name) const;

    // Reads the order file name of ordersDir again and lists it in its place: its row takes
    // the new content, or a new row is listed; a file that is gone or does not fit is taken
    // out. Returns the row, or -1 when the order is not listed. The tables follow.
    std::int64_t refresh(const QString& ordersDir, std::string_view name,
                         const SavedOrderRules& rules, const PartyNameFn& partyName);
    // Takes the order of row out of the list; the tables follow.
    void remove(std::uint32_t row);
    // The names of the parties again, after the directory changed.
    void renameParties(const PartyNameFn& partyName);

    // Which rows have a word of their purpose that starts with word (folded), by row.
    std::vector<bool> purposesWithWord(std::string_view word) const;

    // rows (positions of rows) in the order of column, ascending or descending; equal values
    // keep the order of the list.
    std::vector<std::uint32_t> sorted(std::vector<std::uint32_t> rows, OrderColumn column,
                                      bool descending) const;

    // The sum of the amounts of rows, each as Money::parseLenient reads it.
    OrdersSum sum(const std::vector<std::uint32_t>& rows) const;

private:
    std::uint32_t partyOf(std::string_view inn, const PartyNameFn& partyName);
    void takeRow(std::uint32_t row, const SavedOrderRules& rules, const QString& ordersDir,
                 const PartyNameFn& partyName);
    bool listedBefore(std::uint32_t a, std::uint32_t b) const;
    void sortByNumber();
    void buildTables();
    void rankParties();

    // Where each row's purpose starts among the purposes, in the order of the purposes (a row
    // given a new purpose keeps an entry for its old one, passed over).
    struct PurposeOwner {
        std::uint32_t at;
        std::uint32_t row;
    };

    std::vector<FolderOrder> files_;
    std::vector<PurposeOwner> purposeOwners_;
    std::vector<Row> rows_;
    std::string purposes_;
    std::vector<QString> problems_;
    std::vector<std::uint32_t> listOrder_;
    std::vector<OrderParty> parties_;
    std::unordered_map<std::uint64_t, std::uint32_t> partyByValue_;
    std::unordered_map<std::string, std::uint32_t> partyByText_;
    struct RecentParty {
        std::uint64_t key = 0; // the INN's key + 1; 0 for none
        std::uint32_t party = NoParty;
    };
    std::array<RecentParty, 4096> recentParties_{};
    std::vector<OrderPayer> payers_;
    std::vector<std::uint32_t> payees_;
};

// The deleted orders of the folder PPDel (files ".pdel"), as the trash lists them. An order
// came into PPDel when its file's status last changed there (the move sets it).
struct DeletedOrders {
    OrderFolderScan scan;
    std::vector<std::uint32_t> newestFirst; // positions in scan.orders, the latest deletion first
    std::vector<QString> problems;          // by position: why a file could not be read

    std::int64_t deletedNs(std::uint32_t i) const { return scan.orders[i].stamp.changedNs; }
};
IoResult scanDeletedOrders(const QString& deletedDir, DeletedOrders& out);

// The search of the list as the user types: an order is found when each word of text begins a
// word of its number, date, amount (written with any separator), payer or payee (name or INN)
// or purpose; letters in either case, ё as е.
class OrderSearch {
public:
    OrderSearch(const SavedOrders& orders, const QString& text);
    bool empty() const { return words_.empty(); }
    bool matches(std::uint32_t row) const;

private:
    struct Word {
        std::string folded;
        std::string amount;         // digits with "-" for a separator; empty when not an amount
        std::vector<bool> parties;  // the parties whose name or INN has the word
        std::vector<bool> purposes; // the rows whose purpose has the word
    };
    const SavedOrders& orders_;
    std::vector<Word> words_;
};

} // namespace storage
