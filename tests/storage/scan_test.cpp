#include "support/support.h"

#include "storage/scan.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace storage;
using testing_support::cps;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

constexpr const char* Inn = "1234567890";

std::unique_ptr<Store> storeIn(const TempDir& dir) {
    auto s = std::make_unique<Store>();
    s->setProgramDir(dir.path());
    QDir(dir.path()).mkpath("PP");
    return s;
}

// An order file "number_inn_09.plat" in PP whose content fits its name.
void putOrder(const TempDir& dir, const std::string& number, const std::string& inn = Inn,
              const char* payee = "5555555555") {
    dir.write(QString::fromStdString("PP/" + number + "_" + inn + "_09.plat"),
              platFile({number.c_str(), inn.c_str(), "03.02.2009", payee}));
}

std::vector<std::string> fileNames(const Store& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.orders.count; ++i)
        out.emplace_back(s.orders.items[i].fileName.view());
    return out;
}

IoResult scan(Store& s) {
    return scanOrders(s, 2009);
}

} // namespace

TEST(Scan, SortsByNumberAndKeepsTheHighestNumberOfEachPayer) {
    TempDir dir;
    auto s = storeIn(dir);
    for (const char* n : {"12", "3", "007"})
        putOrder(dir, n);
    putOrder(dir, "5", "2222222222");
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s),
              (std::vector<std::string>{"3_1234567890_09.plat", "5_2222222222_09.plat",
                                        "007_1234567890_09.plat", "12_1234567890_09.plat"}));
    EXPECT_EQ(s->orders.items[2].numberText.view(), "007");
    EXPECT_EQ(s->orders.items[2].numberValue, 7u);
    EXPECT_EQ(s->orders.items[2].yearDigits.view(), "09");
    // Payers in order of first appearance in the list.
    ASSERT_EQ(s->orders.payerCount, 2);
    EXPECT_EQ(s->orders.payers[0].inn.view(), Inn);
    EXPECT_EQ(s->orders.payers[0].maxNumber, 12u);
    EXPECT_EQ(s->orders.payers[1].maxNumber, 5u);
}

TEST(Scan, WhichFilesAreListed) {
    struct Case {
        const char* name;
        qsizetype size;
        unsigned number; // 0: not listed
    };
    const Case cases[] = {
        {"12_1234567890_09.plat", 1169, 12},
        // A name of an order with another size is listed, as unreadable (see below).
        {"12_1234567890_09.plat", 1170, 12},
        {"12_1234567890_09.plat", 389, 12},
        {"12_12345678A0_09.plat", 1169, 0},
        {"12_1234567890.plat", 1169, 0},
        {"12_1234567890_09_1.plat", 1169, 0},
        {"12__1234567890_09.plat", 1169, 12},
        {"_12_1234567890_09_.plat", 1169, 12},
        {"12_1234567890_09.PLAT", 1169, 12},
        {"12_1234567890_09.plat.bak", 1169, 0},
        {"12_1234567890_09.pdel", 1169, 0},
        // The editor allows five digits: a number above 65535 is kept whole.
        {"99999_1234567890_09.plat", 1169, 99999},
        // Parts longer than the program ever writes are left out.
        {"123456_1234567890_09.plat", 1169, 0},
        {"12_1234567890_20091.plat", 1169, 0},
        {"12_1234567890_2009.plat", 1169, 12},
        // A name longer than the list's 28 characters could not be opened from the list.
        {"12_____1234567890______09.plat", 1169, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        QByteArray bytes = platFile({"12", Inn, "03.02.2009"});
        bytes.resize(c.size);
        dir.write(QString("PP/") + c.name, bytes);
        ASSERT_TRUE(scan(*s)) << c.name;
        ASSERT_EQ(s->orders.count, c.number ? 1 : 0) << c.name << " " << c.size;
        if (c.number) {
            EXPECT_EQ(s->orders.items[0].numberValue, c.number) << c.name;
            EXPECT_EQ(s->orders.items[0].fileName.view(), c.name);
            EXPECT_EQ(s->orders.items[0].payerInn.view(), Inn) << c.name;
        }
    }
}

TEST(Scan, OnlyRegularFilesOfTheFolderAreListed) {
    TempDir dir;
    TempDir outside;
    auto s = storeIn(dir);
    putOrder(dir, "1");
    ASSERT_TRUE(QDir(dir.file("PP")).mkdir("2_1234567890_09.plat"));
    outside.write("3.plat", platFile({"3", Inn, "03.02.2009"}));
    ASSERT_TRUE(QFile::link(outside.file("3.plat"), dir.file("PP/3_1234567890_09.plat")));
    ASSERT_TRUE(
        QFile::link(dir.file("PP/1_1234567890_09.plat"), dir.file("PP/4_1234567890_09.plat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("PP/5_1234567890_09.plat")).constData(), 0600),
              0);
    ASSERT_TRUE(scan(*s));
    // The link within the folder counts as a file; the one leading out of it does not.
    EXPECT_EQ(fileNames(*s),
              (std::vector<std::string>{"1_1234567890_09.plat", "4_1234567890_09.plat"}));
}

TEST(Scan, CurrentYearOnlyLeavesOtherYearsOut) {
    TempDir dir;
    auto s = storeIn(dir);
    dir.write("PP/1_1234567890_08.plat", platFile({"1", Inn, "03.02.2008"}));
    putOrder(dir, "2");
    s->settings.currentYearOnly() = 1;
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s), std::vector<std::string>{"2_1234567890_09.plat"});
    s->settings.currentYearOnly() = 0;
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->orders.count, 2);
}

