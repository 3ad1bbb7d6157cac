#include "savedorders.h"

#include "cp1251.h"
#include "platfile.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <numeric>

namespace storage {

namespace {

std::string folded(std::string_view text) {
    std::string out(text.size(), '\0');
    cp1251::foldForSearch(text, out.data());
    return out;
}

// An amount as the search compares it: "," and "." stand for the separator "-".
void amountForSearch(std::string_view text, char* out) {
    for (char c : text)
        *out++ = c == ',' || c == '.' ? '-' : c;
}

// The characters of words in folded text: digits, Latin and Cyrillic small letters and the
// code page's other small letters.
struct WordCharacters {
    std::array<bool, 256> is{};
    constexpr WordCharacters() {
        for (int c = '0'; c <= '9'; ++c)
            is[std::size_t(c)] = true;
        for (int c = 'a'; c <= 'z'; ++c)
            is[std::size_t(c)] = true;
        for (int c = 0xE0; c <= 0xFF; ++c)
            is[std::size_t(c)] = true;
        for (int c :
             {0x83, 0x90, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xA2, 0xB3, 0xB4, 0xBA, 0xBC, 0xBE, 0xBF})
            is[std::size_t(c)] = true;
    }
};
constexpr WordCharacters wordCharacters;

bool isWordCharacter(char c) {
    return wordCharacters.is[static_cast<unsigned char>(c)];
}

// True when a word of text (folded) starts with word: text itself, or the text after any
// character that is not a word's.
bool holdsWordStart(std::string_view text, std::string_view word) {
    if (word.size() > text.size())
        return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if ((i == 0 || !isWordCharacter(text[i - 1])) && text[i] == word[0] &&
            text.compare(i, word.size(), word) == 0)
            return true;
    return false;
}

} // namespace

bool listedUnder(const FolderOrder& o, const SavedOrderRules& rules) {
    return o.keys.nameFits &&
           (!rules.currentYearOnly || o.keys.year == std::uint32_t(rules.currentYear));
}

std::string_view SavedOrders::purpose(std::uint32_t row) const {
    const FolderOrder& f = files_[row];
    return std::string_view(purposes_).substr(f.purposeAt, f.purposeSize);
}

std::string_view SavedOrders::payerInn(std::uint32_t row) const {
    const OrderNameParts& p = files_[row].keys.parts;
    return name(row).substr(p.innAt, std::min<std::size_t>(p.innSize, 12));
}

std::string_view SavedOrders::yearDigits(std::uint32_t row) const {
    const OrderNameParts& p = files_[row].keys.parts;
    return name(row).substr(p.yearAt, std::min<std::size_t>(p.yearSize, 2));
}

QString SavedOrders::problem(std::uint32_t row) const {
    const std::uint32_t p = rows_[row].problem;
    return p ? problems_[p - 1] : QString();
}

QStringList SavedOrders::problemMessages(const QString& ordersDir) const {
    QStringList out;
    for (std::uint32_t row : listOrder_)
        if (rows_[row].problem)
            out << fileMessage(QStringLiteral("Не могу прочитать платежку"),
                               ordersDir + QFile::decodeName(QByteArray(
                                               name(row).data(), qsizetype(name(row).size()))),
                               problem(row));
    return out;
}

std::uint32_t SavedOrders::partyOf(std::string_view inn, const PartyNameFn& partyName) {
    // An INN of digits is found by its value and length, without a text to hash; any other
    // text (of a damaged record) by the text.
    std::uint32_t* found = nullptr;
    std::uint64_t value = 0;
    bool digits = !inn.empty() && inn.size() <= 12;
    for (std::size_t i = 0; digits && i < inn.size(); ++i) {
        digits = isDigit(inn[i]);
        value = value * 10 + std::uint64_t(inn[i] - '0');
    }
    if (digits) {
        const std::uint64_t key = value * 16 + inn.size();
        // The few payers and frequent payees come again and again: a small table of the last
        // INNs met answers most look-ups before the hash table.
        RecentParty& recent = recentParties_[(key * 0x9E3779B97F4A7C15ull) >> 52];
        if (recent.key == key + 1)
            return recent.party;
        found = &partyByValue_.try_emplace(key, NoParty).first->second;
        if (*found != NoParty)
            recent = {key + 1, *found};
    } else {
        found = &partyByText_.try_emplace(std::string(inn), NoParty).first->second;
    }
    if (*found == NoParty) {
        *found = std::uint32_t(parties_.size());
        OrderParty& p = parties_.emplace_back();
        p.inn.assign(inn);
        if (!partyName || !partyName(inn, p.name))
            p.name.assign(inn);
        p.folded = folded(p.name.view());
    }
    return *found;
}

void SavedOrders::takeRow(std::uint32_t row, const SavedOrderRules& rules, const QString& ordersDir,
                          const PartyNameFn& partyName) {
    FolderOrder& f = files_[row];
    Row& r = rows_[row];
    if (!listedUnder(f, rules)) {
        r.listed = false;
        return;
    }
    if (!f.unread) {
        // A record that no longer fits its name gives the file the name built from it: only a
        // name made of digits, never over another file, and not in a folder that is only read.
        const std::string_view yy = dateYearDigits(f.date.view());
        if (f.payerInn.view() != payerInn(row) || f.number.view() != numberText(row) ||
            yy != yearDigits(row)) {
            ShortStr<28> newName;
            if (!rules.readOnly && yy.size() == 2 &&
                makeOrderFileName(f.number.view(), f.payerInn.view(), yy, newName) &&
                moveFile(ordersDir + QString::fromLatin1(f.name.bytes()),
                         ordersDir + QString::fromLatin1(newName.bytes()))) {
                f.name.assign(newName);
                takeNameKeys(f);
                if (!listedUnder(f, rules)) {
                    r.listed = false;
                    return;
                }
            }
        }
        r.payee = partyOf(f.payeeInn.view(), partyName);
    }
    r.payer = partyOf(payerInn(row), partyName);
    r.listed = true;
}

void SavedOrders::build(OrderFolderScan&& scan, const QString& ordersDir,
                        const SavedOrderRules& rules, const PartyNameFn& partyName) {
    files_ = std::move(scan.orders);
    purposes_ = std::move(scan.purposes);
    rows_.assign(files_.size(), Row{});
    problems_.clear();
    parties_.clear();
    partyByValue_.clear();
    partyByText_.clear();
    recentParties_.fill({});
    for (auto& [at, why] : scan.problems) {
        problems_.push_back(std::move(why));
        rows_[at].problem = std::uint32_t(problems_.size());
    }
    purposeOwners_.clear();
    purposeOwners_.reserve(files_.size());
    for (std::uint32_t i = 0; i < files_.size(); ++i)
        purposeOwners_.push_back({files_[i].purposeAt, i});
    // A scan appends the purposes in the order of its orders; anything else is sorted.
    const auto byStart = [](const PurposeOwner& a, const PurposeOwner& b) { return a.at < b.at; };
    if (!std::is_sorted(purposeOwners_.begin(), purposeOwners_.end(), byStart))
        std::sort(purposeOwners_.begin(), purposeOwners_.end(), byStart);
    listOrder_.clear();
    listOrder_.reserve(files_.size());
    for (std::uint32_t i = 0; i < files_.size(); ++i) {
        takeRow(i, rules, ordersDir, partyName);
        if (rows_[i].listed)
            listOrder_.push_back(i);
    }
    sortByNumber();
    rankParties();
    buildTables();
}

bool SavedOrders::listedBefore(std::uint32_t a, std::uint32_t b) const {
    // Equal numbers by payer INN and year, then by file name.
    const OrderKeys& x = files_[a].keys;
    const OrderKeys& y = files_[b].keys;
    if (x.number != y.number)
        return x.number < y.number;
    if (x.innAndYear != y.innAndYear)
        return x.innAndYear < y.innAndYear;
    return name(a) < name(b);
}

void SavedOrders::sortByNumber() {
    // By number (at most five digits) by counting, then the few orders of each number by payer
    // INN and year, then by name: a hundred thousand orders share a few thousand numbers. The
    // keys are gathered as the rows are placed, so that the sort of each number's orders
    // compares them side by side instead of reaching into orders spread over memory.
    struct Key {
        std::uint64_t innAndYear;
        std::uint32_t row;
    };
    std::vector<std::uint32_t> start(100001, 0);
    for (std::uint32_t row : listOrder_)
        ++start[std::min<std::uint32_t>(files_[row].keys.number, 99999) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<Key> sorted(listOrder_.size());
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (std::uint32_t row : listOrder_) {
        const OrderKeys& k = files_[row].keys;
        sorted[next[std::min<std::uint32_t>(k.number, 99999)]++] = {k.innAndYear, row};
    }
    for (std::size_t n = 0; n + 1 < start.size(); ++n)
        if (start[n + 1] - start[n] > 1)
            std::sort(sorted.begin() + start[n], sorted.begin() + start[n + 1],
                      [this](const Key& a, const Key& b) {
                          return a.innAndYear != b.innAndYear ? a.innAndYear < b.innAndYear
                                                              : name(a.row) < name(b.row);
                      });
    for (std::size_t i = 0; i < sorted.size(); ++i)
        listOrder_[i] = sorted[i].row;
}

void SavedOrders::rankParties() {
    std::vector<std::uint32_t> order(parties_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        const OrderParty& x = parties_[a];
        const OrderParty& y = parties_[b];
        return x.folded != y.folded ? x.folded < y.folded : x.inn.view() < y.inn.view();
    });
    for (std::uint32_t i = 0; i < order.size(); ++i)
        parties_[order[i]].rank = i;
}

void SavedOrders::buildTables() {
    payers_.clear();
    payees_.clear();
    std::vector<std::uint32_t> payerAt(parties_.size(), NoParty);
    std::vector<bool> payee(parties_.size(), false);
    for (std::uint32_t row : listOrder_) {
        const Row& r = rows_[row];
        std::uint32_t& at = payerAt[r.payer];
        const std::uint32_t number = files_[row].keys.number;
        if (at == NoParty) {
            at = std::uint32_t(payers_.size());
            payers_.push_back({r.payer, number});
        } else {
            payers_[at].maxNumber = std::max(payers_[at].maxNumber, number);
        }
        // An order that could not be read has no payee to offer.
        if (r.payee != NoParty && !payee[r.payee]) {
            payee[r.payee] = true;
            payees_.push_back(r.payee);
        }
    }
}

std::int64_t SavedOrders::find(std::string_view fileName) const {
    for (std::uint32_t row : listOrder_)
        if (name(row) == fileName)
            return row;
    return -1;
}

std::int64_t SavedOrders::refresh(const QString& ordersDir, std::string_view fileName,
                                  const SavedOrderRules& rules, const PartyNameFn& partyName) {
    std::int64_t at = find(fileName);
    if (at >= 0)
        listOrder_.erase(std::find(listOrder_.begin(), listOrder_.end(), std::uint32_t(at)));
    FolderOrder f;
    QString problem;
    if (!readFolderOrder(ordersDir, fileName, f, purposes_, problem) || !listedUnder(f, rules)) {
        if (at >= 0)
            rows_[std::size_t(at)].listed = false;
        buildTables();
        return -1;
    }
    if (at < 0) {
        at = std::int64_t(files_.size());
        files_.push_back(f);
        rows_.emplace_back();
    } else {
        files_[std::size_t(at)] = f;
        rows_[std::size_t(at)] = Row{};
    }
    const std::uint32_t row = std::uint32_t(at);
    // Its purpose was appended to the purposes, behind every other.
    purposeOwners_.push_back({f.purposeAt, row});
    if (!problem.isEmpty()) {
        problems_.push_back(problem);
        rows_[row].problem = std::uint32_t(problems_.size());
    }
    const std::size_t partiesBefore = parties_.size();
    takeRow(row, rules, ordersDir, partyName);
    if (!rows_[row].listed) {
        buildTables();
        return -1;
    }
    const auto place =
        std::upper_bound(listOrder_.begin(), listOrder_.end(), row,
                         [this](std::uint32_t a, std::uint32_t b) { return listedBefore(a, b); });
    listOrder_.insert(place, row);
    if (parties_.size() != partiesBefore)
        rankParties();
    buildTables();
    return row;
}

void SavedOrders::remove(std::uint32_t row) {
    const auto it = std::find(listOrder_.begin(), listOrder_.end(), row);
    if (it == listOrder_.end())
        return;
    listOrder_.erase(it);
    rows_[row].listed = false;
    buildTables();
}

void SavedOrders::renameParties(const PartyNameFn& partyName) {
    for (OrderParty& p : parties_) {
        if (!partyName || !partyName(p.inn.view(), p.name))
            p.name.assign(p.inn);
        p.folded = folded(p.name.view());
    }
    rankParties();
}

std::vector<std::uint32_t> SavedOrders::sorted(std::vector<std::uint32_t> rows, OrderColumn column,
                                               bool descending) const {
    // The place of each row in the list, which decides between equal values.
    std::vector<std::uint32_t> place(rows_.size(), 0);
    for (std::uint32_t i = 0; i < listOrder_.size(); ++i)
        place[listOrder_[i]] = i;
    struct Keyed {
        std::int64_t key;
        std::uint32_t place;
        std::uint32_t row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (std::uint32_t row : rows) {
        const Row& r = rows_[row];
        const OrderKeys& k = files_[row].keys;
        std::int64_t key = 0;
        switch (column) {
        case OrderColumn::Number:
            key = k.number;
            break;
        case OrderColumn::Date:
            key = k.dateKey;
            break;
        case OrderColumn::Payer:
            key = r.payer == NoParty ? -1 : std::int64_t(parties_[r.payer].rank);
            break;
        case OrderColumn::Payee:
            key = r.payee == NoParty ? -1 : std::int64_t(parties_[r.payee].rank);
            break;
        case OrderColumn::Amount:
            key = k.kopecks;
            break;
        case OrderColumn::State:
            key = r.problem ? 0 : files_[row].accepted == 1 ? 2 : 1;
            break;
        }
        keyed.push_back({descending ? -key : key, place[row], row});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.key != b.key ? a.key < b.key : a.place < b.place;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i)
        rows[i] = keyed[i].row;
    return rows;
}

OrdersSum SavedOrders::sum(const std::vector<std::uint32_t>& rows) const {
    OrdersSum out;
    std::int64_t total = 0;
    for (std::uint32_t row : rows) {
        const Row& r = rows_[row];
        const auto number = [&] { return cp1251::toUnicode(numberText(row)); };
        if (r.problem) {
            out.error = QStringLiteral("Платежка № %1 не прочитана: %2. Сумма выделенных платежек "
                                       "не подсчитана.")
                            .arg(number(), problem(row));
            return out;
        }
        const std::int64_t kopecks = files_[row].keys.kopecks;
        if (kopecks < 0) {
            const std::string_view amount = files_[row].amount.view();
            out.error = amount.empty()
                            ? QStringLiteral("В платежке № %1 нет суммы. Сумма выделенных платежек "
                                             "не подсчитана.")
                                  .arg(number())
                            : QStringLiteral("В платежке № %1 сумма «%2» не является числом. Сумма "
                                             "выделенных платежек не подсчитана.")
                                  .arg(number(), cp1251::toUnicode(amount));
            return out;
        }
        if (__builtin_add_overflow(total, kopecks, &total)) {
            out.error = QStringLiteral("Сумма выделенных платежек больше, чем программа может "
                                       "подсчитать (%1 платежек). Выделите меньше платежек.")
                            .arg(rows.size());
            return out;
        }
        out.any = true;
    }
    out.total = Money::fromKopecks(total);
    return out;
}

IoResult scanDeletedOrders(const QString& deletedDir, DeletedOrders& out) {
    out = {};
    OrderScanOptions options;
    options.extension = u".pdel";
    if (IoResult r = scanOrderFolder(deletedDir, {}, options, out.scan); !r)
        return r;
    const std::vector<FolderOrder>& orders = out.scan.orders;
    out.problems.resize(orders.size());
    for (auto& [at, why] : out.scan.problems)
        out.problems[at] = why;
    out.newestFirst.resize(orders.size());
    std::iota(out.newestFirst.begin(), out.newestFirst.end(), 0u);
    std::sort(out.newestFirst.begin(), out.newestFirst.end(),
              [&orders](std::uint32_t a, std::uint32_t b) {
                  const std::int64_t x = orders[a].stamp.changedNs;
                  const std::int64_t y = orders[b].stamp.changedNs;
                  return x != y ? x > y : orders[a].name.view() < orders[b].name.view();
              });
    return {};
}

std::vector<bool> SavedOrders::purposesWithWord(std::string_view word) const {
    std::vector<bool> out(rows_.size(), false);
    if (word.empty())
        return out;
    // The word is looked for in all purposes at once; a find in a purpose goes on after it.
    const std::string_view pool(purposes_);
    auto owner = purposeOwners_.begin();
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = pool.find(word, from);
        if (at == std::string_view::npos)
            return out;
        if (at > 0 && isWordCharacter(pool[at - 1])) {
            from = at + 1;
            continue;
        }
        owner = std::upper_bound(owner, purposeOwners_.end(), at,
                                 [](std::size_t x, const PurposeOwner& o) { return x < o.at; }) -
                1;
        if (files_[owner->row].purposeAt == owner->at)
            out[owner->row] = true;
        from = owner + 1 != purposeOwners_.end() ? (owner + 1)->at : pool.size();
    }
}

OrderSearch::OrderSearch(const SavedOrders& orders, const QString& text) : orders_(orders) {
    const QByteArray bytes = cp1251::fromUnicode(text.simplified());
    for (const QByteArray& part : bytes.split(' ')) {
        if (part.isEmpty())
            continue;
        Word& w = words_.emplace_back();
        w.folded = folded(std::string_view(part.constData(), std::size_t(part.size())));
        const bool amount = std::all_of(part.begin(), part.end(), [](char c) {
            return isDigit(c) || c == ',' || c == '.' || c == '-';
        });
        if (amount && isDigit(part.front())) {
            w.amount.resize(w.folded.size());
            amountForSearch(w.folded, w.amount.data());
        }
        w.parties.resize(orders.partyCount());
        for (std::uint32_t p = 0; p < orders.partyCount(); ++p) {
            const OrderParty& party = orders.party(p);
            w.parties[p] =
                holdsWordStart(party.folded, w.folded) || party.inn.view().starts_with(w.folded);
        }
        w.purposes = orders.purposesWithWord(w.folded);
    }
}

bool OrderSearch::matches(std::uint32_t row) const {
    const SavedOrders::Row& r = orders_.row(row);
    const FolderOrder& f = orders_.file(row);
    char amount[decltype(f.amount)::capacity];
    bool amountTaken = false;
    for (const Word& w : words_) {
        if (w.purposes[row] || (r.payer != NoParty && w.parties[r.payer]) ||
            (r.payee != NoParty && w.parties[r.payee]) ||
            orders_.numberText(row).starts_with(w.folded) ||
            holdsWordStart(f.date.view(), w.folded))
            continue;
        if (!w.amount.empty()) {
            if (!amountTaken) {
                amountForSearch(f.amount.view(), amount);
                amountTaken = true;
            }
            if (std::string_view(amount, f.amount.size()).starts_with(w.amount))
                continue;
        }
        return false;
    }
    return true;
}

} // namespace storage
