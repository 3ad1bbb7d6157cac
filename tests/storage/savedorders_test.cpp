#include "support/support.h"

#include "storage/savedorders.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace storage;
using testing_support::cps;
using testing_support::PlatFields;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

struct Archive {
    TempDir dir;
    SavedOrders orders;
    SavedOrderRules rules;

    Archive() { QDir(dir.path()).mkpath(QStringLiteral("PP")); }
    QString folder() const { return dir.file(QStringLiteral("PP/")); }
    void put(const QString& name, const PlatFields& f) const {
        dir.write("PP/" + name, platFile(f));
    }
    // An order whose name fits its record.
    void put(const char* number, const char* payer, const char* date, const char* payee,
             const char* amount, const char* purpose = "", unsigned char accepted = 0) const {
        put(QStringLiteral("%1_%2_%3.plat")
                .arg(QLatin1String(number), QLatin1String(payer), QLatin1String(date + 8)),
            {number, payer, date, payee, amount, accepted, purpose});
    }
    // Names of the directory: "Фирма" and the INN for INNs that start with 77.
    static bool partyName(std::string_view inn, ShortStr<128>& name) {
        if (!inn.starts_with("77"))
            return false;
        name.assign(cps("Фирма ") + std::string(inn));
        return true;
    }
    void build() {
        OrderFolderScan scan;
        ASSERT_TRUE(scanOrderFolder(folder(), {}, {}, scan));
        orders.build(std::move(scan), folder(), rules, partyName);
    }
    std::vector<std::string> names(const std::vector<std::uint32_t>& rows) const {
        std::vector<std::string> out;
        for (std::uint32_t row : rows)
            out.emplace_back(orders.name(row));
        return out;
    }
    std::vector<std::string> numbers(const std::vector<std::uint32_t>& rows) const {
        std::vector<std::string> out;
        for (std::uint32_t row : rows)
            out.emplace_back(orders.numberText(row));
        return out;
    }
    std::vector<std::string> found(const char* query) const {
        OrderSearch search(orders, QString::fromUtf8(query));
        std::vector<std::uint32_t> rows;
        for (std::uint32_t row : orders.listOrder())
            if (search.matches(row))
                rows.push_back(row);
        return numbers(rows);
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST(SavedOrders, ListsEveryFittingOrderByNumberThenPayerAndYear) {
    Archive a;
    for (int n = 1; n <= 1030; ++n)
        a.put(QStringLiteral("%1_1234567890_09.plat").arg(n),
              {std::to_string(n).c_str(), "1234567890", "03.02.2009"});
    a.put("7_1111111111_09.plat", {"7", "1111111111", "03.02.2009"});
    a.put("007_1234567890_08.plat", {"007", "1234567890", "03.02.2008"});
    a.put("7__2222222222_09.plat", {"7", "2222222222", "03.02.2009"});
    for (const char* unfit : {"8_12345678A0_09.plat", "8_1234567890.plat", "123456_1_09.plat",
                              "8_1234567890_20091.plat", "8_1234567890123456789012_09.plat"})
        a.put(unfit, {"8", "1234567890", "03.02.2009"});
    a.build();
    ASSERT_EQ(a.orders.size(), 1033u) << "no ceiling of 1024";
    const std::vector<std::uint32_t> first(a.orders.listOrder().begin() + 6,
                                           a.orders.listOrder().begin() + 10);
    EXPECT_EQ(a.names(first), (Names{"7_1111111111_09.plat", "007_1234567890_08.plat",
                                     "7_1234567890_09.plat", "7__2222222222_09.plat"}));
    EXPECT_EQ(a.orders.numberText(first[1]), "007");
    EXPECT_EQ(a.orders.file(first[1]).keys.number, 7u);
    EXPECT_EQ(a.orders.payerInn(first[3]), "2222222222");
    EXPECT_EQ(a.orders.yearDigits(first[1]), "08");

    a.rules.currentYearOnly = true;
    a.rules.currentYear = 2008;
    a.build();
    EXPECT_EQ(a.names(a.orders.listOrder()), Names{"007_1234567890_08.plat"});
}

TEST(SavedOrders, PayerAndPayeeTablesAndNamesFollowTheList) {
    Archive a;
    a.put("3", "7700000001", "01.01.2009", "7700000009", "1-00");
    a.put("12", "7700000001", "01.01.2009", "5500000005", "1-00");
    a.put("5", "5500000002", "01.01.2009", "7700000009", "1-00");
    a.dir.write("PP/9_7700000001_09.plat", QByteArray(100, '\0'));
    a.build();
    ASSERT_EQ(a.orders.payers().size(), 2u);
    EXPECT_EQ(a.orders.party(a.orders.payers()[0].party).name.view(), cps("Фирма 7700000001"));
    EXPECT_EQ(a.orders.payers()[0].maxNumber, 12u) << "the unread order 9 counts by its name";
    EXPECT_EQ(a.orders.party(a.orders.payers()[1].party).name.view(), "5500000002");
    ASSERT_EQ(a.orders.payees().size(), 2u) << "an unread order has no payee";
    EXPECT_EQ(a.orders.party(a.orders.payees()[0]).inn.view(), "7700000009");

    a.orders.remove(std::uint32_t(a.orders.find("12_7700000001_09.plat")));
    EXPECT_EQ(a.orders.payers()[0].maxNumber, 9u);
    EXPECT_EQ(a.orders.payees().size(), 1u);
}

TEST(SavedOrders, AnOrderThatNoLongerFitsItsNameIsListedUnderTheNameOfItsRecord) {
    Archive a;
    a.put("5_1234567890_09.plat", {"6", "1234567890", "03.02.2009"});
    a.put("7_1234567890_09.plat", {"8", "1234567890", "03.02.2009"});
    a.put("8_1234567890_09.plat", {"8", "1234567890", "03.02.2009", "1"});
    a.rules.readOnly = true;
    a.build();
    EXPECT_EQ(a.names(a.orders.listOrder()),
              (Names{"5_1234567890_09.plat", "7_1234567890_09.plat", "8_1234567890_09.plat"}));
    a.rules.readOnly = false;
    a.build();
    EXPECT_EQ(a.names(a.orders.listOrder()),
              (Names{"6_1234567890_09.plat", "7_1234567890_09.plat", "8_1234567890_09.plat"}))
        << "never over another file";
    EXPECT_EQ(a.dir.read("PP/8_1234567890_09.plat"),
              platFile({"8", "1234567890", "03.02.2009", "1"}));
}

TEST(SavedOrders, SortsByEveryColumnBothWaysEqualValuesInListOrder) {
    Archive a;
    a.put("1", "7700000002", "05.01.2009", "7700000009", "300-00", "", 1);
    a.put("2", "7700000001", "31.12.2008", "5500000005", "20-00", "", 0);
    a.put("3", "7700000001", "05.01.2009", "7700000009", "1000-00", "", 1);
    a.put("4_7700000001_09.plat", {"4", "7700000001", "05.01.2009", "", "x"});
    a.dir.write("PP/5_7700000001_09.plat", QByteArray(10, '\0'));
    a.build();
    const struct Case {
        OrderColumn column;
        Names ascending, descending;
    } cases[] = {
        {OrderColumn::Number, {"1", "2", "3", "4", "5"}, {"5", "4", "3", "2", "1"}},
        {OrderColumn::Date, {"5", "2", "1", "3", "4"}, {"1", "3", "4", "2", "5"}},
        {OrderColumn::Payer, {"2", "3", "4", "5", "1"}, {"1", "2", "3", "4", "5"}},
        // Parties by name: "5500000005" before "Фирма ...", none (unread) first.
        {OrderColumn::Payee, {"5", "4", "2", "1", "3"}, {"1", "3", "2", "4", "5"}},
        {OrderColumn::Amount, {"4", "5", "2", "1", "3"}, {"3", "1", "2", "4", "5"}},
        {OrderColumn::State, {"5", "2", "4", "1", "3"}, {"1", "3", "2", "4", "5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.column));
        EXPECT_EQ(a.numbers(a.orders.sorted(a.orders.listOrder(), c.column, false)), c.ascending);
        EXPECT_EQ(a.numbers(a.orders.sorted(a.orders.listOrder(), c.column, true)), c.descending);
    }
}

TEST(SavedOrders, SearchFindsWordStartsOfEveryField) {
    Archive a;
    a.put("15", "7700000001", "03.02.2009", "5500000005", "1500-50", "Оплата по счёту № 44-Б");
    a.put("150", "5500000002", "12.11.2009", "7700000009", "20-00", "Аренда за ноябрь");
    a.put("7", "5500000002", "01.12.2009", "7700000009", "215-00", "оплата аренды");
    a.build();
    const struct Case {
        const char* query;
        Names numbers;
    } cases[] = {
        {"15", {"15", "150"}},         // number
        {"12", {"7", "150"}},          // day and month of the date
        {"03.02", {"15"}},             // the date from its start
        {"1500,5", {"15"}},            // amount with another separator
        {"1500.50", {"15"}},           //
        {"500", {}},                   // not the start of the amount
        {"фирма", {"7", "15", "150"}}, // payer or payee name
        {"55000", {"7", "15", "150"}}, // payer or payee INN
        {"СЧЕТ", {"15"}},              // purpose, either case, ё as е
        {"б", {"15"}},                 // "44-Б": "Б" starts a word
        {"аренд ноя", {"150"}},        // every word
        {"плата", {}},                 // not the start of a word
        {"  ", {"7", "15", "150"}},    // no words: every order
    };
    for (const Case& c : cases)
        EXPECT_EQ(a.found(c.query), c.numbers) << c.query;
}

TEST(SavedOrders, SumOfRowsOrWhyThereIsNone) {
    Archive a;
    a.put("1", "7700000001", "01.01.2009", "7700000009", "1500-50");
    a.put("2", "7700000001", "01.01.2009", "7700000009", "20,5");
    a.put("3", "7700000001", "01.01.2009", "7700000009", "12a");
    a.put("4", "7700000001", "01.01.2009", "7700000009", "");
    a.put("5", "7700000001", "01.01.2009", "7700000009", "1-2-3");
    a.put("6", "7700000001", "01.01.2009", "7700000009", "999999999999");
    a.dir.write("PP/7_7700000001_09.plat", QByteArray(10, '\0'));
    a.build();
    const std::vector<std::uint32_t>& rows = a.orders.listOrder();
    const auto sum = [&](std::vector<int> numbers) {
        std::vector<std::uint32_t> picked;
        for (int n : numbers)
            picked.push_back(rows[std::size_t(n - 1)]);
        return a.orders.sum(picked);
    };
    EXPECT_EQ(sum({1, 2, 3}).total, Money::fromKopecks(150050 + 2050 + 1200));
    EXPECT_EQ(sum({4}).error, "В платежке № 4 нет суммы. Сумма выделенных платежек не подсчитана.");
    EXPECT_EQ(sum({1, 5}).error, "В платежке № 5 сумма «1-2-3» не является числом. Сумма "
                                 "выделенных платежек не подсчитана.");
    EXPECT_EQ(sum({7}).error,
              "Платежка № 7 не прочитана: 10 байт вместо 1169. Сумма выделенных платежек не "
              "подсчитана.");
    // Ninety-three thousand of the largest amounts are beyond what 64 bits of kopecks hold.
    const OrdersSum beyond = a.orders.sum(std::vector<std::uint32_t>(93000, rows[5]));
    EXPECT_FALSE(beyond.error.isEmpty());
    EXPECT_TRUE(a.orders.sum(std::vector<std::uint32_t>(92000, rows[5])).error.isEmpty());
}

TEST(SavedOrders, RefreshListsASavedOrderInItsPlaceAndDropsAGoneOne) {
    Archive a;
    a.put("3", "7700000001", "01.01.2009", "7700000009", "1-00");
    a.put("9", "7700000001", "01.01.2009", "7700000009", "1-00");
    a.build();
    a.put("5", "5500000002", "01.01.2009", "5500000005", "7-00", "новая");
    const std::int64_t row = a.orders.refresh(a.folder(), "5_5500000002_09.plat", a.rules, {});
    ASSERT_GE(row, 0);
    EXPECT_EQ(a.numbers(a.orders.listOrder()), (Names{"3", "5", "9"}));
    EXPECT_EQ(a.orders.payers().size(), 2u);
    EXPECT_EQ(a.found("новая"), Names{"5"});

    a.put("5", "5500000002", "01.01.2009", "5500000005", "8-00", "другая");
    EXPECT_EQ(a.orders.refresh(a.folder(), "5_5500000002_09.plat", a.rules, {}), row);
    EXPECT_EQ(a.orders.file(std::uint32_t(row)).amount.view(), "8-00");
    EXPECT_EQ(a.found("новая"), Names{});
    EXPECT_EQ(a.found("другая"), Names{"5"});

    ASSERT_TRUE(QFile::remove(a.dir.file("PP/3_7700000001_09.plat")));
    EXPECT_EQ(a.orders.refresh(a.folder(), "3_7700000001_09.plat", a.rules, {}), -1);
    EXPECT_EQ(a.numbers(a.orders.listOrder()), (Names{"5", "9"}));
}
