#include "scan.h"

#include "cp1251.h"
#include "folder.h"
#include "platfile.h"
#include "words.h"

#include <QDate>
#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_map>

namespace storage {

FirmNames::FirmNames(const Store& s) : store_(s) {
    count_ = std::clamp(s.directory.organizationCount, 0, MaxFirms);
    for (int i = 0; i < count_; ++i)
        byInn_[std::size_t(i)] = std::uint8_t(i);
    std::sort(byInn_.begin(), byInn_.begin() + count_, [&s](std::uint8_t a, std::uint8_t b) {
        const std::string_view x = s.directory.organizations[a].inn.view();
        const std::string_view y = s.directory.organizations[b].inn.view();
        return x != y ? x < y : a < b;
    });
}

bool FirmNames::find(std::string_view inn, ShortStr<128>& out) {
    const auto end = byInn_.begin() + count_;
    const auto it = std::lower_bound(byInn_.begin(), end, inn, [this](std::uint8_t i, auto v) {
        return store_.directory.organizations[i].inn.view() < v;
    });
    if (it == end || store_.directory.organizations[*it].inn.view() != inn)
        return false;
    const std::uint8_t i = *it;
    if (!shortened_[i]) {
        shortNames_[i].assign(shortenLegalForm(store_.directory.organizations[i].name.view()));
        shortened_[i] = true;
    }
    out.assign(shortNames_[i]);
    return true;
}

namespace {

// What the scan takes from one order file. The file is read when its name is examined,
// since its size has to be known then and reading it tells the size; the entry takes the
// values later, in list order.
struct FileContent {
    ShortStr<5> number;
    ShortStr<10> date;
    ShortStr<12> amount;
    ShortStr<12> payerInn;
    ShortStr<12> payeeInn;
    std::uint8_t accepted = 0;
    bool failed = false; // the file could not be read whole; problem says why
    QString problem;
};

struct Scratch {
    std::array<FileContent, MaxPlats> content; // by the order in which entries were taken
    std::array<std::uint16_t, MaxPlats> from;  // list position -> order of taking
};

// The value of a text of digits written after the digits of start.
std::uint32_t digitsValue(std::string_view digits, std::uint32_t start = 0) {
    std::uint32_t v = start;
    for (char c : digits)
        v = v * 10 + std::uint32_t(c - '0');
    return v;
}

void keep(FileContent& c, const QByteArray& data) {
    OrderRecord rec;
    recordFromBytes(rec, data.constData());
    c.number.assign(rec.number);
    c.date.assign(rec.date);
    c.amount.assign(rec.amount);
    c.payerInn.assign(rec.payerInn);
    c.payeeInn.assign(rec.payeeInn);
    c.accepted = rec.accepted;
    c.failed = false;
}

// Examines one name of the folder (in listing order) and takes the entry when it fits.
void takeName(Store& s, const QString& fileName, int currentYear, ReadFileFn read, Scratch& scratch,
              WordList& parts, QByteArray& data) {
    if (fileName.size() <= 5)
        return;
    const QByteArray name = fileName.toLatin1();
    splitAtUnderscores(std::string_view(name.constData(), std::size_t(name.size() - 5)), parts);
    if (parts.count != 3)
        return;
    const bool digits = isDigits(parts[0]) && isDigits(parts[1]) && isDigits(parts[2]);
    const std::string_view number = parts[0];
    const std::string_view year = parts[2];
    // Longer parts are not names the program gives, and a name longer than the list holds
    // could not be opened from it. The year is "20" followed by the year part: "09" is 2009.
    const bool fits = digits && number.size() <= 5 && year.size() <= 4 && name.size() <= 28 &&
                      (s.settings.currentYearOnly() != 1 ||
                       digitsValue(year, 20) == std::uint32_t(currentYear)) &&
                      s.orders.count < MaxPlats;
    const QString path = s.folder.ordersDir + fileName;
    if (!fits) {
        // PlatError tells whether the last order file with a name of three parts had
        // anything but digits in it.
        if (fileSize(path) == PlatFileSize)
            s.PlatError = digits ? 0 : 1;
        return;
    }
    FileContent& content = scratch.content[std::size_t(s.orders.count)];
    // A file named as an order that cannot be read whole is listed all the same, by its name
    // and with the reason, so that no order vanishes from the list without a word.
    if (const IoResult r = read(path, data, PlatFileSize + 1); !r) {
        content.failed = true;
        content.problem = r.reason.isEmpty() ? QStringLiteral("не читается") : r.reason;
    } else if (data.size() != PlatFileSize) {
        content.failed = true;
        content.problem = wrongSizeReason(data.size() > PlatFileSize ? fileSize(path) : data.size(),
                                          PlatFileSize);
    } else {
        keep(content, data);
    }
    s.PlatError = 0;
    OrderListItem& e = s.orders.items[std::size_t(s.orders.count++)];
    clearRecord(e);
    e.numberText.assign(number);
    e.numberValue = digitsValue(number);
    e.payerText.assign(parts[1]);
    e.payerInn.assign(parts[1]);
    e.fileName.assign(name);
    e.yearDigits.assign(year);
}

// The least of the numbers of every aligned range of positions, so that the next number
// below a bound after a position is found in logarithmic steps rather than by looking at
// every later number. The plain double loop of the exchange sort gives the same order, but
// over 1024 orders it costs the scan about 7 % more instructions, which puts the scan over
// its budget of 1.5 times the reading of the files.
class MinTree {
public:
    MinTree(const std::uint32_t* keys, int n) {
        while (leaves_ < n)
            leaves_ *= 2;
        least_.fill(std::numeric_limits<std::uint32_t>::max());
        for (int j = 0; j < n; ++j)
            least_[std::size_t(leaves_ + j)] = keys[j];
        for (int node = leaves_ - 1; node > 0; --node)
            least_[std::size_t(node)] =
                std::min(least_[std::size_t(2 * node)], least_[std::size_t(2 * node + 1)]);
    }

