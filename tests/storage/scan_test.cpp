#include "support/support.h"

#include "storage/datafiles.h"
#include "storage/scan.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace storage;
using testing_support::cp;
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

// An order file in PP whose content fits its name "number_INN_yy.plat".
void putOrder(const TempDir& dir, const QString& name, const char* number, const char* yy,
              const char* payee = "5555555555") {
    const std::string date = std::string("03.02.20") + yy;
    dir.write("PP/" + name, platFile({number, Inn, date.c_str(), payee, "100-00"}));
}

std::vector<std::string> fileNames(const Store& s) {
    std::vector<std::string> out;
    for (int i = 0; i < s.PlatCount; ++i)
        out.emplace_back(s.PlatList[i].FileName.view());
    return out;
}

IoResult scan(Store& s) {
    return FindFilesPlat(s, 2009);
}

void addFirm(Store& s, const char* name, const char* inn) {
    TFirm& f = s.Firms[std::size_t(s.FirmCount++)];
    f.Name = cps(name);
    f.Inn = inn;
}

} // namespace

TEST(Scan, ListsAscendingByNumber) {
    TempDir dir;
    auto s = storeIn(dir);
    for (const char* n : {"12", "3", "7"})
        putOrder(dir, QString("%1_1234567890_09.plat").arg(n), n, "09");
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s),
              (std::vector<std::string>{"3_1234567890_09.plat", "7_1234567890_09.plat",
                                        "12_1234567890_09.plat"}));
}

TEST(Scan, NumberKeepsItsLeadingZerosAsText) {
    TempDir dir;
    auto s = storeIn(dir);
    putOrder(dir, "007_1234567890_09.plat", "007", "09");
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PlatCount, 1);
    EXPECT_EQ(s->PlatList[0].NumberText.view(), "007");
    EXPECT_EQ(s->PlatList[0].NumberValue, 7u);
    EXPECT_EQ(s->PlatList[0].YearDigits.view(), "09");
}

TEST(Scan, WhichFilesAreListed) {
    struct Case {
        const char* name;
        qsizetype size;
        bool listed;
        unsigned number; // when listed
    };
    const Case cases[] = {
        {"12_1234567890_09.plat", 1169, true, 12},
        {"12_1234567890_09.plat", 1170, false, 0},
        {"12_1234567890_09.plat", 1168, false, 0},
        {"12_1234567890_09.plat", 389, false, 0},
        {"12_12345678A0_09.plat", 1169, false, 0},
        {"12_1234567890.plat", 1169, false, 0},
        {"12_1234567890_09_1.plat", 1169, false, 0},
        {"12__1234567890_09.plat", 1169, true, 12},
        {"_12_1234567890_09_.plat", 1169, true, 12},
        {"12_1234567890_09.PLAT", 1169, true, 12},
        {"12_1234567890_09.Plat", 1169, true, 12},
        {"12_1234567890_09.plat.bak", 1169, false, 0},
        {"12_1234567890_09.pdel", 1169, false, 0},
        // The editor allows five digits: a number above 65535 is kept whole.
        {"99999_1234567890_09.plat", 1169, true, 99999},
        // Parts longer than the program ever writes are left out.
        {"123456_1234567890_09.plat", 1169, false, 0},
        {"12_1234567890_20091.plat", 1169, false, 0},
        {"12_1234567890_2009.plat", 1169, true, 12},
        // A name longer than the list's 28 characters could not be opened from the list.
        {"12_____1234567890______09.plat", 1169, false, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        QByteArray bytes = platFile({"12", Inn, "03.02.2009"});
        bytes.resize(c.size);
        dir.write(QString("PP/") + c.name, bytes);
        ASSERT_TRUE(scan(*s)) << c.name;
        EXPECT_EQ(s->PlatCount, c.listed ? 1 : 0) << c.name << " " << c.size;
        if (c.listed && s->PlatCount == 1) {
            EXPECT_EQ(s->PlatList[0].NumberValue, c.number) << c.name;
            EXPECT_EQ(s->PlatList[0].FileName.view(), c.name);
            EXPECT_EQ(s->PlatList[0].PayerInn.view(), Inn) << c.name;
        }
    }
}

TEST(Scan, OnlyRegularFilesOfTheFolderAreListed) {
    TempDir dir;
    TempDir outside;
    auto s = storeIn(dir);
    putOrder(dir, "1_1234567890_09.plat", "1", "09");
    ASSERT_TRUE(QDir(dir.file("PP")).mkdir("2_1234567890_09.plat"));
    outside.write("3_1234567890_09.plat", platFile({"3", Inn, "03.02.2009"}));
    ASSERT_TRUE(
        QFile::link(outside.file("3_1234567890_09.plat"), dir.file("PP/3_1234567890_09.plat")));
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
    putOrder(dir, "1_1234567890_08.plat", "1", "08");
    putOrder(dir, "2_1234567890_09.plat", "2", "09");
    s->CurrentYearOnly() = 1;
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s), std::vector<std::string>{"2_1234567890_09.plat"});
    s->CurrentYearOnly() = 0;
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PlatCount, 2);
}

