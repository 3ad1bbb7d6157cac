#include "support/support.h"

#include "storage/cp1251.h"
#include "storage/datafiles.h"
#include "storage/fileio.h"
#include "storage/platfile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace storage;
using testing_support::cp;
using testing_support::cps;
using testing_support::TempDir;

namespace {

QByteArray randomBytes(qsizetype n, quint32 seed) {
    QRandomGenerator g(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (auto& c : b)
        c = char(g.bounded(256));
    return b;
}

std::unique_ptr<FolderData> storeIn(const TempDir& dir) {
    auto s = std::make_unique<FolderData>();
    s->folder.setProgramDir(dir.path());
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    return s;
}

} // namespace

TEST(ShortStr, CutsToCapacityAndComparesExactly) {
    ShortStr<5> s;
    clearRecord(s);
    s = "1234567";
    EXPECT_EQ(s.view(), "12345");
    EXPECT_EQ(s.len, 5);
    ShortStr<12> t;
    t = "12345";
    EXPECT_TRUE(s == t);
    t = "1234";
    EXPECT_FALSE(s == t);
    // A damaged length byte reads as the capacity, never beyond the field.
    s.len = 200;
    EXPECT_EQ(s.size(), 5u);
}

TEST(ShortStr, AssignLeavesBytesBehindTheLengthAlone) {
    ShortStr<8> s;
    clearRecord(s);
    s = "abcdefgh";
    s = "xy";
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&s), 9), QByteArray("\x02xycdefgh", 9));
}

TEST(Records, DirectoryFilesRoundTripEveryByte) {
    TempDir dir;
    auto s = storeIn(dir);
    // Arbitrary bytes in every slot (reserved bytes and text tails included), then names in
    // the first 3 slots only: a save and a load must keep every byte.
    const QByteArray firms = randomBytes(FirmsFileSize, 1);
    const QByteArray firmsDel = randomBytes(FirmsFileSize, 2);
    std::memcpy(s->directory.organizations.data(), firms.constData(), firms.size());
    std::memcpy(s->directory.deleted.data(), firmsDel.constData(), firmsDel.size());
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    ASSERT_TRUE(saveDeletedOrganizationsFile(s->folder, s->directory));
    EXPECT_EQ(dir.read("Data/Firms"), firms);
    EXPECT_EQ(dir.read("Data/FirmsDel"), firmsDel);

    auto loaded = storeIn(dir);
    QStringList messages;
    loadOrganizations(loaded->folder, loaded->directory, messages);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(recordBytes(loaded->directory.organizations), firms);
    EXPECT_EQ(recordBytes(loaded->directory.deleted), firmsDel);
}

TEST(Records, BranchAndEmployeeTablesRoundTrip) {
    TempDir dir;
    auto s = storeIn(dir);
    const QByteArray filial = randomBytes(FilialFileSize, 3);
    const QByteArray empl = randomBytes(EmployeeFileSize, 4);
    std::memcpy(s->directory.branches.data(), filial.constData(), filial.size());
    std::memcpy(s->directory.employees.data(), empl.constData(), empl.size());
    ASSERT_TRUE(saveBranchesFile(s->folder, s->directory));
    ASSERT_TRUE(saveEmployeesFile(s->folder, s->directory));
    EXPECT_EQ(dir.size("Data/Filial"), 46592);
    EXPECT_EQ(dir.size("Data/Employee"), 198656);

    auto loaded = storeIn(dir);
    QStringList messages;
    loadBranches(loaded->folder, loaded->directory, messages);
    loadEmployees(loaded->folder, loaded->directory, messages);
    EXPECT_EQ(recordBytes(loaded->directory.branches), filial);
    EXPECT_EQ(recordBytes(loaded->directory.employees), empl);
}

TEST(Records, FieldOffsetsMatchTheFileLayout) {
    OrganizationRecord f;
    clearRecord(f);
    f.name = "N";
    f.banks[2].bik = "044525225";
    f.inn = "7701234567";
    f.bankNo = 2;
    f.branchNo = 7;
    f.flags = 0x80;
    const QByteArray b = recordBytes(f);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b.mid(791 + 2 * 247 + 42, 10), QByteArray("\x09"
                                                        "044525225"));
    EXPECT_EQ(b.mid(1779, 11), QByteArray("\x0a"
                                          "7701234567"));
    EXPECT_EQ(quint8(b[1979]), 2);
    EXPECT_EQ(quint8(b[1981]), 7);
    EXPECT_EQ(quint8(b[1982]), 0x80);

    BranchRecord fl;
    clearRecord(fl);
    fl.organizationNo = 0x0102;
    EXPECT_EQ(recordBytes(fl).left(2), QByteArray("\x02\x01"));
}