TEST(Scan, EntriesShowTheFileAndTheOrganizationNames) {
    TempDir dir;
    auto s = storeIn(dir);
    for (auto [name, inn] :
         {std::pair{"Общество с ограниченной ответственностью  «Вега»", "7701000001"},
          {"ЗАО Альфа", Inn},
          {"Второй с тем же ИНН", Inn}}) {
        OrganizationRecord& f =
            s->directory.organizations[std::size_t(s->directory.organizationCount++)];
        f.name = cps(name);
        f.inn = inn;
    }
    dir.write("PP/1_1234567890_09.plat",
              platFile({"1", Inn, "03.02.2009", "7701000001", "1500-50", 1}));
    dir.write("PP/2_7701000001_09.plat", platFile({"2", "7701000001", "04.02.2009", "999"}));
    // Only 1 means accepted; an INN that is the start of another is no match.
    dir.write("PP/3_4444444444_09.plat",
              platFile({"3", "4444444444", "05.02.2009", "123456789", "7,25", 2}));
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->orders.count, 3);
    const OrderListItem& a = s->orders.items[0];
    EXPECT_EQ(a.dateText.view(), "03.02.2009");
    EXPECT_EQ(a.amountText.view(), "1500-50");
    EXPECT_EQ(a.accepted, 1);
    EXPECT_EQ(a.payerText.view(), cps("ЗАО Альфа"));
    EXPECT_EQ(a.payeeInn.view(), "7701000001");
    EXPECT_EQ(a.payeeText.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->orders.items[1].payerText.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->orders.items[1].payeeText.view(), "999");
    EXPECT_EQ(s->orders.items[2].payerText.view(), "4444444444");
    EXPECT_EQ(s->orders.items[2].payeeText.view(), "123456789");
    EXPECT_EQ(s->orders.items[2].accepted, 0);

    ASSERT_EQ(s->orders.payerCount, 3);
    EXPECT_EQ(s->orders.payers[0].name.view(), cps("ЗАО Альфа"));
    EXPECT_EQ(s->orders.payers[2].name.view(), "4444444444");
    ASSERT_EQ(s->orders.payeeCount, 3);
    EXPECT_EQ(s->orders.payees[0].name.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->orders.payees[1].name.view(), "999");
}

