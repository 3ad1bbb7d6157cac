#include "support/support.h"

#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/settings.h"
#include "storage/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace storage;
using testing_support::cp;
using testing_support::cps;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

std::unique_ptr<FolderData> start(const TempDir& dir, QStringList* messages = nullptr) {
    auto s = std::make_unique<FolderData>();
    const QStringList m = startUp(*s, dir.path());
    if (messages)
        *messages = m;
    else
        EXPECT_EQ(m, QStringList());
    return s;
}

QString native(const TempDir& dir) {
    return QDir::toNativeSeparators(dir.path());
}

// A length-prefixed text at an offset of a record laid out by hand.
void put(QByteArray& rec, int offset, const QByteArray& text) {
    rec[offset] = char(text.size());
    rec.replace(offset + 1, text.size(), text);
}

QByteArray text(int n, char c) {
    return QByteArray(n, c);
}

const auto oldFirm = testing_support::oldFirmRecord;
using testing_support::oldFirmsFile;
const auto oldOrder = testing_support::oldOrderFile;

OrderRecord platOf(const QByteArray& bytes) {
    OrderRecord p;
    EXPECT_EQ(bytes.size(), 1169);
    if (bytes.size() == 1169)
        recordFromBytes(p, bytes.constData());
    else
        clearRecord(p);
    return p;
}

std::unique_ptr<std::array<OrganizationRecord, MaxFirms>> firmsOf(const QByteArray& bytes) {
    auto f = std::make_unique<std::array<OrganizationRecord, MaxFirms>>();
    EXPECT_EQ(bytes.size(), 507648);
    clearRecord(*f);
    std::memcpy(f->data(), bytes.constData(), std::min<std::size_t>(bytes.size(), 507648));
    return f;
}

} // namespace

TEST(startUp, FirstStartCreatesTheFoldersWithDefaultsAndNoMessage) {
    TempDir dir;
    auto s = start(dir);
    for (const char* sub : {"Data", "PP", "PPDel"})
        EXPECT_TRUE(QFileInfo(dir.file(sub)).isDir()) << sub;
    EXPECT_EQ(s->folder.programDir, dir.path());
    EXPECT_EQ(s->folder.ordersDir, dir.path() + "PP/");
    EXPECT_EQ(s->settings.windowSizes[0].width, 256);
    EXPECT_EQ(s->settings.windowSizes[255].height, 256);
    EXPECT_EQ(s->settings.columnWidths[0], 16);
    EXPECT_EQ(s->settings.currentYearOnly(), 0);
    EXPECT_TRUE(s->settings.path.empty());
    EXPECT_EQ(s->directory.organizationCount, 0);
    // Nothing is written besides the folders.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(dir.file("Data")).entryList(QDir::Files), QStringList());
}

TEST(Settings, FilesAreReadAndOddValuesMended) {
    TempDir dir;
    QByteArray formW(1024, '\0');
    formW[0] = char(0x20); // window 0: 800 x 0
    formW[1] = char(0x03);
    formW[4 * 3 + 2] = 7; // window 3: 0 x 7
    dir.write("FormW", formW);
    QByteArray arCol(512, '\0');
    arCol[2] = 1;          // 1 -> 16
    arCol[4] = 2;          // 2 stays
    arCol[6] = char(0x2C); // 300 stays
    arCol[7] = char(1);
    dir.write("ArCol", arCol);
    QByteArray set(512, '\0');
    set[0] = 1;
    set[300] = 9;
    dir.write("Set", set);
    QByteArray path(256, '\0');
    put(path, 0, "C:\\Plat");
    dir.write("PathPlt", path);

    auto s = start(dir);
    EXPECT_EQ(s->settings.windowSizes[0].width, 800);
    EXPECT_EQ(s->settings.windowSizes[0].height, 256);
    EXPECT_EQ(s->settings.windowSizes[3].width, 256);
    EXPECT_EQ(s->settings.windowSizes[3].height, 7);
    EXPECT_EQ(s->settings.columnWidths[0], 16);
    EXPECT_EQ(s->settings.columnWidths[1], 16);
    EXPECT_EQ(s->settings.columnWidths[2], 2);
    EXPECT_EQ(s->settings.columnWidths[3], 300);
    EXPECT_EQ(s->settings.currentYearOnly(), 1);
    EXPECT_EQ(s->settings.bytes[300], 9);
    EXPECT_EQ(s->settings.path.view(), "C:\\Plat");
}