TEST(Directory, CountStopsAtTheFirstEmptyName) {
    TempDir dir;
    auto s = storeIn(dir);
    for (int i : {0, 1, 2, 4, 5, 6})
        s->directory.organizations[i].name = "firm";
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    auto loaded = storeIn(dir);
    QStringList messages;
    loadOrganizations(loaded->folder, loaded->directory, messages);
    EXPECT_EQ(loaded->directory.organizationCount, 3);
    EXPECT_EQ(loaded->directory.deletedCount, 0);
}

TEST(Directory, SaveAlwaysWritesAll256Slots) {
    TempDir dir;
    auto s = storeIn(dir);
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    EXPECT_EQ(dir.size("Data/Firms"), 507648);
    s->directory.organizations[0].name = "a";
    s->directory.organizationCount = 1;
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    EXPECT_EQ(dir.size("Data/Firms"), 507648);
}

TEST(Directory, RemovalMovesLaterRecordsDownAndClearsTheFreedSlot) {
    FolderData s;
    for (int i = 0; i < 4; ++i) {
        s.directory.organizations[i].name = std::string(1, char('A' + i));
        s.directory.organizations[i].bankNo = 3;
        s.directory.organizations[i].branchNo = 9;
        s.directory.organizations[i].flags = 0xFF;
    }
    removeRecord(s.directory.organizations, 4, 1);
    EXPECT_EQ(s.directory.organizations[0].name.view(), "A");
    EXPECT_EQ(s.directory.organizations[1].name.view(), "C");
    EXPECT_EQ(s.directory.organizations[2].name.view(), "D");
    OrganizationRecord empty;
    clearRecord(empty);
    EXPECT_EQ(recordBytes(s.directory.organizations[3]), recordBytes(empty));

    // Removing the last record clears it: an organization created there starts empty, with
    // bank slot 0 and no branch link.
    removeRecord(s.directory.organizations, 3, 2);
    EXPECT_EQ(recordBytes(s.directory.organizations[2]), recordBytes(empty));
    EXPECT_EQ(s.directory.organizations[1].name.view(), "C");
}

TEST(Directory, ExportWritesTheFirst64WithoutBankDetails) {
    TempDir dir;
    auto s = storeIn(dir);
    for (int i = 0; i < 70; ++i) {
        OrganizationRecord& f = s->directory.organizations[i];
        f.name = "firm " + std::to_string(i);
        f.okved = "okved";
        f.banks[0].account = "40702810000000000001";
        f.bankNo = 1;
        f.flags = 0x80;
        f.reserved1[0] = 7;
    }
    s->directory.organizationCount = 70;
    ASSERT_TRUE(saveOrganizationExport(s->folder, s->directory));
    const QByteArray file = dir.read("Firms1");
    ASSERT_EQ(file.size(), 126912);
    std::array<OrganizationRecord, 64> out;
    std::memcpy(out.data(), file.constData(), file.size());
    EXPECT_EQ(out[63].name.view(), "firm 63");
    EXPECT_EQ(out[63].okved.view(), "okved");
    EXPECT_EQ(out[0].banks[0].account.size(), 0u);
    EXPECT_EQ(out[0].bankNo, 0);
    EXPECT_EQ(out[0].flags, 0);
    EXPECT_EQ(out[0].reserved1[0], 0);

    s->directory.organizationCount = 3;
    ASSERT_TRUE(saveOrganizationExport(s->folder, s->directory));
    std::memcpy(out.data(), dir.read("Firms1").constData(), 126912);
    EXPECT_EQ(out[2].name.view(), "firm 2");
    for (int i = 3; i < 64; ++i)
        EXPECT_TRUE(out[i].name.empty()) << i;
}