    void set(int position, std::uint32_t value) {
        int node = leaves_ + position;
        least_[std::size_t(node)] = value;
        for (node /= 2; node > 0; node /= 2)
            least_[std::size_t(node)] =
                std::min(least_[std::size_t(2 * node)], least_[std::size_t(2 * node + 1)]);
    }

    // The first position at or after from whose number is below bound, or -1.
    int firstBelow(int from, std::uint32_t bound) const { return find(1, 0, leaves_, from, bound); }

private:
    int find(int node, int lo, int hi, int from, std::uint32_t bound) const {
        if (hi <= from || least_[std::size_t(node)] >= bound)
            return -1;
        if (hi - lo == 1)
            return lo;
        const int mid = (lo + hi) / 2;
        const int left = find(2 * node, lo, mid, from, bound);
        return left >= 0 ? left : find(2 * node + 1, mid, hi, from, bound);
    }

    int leaves_ = 1;
    std::array<std::uint32_t, 2 * MaxPlats> least_;
};

// Orders the first n entries of the list ascending by number with the exchange sort (each
// position i against every later j, exchanging when j's number is smaller), which decides
// the order of equal numbers. The exchanges run on numbers and indexes; the entries move
// once after. from[k] tells where the entry now at k stood before.
void sortByNumber(std::array<OrderListItem, MaxPlats>& list, int n,
                  std::array<std::uint16_t, MaxPlats>& from) {
    std::array<std::uint32_t, MaxPlats> key;
    std::array<std::uint16_t, MaxPlats> chain;
    for (int i = 0; i < n; ++i) {
        key[std::size_t(i)] = list[std::size_t(i)].numberValue;
        from[std::size_t(i)] = std::uint16_t(i);
    }
    MinTree tree(key.data(), n);
    for (int i = 0; i + 1 < n; ++i) {
        // The exchanges of pass i happen at the successive new minima after i; their
        // values rotate along that chain: i takes the last, each takes its predecessor's.
        std::uint32_t least = key[std::size_t(i)];
        int len = 0;
        for (int j = tree.firstBelow(i + 1, least); j >= 0; j = tree.firstBelow(j + 1, least)) {
            least = key[std::size_t(j)];
            chain[std::size_t(len++)] = std::uint16_t(j);
        }
        if (len == 0)
            continue;
        const std::size_t last = chain[std::size_t(len - 1)];
        const std::uint32_t lastKey = key[last];
        const std::uint16_t lastFrom = from[last];
        for (int c = len - 1; c > 0; --c) {
            key[chain[std::size_t(c)]] = key[chain[std::size_t(c - 1)]];
            from[chain[std::size_t(c)]] = from[chain[std::size_t(c - 1)]];
            tree.set(chain[std::size_t(c)], key[chain[std::size_t(c)]]);
        }
        key[chain[0]] = key[std::size_t(i)];
        from[chain[0]] = from[std::size_t(i)];
        tree.set(chain[0], key[chain[0]]);
        key[std::size_t(i)] = lastKey;
        from[std::size_t(i)] = lastFrom;
        tree.set(i, lastKey);
    }
    // Position k takes the entry that stood at from[k]: follow each cycle of the permutation
    // with one entry held aside.
    std::array<std::uint16_t, MaxPlats> todo = from;
    for (int k = 0; k < n; ++k) {
        if (todo[std::size_t(k)] == k)
            continue;
        const OrderListItem held = list[std::size_t(k)];
        int at = k;
        for (;;) {
            const int src = todo[std::size_t(at)];
            todo[std::size_t(at)] = std::uint16_t(at);
            if (src == k) {
                list[std::size_t(at)] = held;
                break;
            }
            list[std::size_t(at)] = list[std::size_t(src)];
            at = src;
        }
    }
}

// Gives the entry the values of its file, and the file the name built from its content
// when the name no longer fits it.
void takeContent(Store& s, OrderListItem& e, const FileContent& c) {
    e.dateText.assign(c.date);
    e.payeeText.assign(c.payeeInn);
    e.payeeInn.assign(c.payeeInn);
    e.amountText.assign(c.amount);
    e.accepted = c.accepted == 1 ? 1 : 0;

    const std::string_view yy = dateYearDigits(c.date.view());
    if (c.payerInn == e.payerInn && c.number == e.numberText && yy == e.yearDigits.view())
        return;
    // Only a name made of digits, never over another file, and not in a folder that another
    // program holds.
    ShortStr<28> newName;
    if (!s.folder.readOnly && yy.size() == 2 &&
        makeOrderFileName(c.number.view(), c.payerInn.view(), yy, newName))
        moveFile(s.folder.ordersDir + QString::fromLatin1(e.fileName.bytes()),
                 s.folder.ordersDir + QString::fromLatin1(newName.bytes()));
    s.PlatError = 1;
}

void findINN(Store& s, FirmNames& names) {
    // Hashed rather than searched in the tables: with a few hundred payees a search per order
    // adds about a third to the scan's instructions over 1024 orders.
    s.orders.payerCount = 0;
    s.orders.payeeCount = 0;
    const int n = std::clamp(s.orders.count, 0, MaxPlats);
    std::unordered_map<std::string_view, int> payers, payees;
    payers.reserve(std::size_t(n));
    payees.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const OrderListItem& e = s.orders.items[std::size_t(i)];
        const auto [payer, newPayer] = payers.try_emplace(e.payerInn.view(), s.orders.payerCount);
        PayerInnEntry& p = s.orders.payers[std::size_t(payer->second)];
        if (newPayer) {
            ++s.orders.payerCount;
            clearRecord(p);
            p.inn.assign(e.payerInn);
            p.name.assign(e.payerInn);
            p.maxNumber = e.numberValue;
        } else {
            p.maxNumber = std::max(p.maxNumber, e.numberValue);
        }
        // An order that could not be read has no payee to offer.
        if (e.problem.empty() &&
            payees.try_emplace(e.payeeInn.view(), s.orders.payeeCount).second) {
            PayeeInnEntry& q = s.orders.payees[std::size_t(s.orders.payeeCount++)];
            clearRecord(q);
            q.inn.assign(e.payeeInn);
            q.name.assign(e.payeeInn);
        }
    }
    for (int i = 0; i < s.orders.payerCount; ++i) {
        PayerInnEntry& p = s.orders.payers[std::size_t(i)];
        names.find(p.inn.view(), p.name);
    }
    for (int i = 0; i < s.orders.payeeCount; ++i) {
        PayeeInnEntry& q = s.orders.payees[std::size_t(i)];
        names.find(q.inn.view(), q.name);
    }
}

} // namespace