TEST(Settings, SavedTablesReadBackAlike) {
    TempDir dir;
    auto s = start(dir);
    s->settings.windowSizes[2].height = 480;
    s->settings.columnWidths[8] = 123;
    s->settings.currentYearOnly() = 1;
    ASSERT_TRUE(saveWindowSizesFile(s->folder, s->settings) &&
                saveColumnWidthsFile(s->folder, s->settings) &&
                saveSettingsFile(s->folder, s->settings));
    EXPECT_EQ(dir.size("FormW") + dir.size("ArCol") + dir.size("Set"), 1024 + 512 + 512);
    auto again = start(dir);
    EXPECT_EQ(again->settings.windowSizes[2].height, 480);
    EXPECT_EQ(again->settings.columnWidths[8], 123);
    EXPECT_EQ(again->settings.currentYearOnly(), 1);
}

TEST(Settings, ShortFilesKeepDefaultsForWhatTheyLackAndAreKeptAside) {
    struct Case {
        const char* file;
        QByteArray bytes;
        qint64 sizeAfter; // the file is written again whole when it was kept aside
        std::function<void(const FolderData&)> check;
    };
    const Case cases[] = {
        {"FormW", QByteArray("\x20\x03\x58\x02\x90", 5), 1024,
         [](const FolderData& s) {
             EXPECT_EQ(s.settings.windowSizes[0].width, 800);
             EXPECT_EQ(s.settings.windowSizes[0].height, 600);
             EXPECT_EQ(s.settings.windowSizes[1].width, 256); // a part of an entry is not taken
         }},
        {"ArCol", QByteArray("\x50\x00\x60", 3), 512,
         [](const FolderData& s) {
             EXPECT_EQ(s.settings.columnWidths[0], 80);
             EXPECT_EQ(s.settings.columnWidths[1], 16);
         }},
        {"ArCol", QByteArray(), 512,
         [](const FolderData& s) { EXPECT_EQ(s.settings.columnWidths[0], 16); }},
        {"Set", QByteArray("\x01", 1), 512,
         [](const FolderData& s) {
             EXPECT_EQ(s.settings.currentYearOnly(), 1);
             EXPECT_EQ(s.settings.bytes[1], 0);
         }},
        {"PathPlt",
         QByteArray("\x05"
                    "C:\\a",
                    4),
         256, [](const FolderData& s) { EXPECT_TRUE(s.settings.path.empty()); }},
        // An empty window size file is taken as missing, without a word.
        {"FormW", QByteArray(), 0,
         [](const FolderData& s) { EXPECT_EQ(s.settings.windowSizes[5].width, 256); }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.file, c.bytes);
        QStringList messages;
        auto s = start(dir, &messages);
        const bool keptAside = c.sizeAfter != 0;
        ASSERT_EQ(messages.size(), keptAside ? 1 : 0) << c.file;
        if (keptAside) {
            EXPECT_TRUE(messages[0].contains(QString(c.file) + ".damaged")) << c.file;
            EXPECT_EQ(dir.read(QString(c.file) + ".damaged"), c.bytes) << c.file;
        }
        EXPECT_EQ(dir.size(c.file), c.sizeAfter) << c.file;
        c.check(*s);
    }
}

TEST(startUp, BranchAndEmployeeTablesAreLoadedAndCounted) {
    TempDir dir;
    QDir(dir.path()).mkpath("Data");
    QByteArray filial(46592, '\0');
    for (int i : {0, 1, 2, 3, 4, 6})
        put(filial, i * 182 + 2, "address");
    dir.write("Data/Filial", filial);
    QByteArray empl(198656, '\0');
    for (int i = 0; i < 12; ++i)
        if (i != 10)
            put(empl, i * 194 + 51, cp("Иванов"));
    dir.write("Data/Employee", empl);
    auto s = start(dir);
    EXPECT_EQ(s->directory.branchCount, 5);
    EXPECT_EQ(s->directory.employeeCount, 10);

    // A short file gives its whole records, is reported and kept aside.
    const QByteArray cut = filial.left(182 * 2 + 50);
    dir.write("Data/Filial", cut);
    QStringList messages;
    s = start(dir, &messages);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(s->directory.branchCount, 2);
    EXPECT_EQ(dir.read("Data/Filial.damaged"), cut);
    EXPECT_EQ(dir.size("Data/Filial"), 46592);
}