TEST(Scan, ReadsDateAmountPayeeAndAcceptedFromTheFile) {
    TempDir dir;
    auto s = storeIn(dir);
    dir.write("PP/1_1234567890_09.plat",
              platFile({"1", Inn, "03.02.2009", "7701000001", "1500-50", 1}));
    // Only 1 means accepted.
    dir.write("PP/2_1234567890_09.plat",
              platFile({"2", Inn, "04.02.2009", "7701000002", "7,25", 2}));
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PlatCount, 2);
    const TPlatItem& a = s->PlatList[0];
    EXPECT_EQ(a.DateText.view(), "03.02.2009");
    EXPECT_EQ(a.AmountText.view(), "1500-50");
    EXPECT_EQ(a.PayeeInn.view(), "7701000001");
    EXPECT_EQ(a.PayeeText.view(), "7701000001");
    EXPECT_EQ(a.Accepted, 1);
    EXPECT_EQ(s->PlatList[1].Accepted, 0);
    EXPECT_EQ(s->PlatList[1].AmountText.view(), "7,25");
}

TEST(Scan, FileWhoseContentChangedGetsItsNewNameAtTheNextScan) {
    TempDir dir;
    auto s = storeIn(dir);
    const QByteArray content = platFile({"6", Inn, "03.02.2009"});
    dir.write("PP/5_1234567890_09.plat", content);
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PlatError, 1);
    ASSERT_EQ(s->PlatCount, 1);
    EXPECT_EQ(s->PlatList[0].NumberText.view(), "5");
    EXPECT_EQ(s->PlatList[0].FileName.view(), "5_1234567890_09.plat");
    EXPECT_FALSE(dir.exists("PP/5_1234567890_09.plat"));
    EXPECT_EQ(dir.read("PP/6_1234567890_09.plat"), content);

    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PlatError, 0);
    EXPECT_EQ(fileNames(*s), std::vector<std::string>{"6_1234567890_09.plat"});
}

TEST(Scan, StartScanShowsTheNewNameAtOnce) {
    TempDir dir;
    auto s = storeIn(dir);
    dir.write("PP/5_1234567890_09.plat", platFile({"5", Inn, "03.02.2008"}));
    ASSERT_TRUE(ScanAtStart(*s));
    EXPECT_EQ(fileNames(*s), std::vector<std::string>{"5_1234567890_08.plat"});
    EXPECT_EQ(s->PlatError, 0);
}

TEST(Scan, RenameNeverReplacesAnotherOrder) {
    TempDir dir;
    auto s = storeIn(dir);
    const QByteArray changed = platFile({"6", Inn, "03.02.2009", "1111111111"});
    const QByteArray other = platFile({"6", Inn, "03.02.2009", "2222222222"});
    dir.write("PP/5_1234567890_09.plat", changed);
    dir.write("PP/6_1234567890_09.plat", other);
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PlatError, 1);
    EXPECT_EQ(dir.read("PP/5_1234567890_09.plat"), changed);
    EXPECT_EQ(dir.read("PP/6_1234567890_09.plat"), other);
    EXPECT_EQ(s->PlatCount, 2);
}

