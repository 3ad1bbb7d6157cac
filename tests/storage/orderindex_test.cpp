#include "support/support.h"

#include "storage/orderindex.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace storage;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

struct Folder {
    TempDir dir;
    Folder() {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        QDir(dir.path()).mkpath(QStringLiteral("PP"));
    }
    QString orders() const { return dir.file(QStringLiteral("PP")); }
    QString index() const { return dir.file(QStringLiteral("Data/Index")); }
    void put(const char* number, const char* amount) const {
        dir.write(QStringLiteral("PP/%1_1234567890_09.plat").arg(QLatin1String(number)),
                  platFile({number, "1234567890", "03.02.2009", "5555555555", amount}));
    }
};

// A scan that trusts every file to the index at once (settleNs 0), as files in the test
// are written a moment before.
OrderFolderScan scan(const Folder& f, std::int64_t settleNs = 0) {
    OrderScanOptions options;
    options.settleNs = settleNs;
    OrderFolderScan s;
    EXPECT_TRUE(scanOrderFolder(f.orders(), f.index(), options, s));
    return s;
}

// Scans and writes the index as a start does.
OrderFolderScan start(const Folder& f, std::int64_t settleNs = 0) {
    OrderFolderScan s = scan(f, settleNs);
    if (!s.indexCurrent) {
        EXPECT_TRUE(writeOrderIndex(f.index(), f.orders(), s));
    }
    return s;
}

// "name amount" of every order, by name.
std::vector<std::string> amounts(const OrderFolderScan& s) {
    std::vector<std::string> out;
    for (const FolderOrder& o : s.orders)
        out.push_back(std::string(o.name.view()) + " " + std::string(o.amount.view()));
    std::sort(out.begin(), out.end());
    return out;
}

// Lets the file system's clock move on, so that a change made now gets new times.
void nextClockTick() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

// Overwrites the amount of an order file in place (same size), then sets its modification
// time back to what it was: only the status change time tells the change.
void changeAmountInPlace(const QString& path, const char* amount) {
    const QByteArray p = QFile::encodeName(path);
    struct stat before {};
    ASSERT_EQ(::stat(p.constData(), &before), 0);
    const QByteArray record = platFile({"1", "1234567890", "03.02.2009", "5555555555", amount});
    const int fd = ::open(p.constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, record.constData(), std::size_t(record.size()), 0), record.size());
    ::close(fd);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.constData(), times, 0), 0);
}

} // namespace

TEST(OrderIndex, ANewStartTakesEveryOrderFromTheIndexWithWhatTheListNeeds) {
    Folder f;
    f.dir.write("PP/5_1234567890_09.plat", platFile({"5", "1234567890", "03.02.2009", "7777777777",
                                                     "150-50", 1, "Оплата ПО Счёту № 5, Ёлка"}));
    f.put("6", "1-00");
    f.dir.write("PP/7_1234567890_09.plat", QByteArray(1170, '\0'));

    const OrderFolderScan first = start(f);
    EXPECT_EQ(first.filesRead, 3);
    const OrderFolderScan again = scan(f);
    EXPECT_TRUE(again.indexCurrent);
    EXPECT_EQ(again.filesRead, 1) << "the file that is not an order is never in the index";
    ASSERT_EQ(again.orders.size(), 3u);
    for (const FolderOrder& o : again.orders) {
        SCOPED_TRACE(std::string(o.name.view()));
        if (o.name == std::string_view("5_1234567890_09.plat")) {
            EXPECT_EQ(o.number.view(), "5");
            EXPECT_EQ(o.date.view(), "03.02.2009");
            EXPECT_EQ(o.amount.view(), "150-50");
            EXPECT_EQ(o.payerInn.view(), "1234567890");
            EXPECT_EQ(o.payeeInn.view(), "7777777777");
            EXPECT_EQ(o.accepted, 1);
            EXPECT_EQ(again.purpose(o), testing_support::cps("оплата по счету № 5, елка"));
        } else if (o.name == std::string_view("7_1234567890_09.plat")) {
            EXPECT_TRUE(o.unread);
            ASSERT_EQ(again.problems.size(), 1u);
            EXPECT_EQ(again.problems[0].second, QStringLiteral("1170 байт вместо 1169"));
        }
    }
}