TEST(Directory, ShortFirmsFileIsSalvagedKeptAsideAndReported) {
    TempDir dir;
    auto s = storeIn(dir);
    for (int i = 0; i < 5; ++i)
        s->directory.organizations[i].name = "firm " + std::to_string(i);
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    // Cut inside record 4: records 0..3 are whole.
    const QByteArray damaged = dir.read("Data/Firms").left(4 * 1983 + 100);
    dir.write("Data/Firms", damaged);

    auto loaded = storeIn(dir);
    QStringList messages;
    loadOrganizations(loaded->folder, loaded->directory, messages);
    EXPECT_EQ(loaded->directory.organizationCount, 4);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Firms.damaged")) << messages[0].toStdString();
    EXPECT_EQ(dir.read("Data/Firms.damaged"), damaged);
    // What could be read is written back whole at once, so nothing depends on a later save.
    EXPECT_EQ(dir.size("Data/Firms"), 507648);

    // A second damaged file does not replace the first one kept aside.
    dir.write("Data/Firms", damaged.left(10));
    auto again = storeIn(dir);
    loadOrganizations(again->folder, again->directory, messages);
    EXPECT_TRUE(dir.exists("Data/Firms.damaged1"));
    EXPECT_EQ(dir.read("Data/Firms.damaged"), damaged);
}

// A longer table was taken as whole without a word, and the next save cut its extra bytes.
// It is damaged like a shorter one: reported, kept aside, and its records that fit are used.
TEST(Directory, LongerFileIsKeptAsideAndItsRecordsThatFitAreUsed) {
    TempDir dir;
    auto s = storeIn(dir);
    s->directory.organizations[0].name = "one";
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    const QByteArray longer = dir.read("Data/Firms") + QByteArray(100, 'x');
    dir.write("Data/Firms", longer);
    auto loaded = storeIn(dir);
    QStringList messages;
    loadOrganizations(loaded->folder, loaded->directory, messages);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("507748 байт вместо 507648")) << messages[0].toStdString();
    EXPECT_EQ(loaded->directory.organizationCount, 1);
    EXPECT_EQ(dir.read("Data/Firms.damaged"), longer);
    EXPECT_EQ(dir.read("Data/Firms"), longer.left(507648));
}

TEST(Directory, FailedWriteKeepsTheOldFileAndNamesIt) {
    TempDir dir;
    auto s = storeIn(dir);
    s->directory.organizations[0].name = "old";
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    const QByteArray before = dir.read("Data/Firms");
    s->directory.organizations[0].name = "new";
    IoResult r;
    {
        testing_support::FileSizeLimit full(4096); // as on a full disk
        r = saveOrganizationsFile(s->folder, s->directory);
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("Firms")) << r.error.toStdString();
    EXPECT_EQ(dir.read("Data/Firms"), before);
    EXPECT_EQ(QDir(dir.file("Data")).entryList(QDir::Files), QStringList{"Firms"});
}

TEST(PlatFile, NameIsNumberInnAndYear) {
    ShortStr<28> name;
    clearRecord(name);
    ASSERT_TRUE(makeOrderFileName("15", "1234567890", "09", name));
    EXPECT_EQ(name.view(), "15_1234567890_09.plat");
    ASSERT_TRUE(makeOrderFileName("99999", "123456789012", "99", name));
    EXPECT_EQ(name.view(), "99999_123456789012_99.plat");
    // Anything but digits would let a record name another file: refused.
    EXPECT_FALSE(makeOrderFileName("1/..", "1234567890", "09", name));
    EXPECT_FALSE(makeOrderFileName("15", "", "09", name));
    EXPECT_FALSE(makeOrderFileName("15", "12345 7890", "09", name));
    EXPECT_EQ(name.view(), "99999_123456789012_99.plat");
}

TEST(PlatFile, OrderRoundTripsAndSameNameReplaces) {
    TempDir dir;
    auto s = storeIn(dir);
    const QByteArray bytes = randomBytes(1169, 5);
    OrderRecord plat;
    recordFromBytes(plat, bytes.constData());
    ShortStr<28> name;
    ASSERT_TRUE(makeOrderFileName("15", "1234567890", "09", name));
    ASSERT_TRUE(saveOrderFile(s->folder, name.view(), plat));
    EXPECT_EQ(dir.read("PP/15_1234567890_09.plat"), bytes);

    clearRecord(plat);
    ASSERT_TRUE(openOrderFile(s->folder, name.view(), plat));
    EXPECT_EQ(recordBytes(plat), bytes);

    plat.payeeName = "other payee";
    ASSERT_TRUE(saveOrderFile(s->folder, name.view(), plat));
    EXPECT_EQ(dir.read("PP/15_1234567890_09.plat"), recordBytes(plat));
}