TEST(Scan, FileWhoseContentChangedIsListedUnderItsNewNameFromTheNextScan) {
    TempDir dir;
    auto s = storeIn(dir);
    const QByteArray content = platFile({"6", Inn, "03.02.2009"});
    dir.write("PP/5_1234567890_09.plat", content);
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PlatError, 1);
    EXPECT_EQ(fileNames(*s), std::vector<std::string>{"5_1234567890_09.plat"});
    EXPECT_EQ(s->orders.items[0].numberText.view(), "5");
    EXPECT_EQ(dir.read("PP/6_1234567890_09.plat"), content);

    // The scan at start runs again after a rename.
    dir.write("PP/7_1234567890_09.plat", platFile({"7", Inn, "03.02.2008"}));
    ASSERT_TRUE(scanAtStart(*s));
    EXPECT_EQ(s->PlatError, 0);
    EXPECT_EQ(fileNames(*s),
              (std::vector<std::string>{"6_1234567890_09.plat", "7_1234567890_08.plat"}));
}

TEST(Scan, FileKeepsItsNameWhenTheNewOneIsTakenOrNotDigits) {
    struct Case {
        const char* number;
        const char* payerInn;
        const char* date;
    };
    const Case cases[] = {
        {"6", Inn, "03.02.2009"}, // 6_1234567890_09.plat exists
        {"../6", Inn, "03.02.2009"}, {"6", "12/45", "03.02.2009"}, {"6", "", "03.02.2009"},
        {"", Inn, "03.02.2009"},     {"6", Inn, "03.02.20x9"},     {"6", Inn, "3.2.2009"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        const QByteArray content = platFile({c.number, c.payerInn, c.date});
        const QByteArray other = platFile({"6", Inn, "03.02.2009", "2222222222"});
        dir.write("PP/5_1234567890_09.plat", content);
        dir.write("PP/6_1234567890_09.plat", other);
        ASSERT_TRUE(scan(*s));
        const std::string what = std::string(c.number) + " " + c.payerInn + " " + c.date;
        EXPECT_EQ(s->PlatError, 1) << what;
        EXPECT_EQ(dir.read("PP/5_1234567890_09.plat"), content) << what;
        EXPECT_EQ(dir.read("PP/6_1234567890_09.plat"), other) << what;
        EXPECT_EQ(QDir(dir.file("PP")).count(), 4u) << what; // with "." and ".."
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList()) << what;
    }
}

TEST(Scan, PlatErrorTellsAboutTheLastOrderNameOfThreeParts) {
    struct Case {
        std::vector<const char*> names; // in listing order
        int platError;
    };
    const Case cases[] = {
        {{"1_1234567890_09.plat", "2_12345678A0_09.plat"}, 1},
        {{"2_12345678A0_09.plat", "3_1234567890_09.plat"}, 0},
        // Names with other than three parts do not count.
        {{"2_12345678A0_09.plat", "3_1234567890.plat"}, 1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        for (const char* name : c.names)
            dir.write(QString("PP/") + name,
                      platFile({std::string(name, 1).c_str(), Inn, "03.02.2009"}));
        ASSERT_TRUE(scan(*s));
        EXPECT_EQ(s->PlatError, c.platError) << c.names.back();
    }
}

TEST(Scan, TheFirst1024FilesInFolderOrderAreListed) {
    TempDir dir;
    auto s = storeIn(dir);
    std::vector<std::string> names;
    for (int n = 1; n <= 1030; ++n) {
        putOrder(dir, std::to_string(n));
        names.push_back(std::to_string(n) + "_1234567890_09.plat");
    }
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->orders.count, 1024);
    // The folder lists names in character order ("1000_" before "999_"), so the six
    // greatest names (9, 99, 999, 998, ...), not the six greatest numbers, are left out.
    std::sort(names.begin(), names.end());
    names.resize(1024);
    std::vector<unsigned> expected, listed;
    for (const std::string& n : names)
        expected.push_back(unsigned(std::stoul(n)));
    std::sort(expected.begin(), expected.end());
    for (int i = 0; i < s->orders.count; ++i)
        listed.push_back(s->orders.items[i].numberValue);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(s->orders.payers[0].maxNumber, 1030u);
}