TEST(Scan, NameBuiltFromContentIsUsedOnlyWhenItIsDigits) {
    struct Case {
        const char* number;
        const char* payerInn;
        const char* date;
    };
    const Case cases[] = {
        {"../6", Inn, "03.02.2009"}, {"6", "12/45", "03.02.2009"}, {"6", "", "03.02.2009"},
        {"", Inn, "03.02.2009"},     {"6", Inn, "03.02.20x9"},     {"6", Inn, "3.2.2009"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        const QByteArray content = platFile({c.number, c.payerInn, c.date});
        dir.write("PP/5_1234567890_09.plat", content);
        ASSERT_TRUE(scan(*s));
        EXPECT_EQ(s->PlatError, 1) << c.number << " " << c.payerInn << " " << c.date;
        EXPECT_EQ(QDir(dir.file("PP")).entryList(QDir::Files), QStringList{"5_1234567890_09.plat"})
            << c.number << " " << c.payerInn << " " << c.date;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }
}

TEST(Scan, PlatErrorTellsAboutTheLastNameOfThreeParts) {
    struct Case {
        std::vector<const char*> names; // in listing order
        int platError;
    };
    const Case cases[] = {
        {{"1_1234567890_09.plat", "2_12345678A0_09.plat"}, 1},
        {{"2_12345678A0_09.plat", "3_1234567890_09.plat"}, 0},
        // Files of another size or with other than three parts do not count.
        {{"1_1234567890_09.plat", "2_12345678A0_09.plat", "3_1234567890.plat"}, 1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto s = storeIn(dir);
        for (const char* name : c.names) {
            const std::string n(name);
            dir.write(QString("PP/") + name, platFile({n.substr(0, 1).c_str(), Inn, "03.02.2009"}));
        }
        ASSERT_TRUE(scan(*s));
        EXPECT_EQ(s->PlatError, c.platError) << c.names.back();
    }
}

TEST(Scan, PayerAndPayeeShowTheOrganizationNameOrTheInn) {
    TempDir dir;
    auto s = storeIn(dir);
    addFirm(*s, "Общество с ограниченной ответственностью  «Вега»", "7701000001");
    addFirm(*s, "ЗАО Альфа", "1234567890");
    addFirm(*s, "Второй с тем же ИНН", "1234567890");
    dir.write("PP/1_1234567890_09.plat", platFile({"1", Inn, "03.02.2009", "7701000001"}));
    dir.write("PP/2_7701000001_09.plat", platFile({"2", "7701000001", "03.02.2009", "999"}));
    dir.write("PP/3_4444444444_09.plat", platFile({"3", "4444444444", "03.02.2009", "123456789"}));
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PlatCount, 3);
    EXPECT_EQ(s->PlatList[0].PayerText.view(), cps("ЗАО Альфа"));
    EXPECT_EQ(s->PlatList[0].PayeeText.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->PlatList[1].PayerText.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->PlatList[1].PayeeText.view(), "999");
    EXPECT_EQ(s->PlatList[2].PayerText.view(), "4444444444");
    // An INN that is the start of another is no match.
    EXPECT_EQ(s->PlatList[2].PayeeText.view(), "123456789");

    ASSERT_EQ(s->PayerInnCount, 3);
    EXPECT_EQ(s->PayerInnTable[0].Name.view(), cps("ЗАО Альфа"));
    EXPECT_EQ(s->PayerInnTable[2].Inn.view(), "4444444444");
    EXPECT_EQ(s->PayerInnTable[2].Name.view(), "4444444444");
    ASSERT_EQ(s->PayeeInnCount, 3);
    EXPECT_EQ(s->PayeeInnTable[0].Name.view(), cps("ООО «Вега»"));
    EXPECT_EQ(s->PayeeInnTable[1].Name.view(), "999");
}

TEST(Scan, TheFirst1024FilesInFolderOrderAreListed) {
    TempDir dir;
    auto s = storeIn(dir);
    std::vector<std::string> names;
    for (int n = 1; n <= 1030; ++n) {
        const std::string number = std::to_string(n);
        names.push_back(number + "_1234567890_09.plat");
        dir.write(QString::fromStdString("PP/" + names.back()),
                  platFile({number.c_str(), Inn, "03.02.2009"}));
    }
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PlatCount, 1024);
    // The folder lists names in character order ("1000_" before "999_"), so the six
    // greatest names, not the six greatest numbers, are left out.
    std::sort(names.begin(), names.end());
    names.resize(1024);
    std::vector<unsigned> expected;
    for (const std::string& n : names)
        expected.push_back(unsigned(std::stoul(n)));
    std::sort(expected.begin(), expected.end());
    std::vector<unsigned> listed;
    for (int i = 0; i < s->PlatCount; ++i)
        listed.push_back(s->PlatList[i].NumberValue);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), 999u), 0);
    EXPECT_EQ(s->PayerInnTable[0].MaxNumber, 1030u);
}

TEST(Scan, EqualNumbersEndAsTheExchangeSortLeavesThem) {
    TempDir dir;
    auto s = storeIn(dir);
    // Listed as 10_111..., 10_222..., 9_333...: the exchange puts 9 first and moves the
    // first 10 behind the second.
    dir.write("PP/10_1111111111_09.plat", platFile({"10", "1111111111", "03.02.2009"}));
    dir.write("PP/10_2222222222_09.plat", platFile({"10", "2222222222", "03.02.2009"}));
    dir.write("PP/9_3333333333_09.plat", platFile({"9", "3333333333", "03.02.2009"}));
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(fileNames(*s),
              (std::vector<std::string>{"9_3333333333_09.plat", "10_2222222222_09.plat",
                                        "10_1111111111_09.plat"}));
}