TEST(startUp, OldDirectoryFilesAreConvertedIntoData) {
    TempDir dir;
    std::vector<QByteArray> firms;
    for (int i = 0; i < 10; ++i)
        firms.push_back(oldFirm(("Фирма " + std::to_string(i)).c_str(),
                                std::to_string(7700000000LL + i).c_str()));
    // Record 0 with texts longer than the new fields and a bank in slot 2.
    QByteArray& r = firms[0];
    put(r, 433, text(120, 'L')); // LegalAddress, cut to 96
    put(r, 562, text(10, 'P'));  // PostalAddress
    put(r, 691, text(50, '1'));  // Phone, cut to 32
    put(r, 821, text(60, 'e'));  // EMail, cut to 48
    put(r, 160, text(255, 'i')); // CertIssuer, kept whole
    put(r, 886 + 2 * 438, "40702810000000000002");
    put(r, 886 + 2 * 438 + 42, "044525225");
    put(r, 886 + 2 * 438 + 53, text(100, 'S'));  // BankShort, cut to 64
    put(r, 886 + 2 * 438 + 182, text(200, 'F')); // BankFull, cut to 128
    put(r, 2651, "770101001");
    put(r, 2709, text(200, 'o')); // Okved, cut to 128
    r[2965] = 2;                  // BankNo
    // Records after the first unused one are not taken.
    firms.push_back(QByteArray(2966, '\0'));
    firms.push_back(oldFirm("after the gap", "1"));
    dir.write("Firms", oldFirmsFile(firms));
    const QByteArray oldDel =
        oldFirmsFile({oldFirm("Del 1", "1"), oldFirm("Del 2", "2"), oldFirm("Del 3", "3")});
    dir.write("FirmsDel", oldDel);

    auto s = start(dir);
    EXPECT_EQ(s->directory.organizationCount, 10);
    EXPECT_EQ(s->directory.deletedCount, 3);
    EXPECT_EQ(dir.size("Firms_Old"), 189824);
    EXPECT_EQ(dir.read("FirmsDel_Old"), oldDel);
    EXPECT_FALSE(dir.exists("Firms"));
    EXPECT_FALSE(dir.exists("FirmsDel"));

    auto written = firmsOf(dir.read("Data/Firms"));
    const OrganizationRecord& f = (*written)[0];
    EXPECT_EQ(f.name.view(), cps("Фирма 0"));
    EXPECT_EQ(f.legalAddress.view(), std::string(96, 'L'));
    EXPECT_EQ(f.postalAddress.view(), std::string(10, 'P'));
    EXPECT_EQ(f.phone.view(), std::string(32, '1'));
    EXPECT_EQ(f.email.view(), std::string(48, 'e'));
    EXPECT_EQ(f.certIssuer.view(), std::string(255, 'i'));
    EXPECT_EQ(f.banks[2].account.view(), "40702810000000000002");
    EXPECT_EQ(f.banks[2].bik.view(), "044525225");
    EXPECT_EQ(f.banks[2].bankShort.view(), std::string(64, 'S'));
    EXPECT_EQ(f.banks[2].bankFull.view(), std::string(128, 'F'));
    EXPECT_EQ(f.inn.view(), "7700000000");
    EXPECT_EQ(f.kpp.view(), "770101001");
    EXPECT_EQ(f.okved.view(), std::string(128, 'o'));
    EXPECT_EQ(f.bankNo, 2);
    EXPECT_EQ(f.branchNo, 0);
    EXPECT_EQ(f.flags, 0);
    EXPECT_EQ((*written)[9].inn.view(), "7700000009");
    EXPECT_TRUE((*written)[10].name.empty());
    EXPECT_TRUE((*written)[11].name.empty());
    EXPECT_EQ(firmsOf(dir.read("Data/FirmsDel"))->at(2).name.view(), "Del 3");
}

TEST(startUp, OldDirectoryFilesWithoutOrganizationsOrOfAnotherSizeAreLeftAlone) {
    const QByteArray one = oldFirmsFile({oldFirm("One", "1")});
    for (const QByteArray& firms : {oldFirmsFile({}), one + 'x'}) {
        TempDir dir;
        dir.write("Firms", firms);
        auto s = start(dir);
        EXPECT_EQ(dir.read("Firms"), firms);
        EXPECT_FALSE(dir.exists("Firms_Old"));
        EXPECT_FALSE(dir.exists("Data/Firms"));
        EXPECT_EQ(s->directory.organizationCount, 0);
    }
}