// A missing or short order file is reported and leaves the record as it was.
TEST(PlatFile, MissingOrShortFileLeavesTheOrder) {
    TempDir dir;
    auto s = storeIn(dir);
    OrderRecord plat;
    clearRecord(plat);
    plat.number = "42";
    const QByteArray before = recordBytes(plat);
    const IoResult missing = openOrderFile(s->folder, "7_1234567890_09.plat", plat);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.startsWith("Нет файла платежки ")) << missing.error.toStdString();
    EXPECT_EQ(recordBytes(plat), before);

    dir.write("PP/7_1234567890_09.plat", QByteArray(100, 'x'));
    EXPECT_FALSE(openOrderFile(s->folder, "7_1234567890_09.plat", plat).ok);
    EXPECT_EQ(recordBytes(plat), before);
}

// Reading stops at the limit, reads a file that reports no size (the system's own files) to
// its end, and answers a folder or a missing file with a message that names it.
TEST(FileRead, LimitNoSizeFolderAndMissingFile) {
    TempDir dir;
    const QByteArray bytes = randomBytes(70000, 5);
    dir.write("big", bytes);
    QByteArray out;
    ASSERT_TRUE(readFile(dir.file("big"), out, 1000));
    EXPECT_EQ(out, bytes.left(1000));
    ASSERT_TRUE(readFile(dir.file("big"), out, 1 << 20));
    EXPECT_EQ(out, bytes);
    ASSERT_TRUE(readFile("/proc/self/status", out, 1 << 20));
    EXPECT_TRUE(out.startsWith("Name:"));
    EXPECT_TRUE(out.endsWith('\n'));
    dir.write("empty", {});
    ASSERT_TRUE(readFile(dir.file("empty"), out, 100));
    EXPECT_TRUE(out.isEmpty());

    QDir(dir.path()).mkpath("PP");
    IoResult r = readFile(dir.file("PP"), out, 100);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("PP")) << r.error.toStdString();
    r = readFile(dir.file("nothing"), out, 100);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("nothing")) << r.error.toStdString();
}

TEST(Cp1251, ConvertsBothWaysAndRefusesWhatItCannotHold) {
    EXPECT_EQ(cp("Платежное поручение №"), QByteArray("\xCF\xEB\xE0\xF2\xE5\xE6\xED\xEE\xE5 "
                                                      "\xEF\xEE\xF0\xF3\xF7\xE5\xED\xE8\xE5 \xB9"));
    EXPECT_EQ(testing_support::uni(cps("Ёлка – «ёж»")), QString::fromUtf8("Ёлка – «ёж»"));
    EXPECT_TRUE(cp1251::canEncode(QString::fromUtf8("€ й")));
    EXPECT_FALSE(cp1251::canEncode(QString::fromUtf8("日本")));
    EXPECT_EQ(cp1251::keepEncodable(QString::fromUtf8("a😀b中c")), QString("abc"));
}

TEST(Cp1251, SearchFoldsEveryLetterToItsSmallOne) {
    // Every byte, at every position of the blocks the fold works in.
    std::string all;
    for (int shift = 0; shift < 8; ++shift) {
        all.append(std::size_t(shift), 'x');
        for (int b = 0; b < 256; ++b)
            all.push_back(char(b));
    }
    std::string folded(all.size(), '\0');
    cp1251::foldForSearch(all, folded.data());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QString c = testing_support::uni(std::string_view(&all[i], 1));
        const QString expected = c == QStringLiteral("Ё") || c == QStringLiteral("ё")
                                     ? QStringLiteral("е")
                                     : c.toLower();
        ASSERT_EQ(testing_support::uni(std::string_view(&folded[i], 1)), expected)
            << "byte " << int(static_cast<unsigned char>(all[i])) << " at " << i;
    }
}