TEST(Scan, EqualNumbersEndAsTheWholeEntryExchangeLeavesThem) {
    TempDir dir;
    auto s = storeIn(dir);
    QRandomGenerator g(7);
    std::vector<std::pair<unsigned, std::string>> entries;
    for (int i = 0; i < 300; ++i) {
        const std::string number = std::to_string(g.bounded(1, 20));
        const std::string inn = std::to_string(7700000000LL + i);
        putOrder(dir, number, inn);
        entries.emplace_back(unsigned(std::stoul(number)), number + "_" + inn + "_09.plat");
    }
    // Listing order, then each position against every later one.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j].first < entries[i].first)
                std::swap(entries[i], entries[j]);
    std::vector<std::string> expected;
    for (const auto& e : entries)
        expected.push_back(e.second);
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s), expected);
    // More distinct payers than an 8-bit count holds.
    EXPECT_EQ(s->orders.payerCount, 300);
    EXPECT_EQ(s->orders.payeeCount, 1);

    // The last saved order deleted from the list empties both tables.
    s->orders.count = 0;
    buildPartyTables(*s);
    EXPECT_EQ(s->orders.payerCount, 0);
    EXPECT_EQ(s->orders.payeeCount, 0);
}

// One unreadable order ended the scan: the list window showed every later row without date,
// payee or amount, and files of another size vanished without a word. Each is now listed in
// its place by its name with the reason, once reported at start, and the others keep theirs.
TEST(Scan, UnreadableAndWrongSizeOrdersAreListedWithTheirReasonAndOthersKeepTheirValues) {
    TempDir dir;
    auto s = storeIn(dir);
    for (const char* n : {"1", "2", "3"})
        putOrder(dir, n, Inn, n[0] == '3' ? "7777777777" : "5555555555");
    dir.write("PP/4_1234567890_09.plat", platFile({"4", Inn, "03.02.2009"}) + "x");
    const ReadFileFn failOnSecond = [](const QString& path, QByteArray& out, qint64 max) {
        if (path.endsWith("/2_1234567890_09.plat"))
            return IoResult::failure("cannot read " + path, "Ошибка ввода-вывода");
        return readFile(path, out, max);
    };
    ASSERT_TRUE(scanOrders(*s, 2009, failOnSecond));
    ASSERT_EQ(fileNames(*s),
              (std::vector<std::string>{"1_1234567890_09.plat", "2_1234567890_09.plat",
                                        "3_1234567890_09.plat", "4_1234567890_09.plat"}));
    EXPECT_EQ(s->orders.items[1].problem.view(), cps("Ошибка ввода-вывода"));
    EXPECT_EQ(s->orders.items[3].problem.view(), cps("1170 байт вместо 1169"));
    for (int i : {1, 3})
        EXPECT_TRUE(s->orders.items[i].dateText.empty() && s->orders.items[i].amountText.empty())
            << i;
    for (int i : {0, 2}) {
        EXPECT_TRUE(s->orders.items[i].problem.empty()) << i;
        EXPECT_EQ(s->orders.items[i].dateText.view(), "03.02.2009") << i;
    }
    EXPECT_EQ(s->orders.items[2].payeeInn.view(), "7777777777");
    // The tables are rebuilt; an unreadable order offers its payer's number but no payee.
    EXPECT_EQ(s->orders.payers[0].maxNumber, 4u);
    EXPECT_EQ(s->orders.payeeCount, 2);
    // The start names each once: the file and the reason.
    const IoResult atStart = scanAtStart(*s);
    EXPECT_FALSE(atStart.ok);
    EXPECT_EQ(atStart.error, "Не могу прочитать платежку " + dir.file("PP/4_1234567890_09.plat") +
                                 ": 1170 байт вместо 1169");
}

TEST(Scan, StartScanOnlyWhenThereAreOrderFiles) {
    TempDir dir;
    auto s = storeIn(dir);
    dir.write("PP/notes.txt", "x");
    s->orders.payerCount = 5;
    ASSERT_TRUE(scanAtStart(*s));
    EXPECT_EQ(s->orders.payerCount, 5);
    // Any file named *.plat starts the scan, even one that is not listed.
    dir.write("PP/order.plat", "x");
    ASSERT_TRUE(scanAtStart(*s));
    EXPECT_EQ(s->orders.payerCount, 0);
}