// The old directory was converted only by the start that created Data: a first start that
// failed to write it (a full disk) or was killed after creating Data lost it for good, and the
// old orders were converted anyway, without their parties' details. It is now converted
// whenever the old file is there and the tables lack its organizations, and the old orders
// wait for it.
TEST(startUp, OldDirectoryIsConvertedWheneverTheTablesLackItsOrganizations) {
    // The old files fill the disk but for less than a table.
    testing_support::SmallDisk disk(640 * 1024);
    if (!disk.works())
        GTEST_SKIP() << "no small file system can be mounted here (it needs root's rights): "
                        "the first start on a full disk is not tried";
    const QString dir = disk.path();
    const auto write = [&dir](const QString& name, const QByteArray& bytes) {
        QFile f(dir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
            << name.toStdString();
    };
    write("Firms", oldFirmsFile({oldFirm("Payer", "1234567890"), oldFirm("Kept", "7")}));
    write("FirmsDel", oldFirmsFile({oldFirm("Gone", "8")}));
    write("12_1234567890.plat", oldOrder("12", "03.02.2009", "1234567890", "7"));
    auto s = std::make_unique<FolderData>();
    const QStringList messages = startUp(*s, dir);
    EXPECT_EQ(s->directory.organizationCount, 0);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(
        messages[0].startsWith("Не могу записать файл " + dir + "Data/Firms: Нет места на диске"))
        << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir + "Firms"));
    EXPECT_EQ(QFileInfo(dir + "12_1234567890.plat").size(), 389);

    // With room on the disk, and an organization of the old file added by hand meanwhile.
    ASSERT_TRUE(disk.resize(8 * 1024 * 1024));
    s = std::make_unique<FolderData>();
    s->folder.setProgramDir(dir);
    s->directory.organizations[0].name = "Kept";
    s->directory.organizations[0].inn = "7";
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory));
    s = std::make_unique<FolderData>();
    EXPECT_EQ(startUp(*s, dir), QStringList());
    ASSERT_EQ(s->directory.organizationCount, 2);
    EXPECT_EQ(s->directory.organizations[0].name.view(), "Kept");
    EXPECT_EQ(s->directory.organizations[1].name.view(), "Payer");
    EXPECT_EQ(s->directory.deletedCount, 1);
    EXPECT_FALSE(QFileInfo::exists(dir + "Firms"));
    EXPECT_TRUE(QFileInfo::exists(dir + "Firms_Old"));
    QFile order(dir + "PP/12_1234567890_09.plat");
    ASSERT_TRUE(order.open(QIODevice::ReadOnly));
    const OrderRecord p = platOf(order.readAll());
    EXPECT_EQ(p.payerName.view(), "Payer");
    EXPECT_EQ(p.payeeName.view(), "Kept");
}

// A kill in the middle of a save left its temporary files behind, and a new order saved whole
// as "NAME.plat.new" was never listed. The start removes what the program's own writers
// leave (the file's name, "." and six random letters of both cases; a complete copy beside a
// file as NAME.new), and the new order takes its name when that is free. Names a person may
// give a copy, and files that are not the program's, stay.
TEST(startUp, LeftoversOfInterruptedWritesAreClearedAndANewOrderTakesItsName) {
    TempDir dir;
    for (const char* sub : {"Data", "PP", "PPDel"})
        QDir(dir.path()).mkpath(sub);
    const QByteArray order = platFile({"5", "1234567890", "03.02.2009"});
    const QStringList gone = {"Set.XyZabc",
                              "12_1234567890_09.plat.AbCdEf",
                              "Data/Firms.AbCdEf",
                              "Data/Journal.qWeRty",
                              "Data/Filial.damaged.new",
                              "PP/6_1234567890_09.plat.new",
                              "PP/7_1234567890_09.plat.QwErTy",
                              "PP/8_1234567890_09.plat.new.AAAbbb",
                              "PPDel/7_1234567890_09.pdel.new"};
    const QStringList kept = {"Set.backup",           "Set.BACKUP",
                              "Data/Firms.backup1",   "Data/Notes.AbCdEf",
                              "PP/readme.txt.AbCdEf", "PP/6_1234567890_09.plat"};
    for (const QString& f : gone + kept)
        dir.write(f, order);
    dir.write("PP/5_1234567890_09.plat.new", order);
    QStringList messages;
    start(dir, &messages);
    EXPECT_EQ(messages, QStringList());
    for (const QString& f : gone)
        EXPECT_FALSE(dir.exists(f)) << f.toStdString();
    for (const QString& f : kept)
        EXPECT_TRUE(dir.exists(f)) << f.toStdString();
    EXPECT_FALSE(dir.exists("PP/5_1234567890_09.plat.new"));
    EXPECT_EQ(dir.read("PP/5_1234567890_09.plat"), order);
}