TEST(OrderIndex, AMissingDamagedOrForeignIndexIsRebuiltFromTheFiles) {
    const struct Case {
        const char* fault;
        std::function<void(Folder&)> make;
    } cases[] = {
        {"deleted", [](Folder& f) { QFile::remove(f.index()); }},
        {"truncated", [](Folder& f) { QFile(f.index()).resize(QFile(f.index()).size() / 2); }},
        {"a byte changed",
         [](Folder& f) {
             QByteArray data = f.dir.read("Data/Index");
             data[data.size() / 2] = char(data[data.size() / 2] ^ 0x20);
             f.dir.write("Data/Index", data);
         }},
        {"another format", [](Folder& f) { f.dir.write("Data/Index", "not an index\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Folder f;
        f.put("1", "1-00");
        f.put("2", "2-00");
        start(f);
        c.make(f);
        const OrderFolderScan s = start(f);
        EXPECT_EQ(s.filesRead, 2);
        EXPECT_FALSE(s.indexCurrent);
        EXPECT_EQ(amounts(s), (std::vector<std::string>{"1_1234567890_09.plat 1-00",
                                                        "2_1234567890_09.plat 2-00"}));
        EXPECT_EQ(scan(f).filesRead, 0) << "rebuilt";
    }

    // A program folder moved elsewhere keeps its files' inodes and times: its index, written
    // for the old place, is not taken.
    Folder from, to;
    from.put("1", "1-00");
    start(from);
    ASSERT_TRUE(QDir(to.orders()).removeRecursively());
    ASSERT_TRUE(QDir().rename(from.dir.file("PP"), to.orders()));
    ASSERT_TRUE(QFile::rename(from.index(), to.index()));
    EXPECT_EQ(scan(to).filesRead, 1);
}

TEST(OrderIndex, FilesChangedAddedOrRemovedBehindTheProgramsBackShowNoStaleRow) {
    Folder f;
    f.put("1", "1-00");
    f.put("2", "2-00");
    f.put("3", "3-00");
    // An order of the same size made before the index, moved over order 3 after it with
    // order 3's times: only the move itself tells the new file.
    f.dir.write("PP/3.new", platFile({"3", "1234567890", "03.02.2009", "5555555555", "8-88"}));
    start(f);
    nextClockTick();
    changeAmountInPlace(f.dir.file("PP/1_1234567890_09.plat"), "9-99");
    ASSERT_TRUE(QFile::remove(f.dir.file("PP/2_1234567890_09.plat")));
    f.put("4", "4-00");
    const QByteArray three = QFile::encodeName(f.dir.file("PP/3_1234567890_09.plat"));
    struct stat before {};
    ASSERT_EQ(::stat(three.constData(), &before), 0);
    ASSERT_EQ(::rename(QFile::encodeName(f.dir.file("PP/3.new")).constData(), three.constData()),
              0);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, three.constData(), times, 0), 0);

    const OrderFolderScan s = start(f);
    EXPECT_EQ(s.filesRead, 3);
    EXPECT_FALSE(s.indexCurrent);
    EXPECT_EQ(amounts(s),
              (std::vector<std::string>{"1_1234567890_09.plat 9-99", "3_1234567890_09.plat 8-88",
                                        "4_1234567890_09.plat 4-00"}));
    EXPECT_EQ(scan(f).filesRead, 0);

    // The index written again keeps the files' own stamps of the entries it took, and a file
    // changed in place is told by them.
    f.put("5", "5-00");
    EXPECT_EQ(start(f).filesRead, 1);
    nextClockTick();
    changeAmountInPlace(f.dir.file("PP/1_1234567890_09.plat"), "7-77");
    const OrderFolderScan again = scan(f);
    EXPECT_EQ(again.filesRead, 1);
    EXPECT_EQ(amounts(again).front(), "1_1234567890_09.plat 7-77");
}

TEST(OrderIndex, AFileChangedJustBeforeTheScanIsReadAgainByTheNext) {
    // A change in the same tick of the file system's clock as the scan would leave the
    // file's times as they were: an entry holds only for times before the scan less the
    // settle time.
    Folder f;
    f.put("1", "1-00");
    start(f, 60'000'000'000);
    changeAmountInPlace(f.dir.file("PP/1_1234567890_09.plat"), "9-99");
    const OrderFolderScan s = scan(f);
    EXPECT_EQ(s.filesRead, 1);
    EXPECT_EQ(amounts(s), (std::vector<std::string>{"1_1234567890_09.plat 9-99"}));
}