TEST(Scan, OrderOfManyEqualNumbersMatchesTheWholeEntryExchange) {
    TempDir dir;
    auto s = storeIn(dir);
    QRandomGenerator g(7);
    std::vector<std::pair<unsigned, std::string>> entries;
    for (int i = 0; i < 300; ++i) {
        const std::string number = std::to_string(g.bounded(1, 20));
        const std::string inn = std::to_string(7700000000LL + i);
        const std::string name = number + "_" + inn + "_09.plat";
        entries.emplace_back(unsigned(std::stoul(number)), name);
        dir.write(QString::fromStdString("PP/" + name),
                  platFile({number.c_str(), inn.c_str(), "03.02.2009"}));
    }
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
}

TEST(Scan, MaxNumberIsTheHighestNumberOfEachPayer) {
    TempDir dir;
    auto s = storeIn(dir);
    for (const char* n : {"3", "12", "007"})
        putOrder(dir, QString("%1_1234567890_09.plat").arg(n), n, "09");
    dir.write("PP/5_2222222222_09.plat", platFile({"5", "2222222222", "03.02.2009"}));
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PayerInnCount, 2);
    // List order is 3, 5, 007, 12: the payers in order of first appearance.
    EXPECT_EQ(s->PayerInnTable[0].Inn.view(), Inn);
    EXPECT_EQ(s->PayerInnTable[0].MaxNumber, 12u);
    EXPECT_EQ(s->PayerInnTable[1].Inn.view(), "2222222222");
    EXPECT_EQ(s->PayerInnTable[1].MaxNumber, 5u);
}

TEST(Scan, TablesHoldMoreThan256Inns) {
    TempDir dir;
    auto s = storeIn(dir);
    for (int i = 0; i < 300; ++i) {
        const std::string inn = std::to_string(7700000000LL + i);
        dir.write(QString::fromStdString("PP/1_" + inn + "_09.plat"),
                  platFile({"1", inn.c_str(), "03.02.2009", inn.c_str()}));
    }
    ASSERT_TRUE(scan(*s));
    EXPECT_EQ(s->PayerInnCount, 300);
    EXPECT_EQ(s->PayeeInnCount, 300);
    EXPECT_EQ(s->PayerInnTable[299].Inn.view(), "7700000299");
}

TEST(Scan, WithoutOrdersTheTablesAreEmpty) {
    TempDir dir;
    auto s = storeIn(dir);
    putOrder(dir, "1_1234567890_09.plat", "1", "09");
    ASSERT_TRUE(scan(*s));
    ASSERT_EQ(s->PayerInnCount, 1);
    // The last saved order deleted from the list.
    s->PlatCount = 0;
    FindINN(*s);
    EXPECT_EQ(s->PayerInnCount, 0);
    EXPECT_EQ(s->PayeeInnCount, 0);
}

TEST(Scan, UnreadableFileEndsTheScanWithItsMessage) {
    TempDir dir;
    auto s = storeIn(dir);
    for (const char* n : {"1", "2", "3"})
        putOrder(dir, QString("%1_1234567890_09.plat").arg(n), n, "09");
    s->PayerInnCount = 77; // tables of an earlier scan
    const ReadFileFn failOnSecond = [](const QString& path, QByteArray& out, qint64 max) {
        if (path.endsWith("/2_1234567890_09.plat"))
            return IoResult::failure("cannot read " + path);
        return readFile(path, out, max);
    };
    const IoResult r = FindFilesPlat(*s, 2009, failOnSecond);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.endsWith("/2_1234567890_09.plat")) << r.error.toStdString();
    ASSERT_EQ(s->PlatCount, 3);
    EXPECT_EQ(s->PlatList[0].DateText.view(), "03.02.2009");
    EXPECT_TRUE(s->PlatList[1].DateText.empty());
    EXPECT_TRUE(s->PlatList[2].DateText.empty());
    EXPECT_EQ(s->PayerInnCount, 77);
}

TEST(Scan, StartScanOnlyWhenThereAreOrderFiles) {
    TempDir dir;
    auto s = storeIn(dir);
    dir.write("PP/notes.txt", "x");
    s->PayerInnCount = 5;
    s->PlatError = 1;
    ASSERT_TRUE(ScanAtStart(*s));
    EXPECT_EQ(s->PayerInnCount, 5);
    EXPECT_EQ(s->PlatError, 1);

    // Any file named *.plat starts the scan, even one that is not listed.
    dir.write("PP/order.plat", "x");
    s->PlatError = 0;
    ASSERT_TRUE(ScanAtStart(*s));
    EXPECT_EQ(s->PayerInnCount, 0);
}