TEST(startUp, OrderFilesInTheProgramFolderMoveIntoTheirFolders) {
    TempDir dir;
    // A name PP already holds stays in both places.
    QDir(dir.path()).mkpath("PP");
    const QByteArray inFolder = platFile({"11", "1234567890", "03.02.2009", "1"});
    const QByteArray beside = platFile({"11", "1234567890", "03.02.2009", "2"});
    dir.write("PP/11_1234567890_09.plat", inFolder);
    dir.write("11_1234567890_09.plat", beside);
    const QByteArray a = platFile({"12", "1234567890", "03.02.2009"});
    const QByteArray b = platFile({"13", "1234567890", "03.02.2009"});
    const QByteArray d = platFile({"14", "1234567890", "03.02.2009"});
    dir.write("12_1234567890_09.plat", a);
    dir.write("13_1234567890_09.PLAT", b);
    dir.write("14_1234567890_09.pdel", d);
    dir.write("15_1234567890_09.plat", a + 'x'); // not an order
    auto s = start(dir);
    EXPECT_EQ(dir.read("PP/12_1234567890_09.plat"), a);
    EXPECT_EQ(dir.read("PP/13_1234567890_09.PLAT"), b);
    EXPECT_EQ(dir.read("PPDel/14_1234567890_09.pdel"), d);
    EXPECT_FALSE(dir.exists("12_1234567890_09.plat"));
    EXPECT_FALSE(dir.exists("13_1234567890_09.PLAT"));
    EXPECT_FALSE(dir.exists("14_1234567890_09.pdel"));
    EXPECT_TRUE(dir.exists("15_1234567890_09.plat"));
    EXPECT_FALSE(dir.exists("PP/15_1234567890_09.plat"));
    EXPECT_EQ(dir.read("PP/11_1234567890_09.plat"), inFolder);
    EXPECT_EQ(dir.read("11_1234567890_09.plat"), beside);
}