IoResult scanOrders(Store& s, int currentYear, ReadFileFn read) {
    if (IoResult r = checkFolderReadable(s.folder.ordersDir); !r)
        return r;
    auto scratch = std::make_unique<Scratch>();
    FirmNames names(s);
    s.orders.count = 0;
    WordList parts;
    QByteArray data;
    for (const QString& name : listFileNames(s.folder.ordersDir, u".plat"))
        takeName(s, name, currentYear, read, *scratch, parts, data);

    sortByNumber(s.orders.items, s.orders.count, scratch->from);
    for (int i = 0; i < s.orders.count; ++i) {
        OrderListItem& e = s.orders.items[std::size_t(i)];
        names.find(e.payerInn.view(), e.payerText);
    }
    for (int i = 0; i < s.orders.count; ++i) {
        OrderListItem& e = s.orders.items[std::size_t(i)];
        const FileContent& c = scratch->content[scratch->from[std::size_t(i)]];
        if (c.failed) {
            e.problem.assign(cp1251::fromUnicode(c.problem));
            continue;
        }
        takeContent(s, e, c);
        names.find(e.payeeInn.view(), e.payeeText);
    }
    findINN(s, names);
    return {};
}

IoResult scanOrders(Store& s) {
    return scanOrders(s, QDate::currentDate().year());
}

void buildPartyTables(Store& s) {
    FirmNames names(s);
    findINN(s, names);
}

QStringList unreadableOrders(const Store& s) {
    QStringList out;
    for (int i = 0; i < s.orders.count; ++i) {
        const OrderListItem& e = s.orders.items[std::size_t(i)];
        if (!e.problem.empty())
            out << fileMessage(QStringLiteral("Не могу прочитать платежку"),
                               s.folder.ordersDir + QString::fromLatin1(e.fileName.bytes()),
                               cp1251::toUnicode(e.problem.view()));
    }
    return out;
}

IoResult scanAtStart(Store& s) {
    if (IoResult r = checkFolderReadable(s.folder.ordersDir); !r)
        return r;
    if (!hasFiles(s.folder.ordersDir, u".plat"))
        return {};
    IoResult r = scanOrders(s);
    if (r && s.PlatError != 0 && !s.folder.readOnly)
        r = scanOrders(s);
    if (const QStringList unreadable = unreadableOrders(s); r && !unreadable.isEmpty())
        return IoResult::failure(unreadable.join(u'\n'));
    return r;
}

} // namespace storage