TEST(startUp, FailedCopyIsReportedAndKeepsTheSource) {
    TempDir dir;
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    QDir(dir.path()).mkpath("PPDel");
    const QByteArray order = platFile({"12", "1234567890", "03.02.2009"});
    dir.write("12_1234567890_09.plat", order);
    // A move is a rename, which a full disk does not stop: a folder that cannot be written does.
    const testing_support::FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold for this user";
    const QByteArray pp = QFile::encodeName(dir.file("PP"));
    ::chmod(pp.constData(), 0555);
    QStringList messages;
    start(dir, &messages);
    ::chmod(pp.constData(), 0755);
    EXPECT_EQ(messages, QStringList{"Не могу скопировать файл - 12_1234567890_09.plat"});
    EXPECT_EQ(dir.read("12_1234567890_09.plat"), order);
    EXPECT_EQ(QDir(dir.file("PP")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(startUp, FoldersThatCannotBeCreatedAreReportedAndStartUpGoesOn) {
    TempDir dir;
    for (const char* blocker : {"Data", "PP", "PPDel"})
        dir.write(blocker, "not a folder");
    QByteArray set(512, '\0');
    set[0] = 1;
    dir.write("Set", set);
    QStringList messages;
    auto s = start(dir, &messages);
    EXPECT_EQ(messages, (QStringList{"Не могу создать папку - Data по пути - " + native(dir),
                                     "Не могу создать папку - PP по пути - " + native(dir),
                                     "Не могу создать папку - PPDel по пути - " + native(dir)}));
    EXPECT_EQ(s->settings.currentYearOnly(), 1);
}

TEST(startUp, OldOrderGetsTheYearInItsNameAndTheCurrentLayout) {
    TempDir dir;
    QDir(dir.path()).mkpath("Data");
    auto firms = std::make_unique<FolderData>();
    firms->folder.setProgramDir(dir.path());
    OrganizationRecord& payer = firms->directory.organizations[0];
    payer.name = cps("ООО Плательщик");
    payer.inn = "1234567890";
    payer.kpp = "770101001";
    payer.bankNo = 2;
    payer.banks[0].account = "40702810000000000001";
    payer.banks[0].bik = "044525225";
    payer.banks[0].bankFull = cps("Полное имя банка");
    payer.banks[2].account = "40702810000000000003";
    OrganizationRecord& payee = firms->directory.deleted[0];
    payee.name = cps("Удаленный получатель");
    payee.inn = "5555555555";
    payee.banks[0].bik = "045004641";
    ASSERT_TRUE(saveOrganizationsFile(firms->folder, firms->directory));
    ASSERT_TRUE(saveDeletedOrganizationsFile(firms->folder, firms->directory));
    dir.write("12_1234567890.plat", oldOrder("12", "03.02.2009", "1234567890", "5555555555"));

    auto s = start(dir);
    EXPECT_FALSE(dir.exists("12_1234567890.plat"));
    EXPECT_FALSE(dir.exists("12_1234567890_09.plat"));
    // Converted, and moved into PP in the same start, so that it is listed at once.
    const OrderRecord p = platOf(dir.read("PP/12_1234567890_09.plat"));
    EXPECT_EQ(p.number.view(), "12");
    EXPECT_EQ(p.date.view(), "03.02.2009");
    EXPECT_EQ(p.amount.view(), "1500-00");
    EXPECT_EQ(p.vat, 1);
    EXPECT_EQ(p.payKind, 2);
    EXPECT_EQ(p.status, 2);
    EXPECT_EQ(p.purpose.view(), cps("Оплата\r\nпо счету"));
    EXPECT_EQ(p.kbk.view(), "18210102010011000110");
    EXPECT_EQ(p.taxPeriod.view(), cps("МС.01.2009"));
    EXPECT_EQ(p.docDate.view(), "01.02.2009");
    EXPECT_EQ(p.taxType.view(), cps("НС"));
    EXPECT_EQ(p.accepted, 1);
    // The payer from the directory with its first bank slot, whatever bank it uses.
    EXPECT_EQ(p.payerName.view(), cps("ООО Плательщик"));
    EXPECT_EQ(p.payerKpp.view(), "770101001");
    EXPECT_EQ(p.payerAccount.view(), "40702810000000000001");
    EXPECT_EQ(p.payerBik.view(), "044525225");
    EXPECT_EQ(p.payerBankFull.view(), cps("Полное имя банка"));
    EXPECT_EQ(p.payerBankNo, 0);
    // The payee from the deleted organizations.
    EXPECT_EQ(p.payeeName.view(), cps("Удаленный получатель"));
    EXPECT_EQ(p.payeeBik.view(), "045004641");
}

TEST(startUp, OldOrderKeepsItsNameWhenNoYearNameFits) {
    struct Case {
        const char* name;
        const char* date;
        const char* expectedName;
    };
    const Case cases[] = {
        {"order.plat", "03.02.2009", "order.plat"},
        {"12_1234567890_x.plat", "03.02.2009", "12_1234567890_x.plat"},
        {"12_1234567890.plat", "03.02.20x9", "12_1234567890.plat"},
        {"12_1234567890.plat", "3.2.09", "12_1234567890.plat"},
        {"12__1234567890.plat", "03.02.2009", "12__1234567890_09.plat"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.name, oldOrder("12", c.date, "1234567890", "5555555555"));
        start(dir);
        const OrderRecord p = platOf(dir.read(QStringLiteral("PP/") + c.expectedName));
        EXPECT_EQ(p.number.view(), "12") << c.name << " " << c.date;
        EXPECT_EQ(p.date.view(), c.date) << c.name;
        // Neither party is in the directory: names and banks stay empty.
        EXPECT_TRUE(p.payerName.empty()) << c.name;
        EXPECT_TRUE(p.payeeBik.empty()) << c.name;
    }
}

TEST(startUp, OldOrderIsNotRenamedOverAnotherFile) {
    TempDir dir;
    QDir(dir.path()).mkpath("PP");
    // An order of that name waits beside the program because PP already holds one.
    const QByteArray current = platFile({"12", "1234567890", "03.02.2009", "1"});
    dir.write("PP/12_1234567890_09.plat", current);
    dir.write("12_1234567890_09.plat", current);
    dir.write("12_1234567890.plat", oldOrder("12", "03.02.2009", "1234567890", "2"));
    start(dir);
    EXPECT_EQ(dir.read("12_1234567890_09.plat"), current);
    EXPECT_EQ(platOf(dir.read("PP/12_1234567890.plat")).payeeInn.view(), "2");
}
