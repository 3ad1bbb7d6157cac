// Program folders that work against the program: no right to write or to read, a file where
// a folder belongs, a full disk, files of every recognised size full of random bytes, odd
// names, links that lead out of the folder. Each must end in a clear message or be passed
// over: never a crash, a write outside the program folder, or a lost order.
#include "support/support.h"

#include "storage/datafiles.h"
#include "storage/folder.h"
#include "storage/folderdata.h"
#include "storage/folderlock.h"
#include "storage/platfile.h"
#include "storage/settings.h"
#include "storage/startup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace storage;
using testing_support::FileRightsApply;
using testing_support::FileSizeLimit;
using testing_support::listSavedOrders;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

using testing_support::Tree;
const auto tree = testing_support::folderTree;

// A program folder "prog" and a folder "outside" beside it, under one temporary folder.
struct Folders {
    TempDir root;
    QString prog() const { return root.file("prog/"); }
    QString outside() const { return root.file("outside/"); }
    Folders() {
        QDir(root.path()).mkpath("prog");
        QDir(root.path()).mkpath("outside");
    }
    void write(const QString& relative, const QByteArray& bytes) const {
        root.write("prog/" + relative, bytes);
    }
    QByteArray read(const QString& relative) const { return root.read("prog/" + relative); }
    bool exists(const QString& relative) const { return root.exists("prog/" + relative); }
};

// The contents of the files of a tree, for checks that nothing was lost under any name.
QList<QByteArray> contents(const Tree& t) {
    QList<QByteArray> out;
    for (const auto& [name, content] : t)
        out << content;
    std::sort(out.begin(), out.end());
    return out;
}

QByteArray order(const char* number, const char* inn = "1234567890") {
    return platFile({number, inn, "03.02.2009", "5555555555", "1500-00"});
}

std::unique_ptr<FolderData> start(const Folders& f, QStringList& messages) {
    auto s = std::make_unique<FolderData>();
    messages = startUp(*s, f.prog());
    return s;
}

void setMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

// A program folder in use: a directory of one organization, one saved order.
void fill(const Folders& f) {
    for (const char* sub : {"Data", "PP", "PPDel"})
        QDir(f.prog()).mkpath(sub);
    auto s = std::make_unique<FolderData>();
    s->folder.setProgramDir(f.prog());
    s->directory.organizations[0].name = "firm";
    s->directory.organizations[0].inn = "1234567890";
    ASSERT_TRUE(saveOrganizationsFile(s->folder, s->directory).ok);
    f.write("PP/15_1234567890_09.plat", order("15"));
}

} // namespace

TEST(HostileFolder, ReadOnlyEmptyProgramFolderReportsEachFolderAndEverySave) {
    Folders f;
    FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold for this user";
    setMode(f.prog(), 0555);
    QStringList messages;
    auto s = start(f, messages);
    const QString at = QDir::toNativeSeparators(f.prog());
    EXPECT_EQ(messages, (QStringList{"Не могу создать папку - Data по пути - " + at,
                                     "Не могу создать папку - PP по пути - " + at,
                                     "Не могу создать папку - PPDel по пути - " + at}));
    SavedOrders listed;
    EXPECT_TRUE(listSavedOrders(s->folder, listed).ok);
    EXPECT_EQ(listed.size(), 0u);

    // Every save says which file and why.
    s->directory.organizations[0].name = "firm";
    OrderRecord plat;
    clearRecord(plat);
    std::string_view name;
    name = "15_1234567890_09.plat";
    const std::pair<const char*, IoResult> saves[] = {
        {"Firms", saveOrganizationsFile(s->folder, s->directory)},
        {"Filial", saveBranchesFile(s->folder, s->directory)},
        {"Employee", saveEmployeesFile(s->folder, s->directory)},
        {"FormW", saveWindowSizesFile(s->folder, s->settings)},
        {"ArCol", saveColumnWidthsFile(s->folder, s->settings)},
        {"Set", saveSettingsFile(s->folder, s->settings)},
        {"15_1234567890_09.plat", saveOrderFile(s->folder, name, plat)}};
    for (const auto& [file, r] : saves) {
        EXPECT_FALSE(r.ok) << file;
        EXPECT_TRUE(r.error.startsWith("Не могу записать файл") && r.error.contains(file))
            << r.error.toStdString();
    }
    setMode(f.prog(), 0755);
    EXPECT_EQ(tree(f.root.path()), (Tree{{"outside", "<dir>"}, {"prog", "<dir>"}}));
}

TEST(HostileFolder, ReadOnlyFoldersInUseLoadEverythingAndKeepTheOldFiles) {
    Folders f;
    fill(f);
    const Tree before = tree(f.prog());
    FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold for this user";
    for (const char* sub : {"Data", "PP", "PPDel", ""})
        setMode(f.prog() + sub, 0555);
    QStringList messages;
    auto s = start(f, messages);
    EXPECT_EQ(messages, QStringList());
    EXPECT_EQ(s->directory.organizationCount, 1);
    SavedOrders listed;
    ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
    EXPECT_EQ(listed.size(), 1u);

    s->directory.organizations[0].name = "changed";
    EXPECT_FALSE(saveOrganizationsFile(s->folder, s->directory).ok);
    OrderRecord plat;
    clearRecord(plat);
    std::string_view name;
    name = "15_1234567890_09.plat";
    plat.amount = "1-00";
    const IoResult saved = saveOrderFile(s->folder, name, plat);
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.error.contains("15_1234567890_09.plat")) << saved.error.toStdString();
    for (const char* sub : {"Data", "PP", "PPDel", ""})
        setMode(f.prog() + sub, 0755);
    EXPECT_EQ(tree(f.prog()), before);
}

TEST(HostileFolder, DataThatIsAFileIsReportedAndItsSavesFailWithoutTouchingIt) {
    Folders f;
    f.write("Data", "not a folder");
    QStringList messages;
    auto s = start(f, messages);
    EXPECT_EQ(messages, QStringList{"Не могу создать папку - Data по пути - " +
                                    QDir::toNativeSeparators(f.prog())});
    EXPECT_EQ(s->directory.organizationCount, 0);
    s->directory.organizations[0].name = "firm";
    for (const IoResult& r :
         {saveOrganizationsFile(s->folder, s->directory),
          saveDeletedOrganizationsFile(s->folder, s->directory),
          saveBranchesFile(s->folder, s->directory), saveEmployeesFile(s->folder, s->directory)}) {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains("Data")) << r.error.toStdString();
    }
    EXPECT_EQ(f.read("Data"), "not a folder");
    // Orders are saved and listed as usual.
    OrderRecord plat;
    clearRecord(plat);
    std::string_view name;
    plat.number = "15";
    name = "15_1234567890_09.plat";
    plat.payerInn = "1234567890";
    plat.date = "03.02.2009";
    ASSERT_TRUE(saveOrderFile(s->folder, name, plat).ok);
    SavedOrders listed;
    ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
    EXPECT_EQ(listed.size(), 1u);
}

// The scan used to find no orders in a folder it could not read and said nothing, as if
// every order were gone.
TEST(HostileFolder, UnreadableOrderFolderIsReportedNotShownAsEmpty) {
    Folders f;
    fill(f);
    f.write("16_1234567890_09.plat", order("16")); // to be moved into PP at start
    FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold for this user";
    setMode(f.prog() + "PP", 0);
    QStringList messages;
    auto s = start(f, messages);
    EXPECT_EQ(messages, QStringList{"Не могу скопировать файл - 16_1234567890_09.plat"});
    SavedOrders listed;
    const IoResult scanned = listSavedOrders(s->folder, listed);
    EXPECT_FALSE(scanned.ok);
    EXPECT_TRUE(scanned.error.startsWith("Не могу прочитать папку " +
                                         QDir::toNativeSeparators(f.prog() + "PP")))
        << scanned.error.toStdString();
    setMode(f.prog() + "PP", 0755);
    EXPECT_EQ(f.read("PP/15_1234567890_09.plat"), order("15"));
    EXPECT_EQ(f.read("16_1234567890_09.plat"), order("16"));
}

// A program folder that only its subfolders let the user write (a shared folder set up so)
// makes no lock; the program took that for a start without one, and two programs wrote the
// folder at once. The lock says why it cannot be made, and the program then only reads.
TEST(HostileFolder, ProgramFolderThatCannotBeWrittenGivesNoLockAndSaysWhy) {
    Folders f;
    fill(f);
    const FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold for this user";
    setMode(f.prog(), 0555);
    FolderLock lock(f.prog());
    EXPECT_EQ(lock.acquire(), FolderLock::State::Unavailable);
    EXPECT_EQ(lock.problem(), "файл блокировки " + f.prog() + "Quenmara.lock: Нет доступа");
    setMode(f.prog(), 0755);
    // A lock file that cannot be read names no holder: it was taken for a running one for
    // ever; it is named instead.
    f.write("Quenmara.lock", "12\nquenmara\nhost\n");
    setMode(f.prog() + "Quenmara.lock", 0);
    FolderLock unreadable(f.prog());
    EXPECT_EQ(unreadable.acquire(), FolderLock::State::Unavailable);
    EXPECT_EQ(unreadable.problem(), "файл блокировки " + f.prog() + "Quenmara.lock: Нет доступа");
}

TEST(HostileFolder, FullDiskFailsEverySaveWithItsReasonAndKeepsTheOldFiles) {
    Folders f;
    fill(f);
    QStringList messages;
    auto s = start(f, messages);
    SavedOrders listed;
    ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
    const Tree before = tree(f.prog());
    s->directory.organizations[0].name = "changed";
    OrderRecord plat;
    clearRecord(plat);
    std::string_view name;
    plat.amount = "1-00";
    name = "15_1234567890_09.plat";
    std::vector<IoResult> results;
    {
        FileSizeLimit full(1000);
        for (auto save : {saveOrganizationsFile, saveDeletedOrganizationsFile, saveBranchesFile,
                          saveEmployeesFile})
            results.push_back(save(s->folder, s->directory));
        results.push_back(saveOrderFile(s->folder, name, plat));
        name = "16_1234567890_09.plat"; // a new order fits in 1000 bytes no more
        results.push_back(saveOrderFile(s->folder, name, plat));
        bool existed = false;
        results.push_back(saveNewOrderFile(s->folder, name, plat, existed));
    }
    for (const IoResult& r : results) {
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.startsWith("Не могу записать файл")) << r.error.toStdString();
    }
    // The new order is named, not the file it was being written to first.
    EXPECT_EQ(results.back().error,
              "Не могу записать файл " + f.prog() + "PP/16_1234567890_09.plat: Файл слишком велик");
    EXPECT_EQ(tree(f.prog()), before);
}

// The reasons came in the system's English ("Permission denied", "No space left on
// device"). Each failure now names the file and gives its reason in Russian.
TEST(HostileFolder, SystemReasonsReachTheUserInRussianWithTheFileNamed) {
    Folders f;
    f.write("Data", "not a folder");
    QDir(f.prog()).mkpath("PP");
    QDir(f.prog()).mkpath("locked");
    f.write("PP/15_1234567890_09.plat", order("15"));
    auto s = std::make_unique<FolderData>();
    s->folder.setProgramDir(f.prog());
    QByteArray bytes;
    struct Case {
        const char* name;
        bool needsRights;
        std::function<QString()> failure; // the message
        QString expected;
    };
    const Case cases[] = {
        {"folder is a file", false,
         [&] { return saveOrganizationsFile(s->folder, s->directory).error; },
         "Не могу записать файл " + QDir::toNativeSeparators(f.prog() + "Data/Firms") +
             ": Не папка"},
        {"folder read as a file", false,
         [&] { return readFile(f.prog() + "PP", bytes, 100).error; },
         "Не могу прочитать файл " + QDir::toNativeSeparators(f.prog() + "PP") +
             ": Это папка, а не файл"},
        {"full disk", false,
         [&] {
             FileSizeLimit full(1000);
             return writeFileAtomic(f.prog() + "big", QByteArray(5000, 'x')).error;
         },
         "Не могу записать файл " + QDir::toNativeSeparators(f.prog() + "big") +
             ": Файл слишком велик"},
        {"device full", false,
         [&] {
             QFile full("/dev/full");
             if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
                 full.write("x", 1) == 1)
                 return QString("no /dev/full");
             return deviceReason(full);
         },
         "Нет места на диске"},
        {"no right to write", true,
         [&] {
             setMode(f.prog() + "locked", 0555);
             return writeFileAtomic(f.prog() + "locked/Set", "x").error;
         },
         "Не могу записать файл " + QDir::toNativeSeparators(f.prog() + "locked/Set") +
             ": Нет доступа"},
        {"no right to read", true,
         [&] {
             setMode(f.prog() + "PP/15_1234567890_09.plat", 0);
             return readFile(f.prog() + "PP/15_1234567890_09.plat", bytes, 2000).error;
         },
         "Не могу прочитать файл " +
             QDir::toNativeSeparators(f.prog() + "PP/15_1234567890_09.plat") + ": Нет доступа"},
        {"no right to list", true,
         [&] {
             setMode(f.prog() + "locked", 0);
             return checkFolderReadable(f.prog() + "locked").error;
         },
         "Не могу прочитать папку " + QDir::toNativeSeparators(f.prog() + "locked") +
             ": Нет доступа"},
    };
    FileRightsApply rights;
    for (const Case& c : cases) {
        if (!c.needsRights || rights.works()) {
            EXPECT_EQ(c.failure(), c.expected) << c.name;
        }
    }
    setMode(f.prog() + "locked", 0755);
    setMode(f.prog() + "PP/15_1234567890_09.plat", 0644);
}

// A table that could not be read (no right to read it, a folder in its place) was taken for a
// damaged one: moved aside as ".damaged" and replaced by an empty table, so the directory
// seemed gone. It now stays where it is, the user is told which file and why, and every save
// of that table in this run is refused with the same message.
TEST(HostileFolder, UnreadableTableStaysInPlaceAndIsNeverWrittenOver) {
    using Save = IoResult (*)(const FolderData&);
    const std::pair<const char*, Save> tables[] = {
        {"Data/Firms",
         [](const FolderData& st) { return saveOrganizationsFile(st.folder, st.directory); }},
        {"Data/FirmsDel",
         [](const FolderData& st) {
             return saveDeletedOrganizationsFile(st.folder, st.directory);
         }},
        {"Data/Filial",
         [](const FolderData& st) { return saveBranchesFile(st.folder, st.directory); }},
        {"Data/Employee",
         [](const FolderData& st) { return saveEmployeesFile(st.folder, st.directory); }},
        {"FormW", [](const FolderData& s) { return saveWindowSizesFile(s.folder, s.settings); }},
        {"ArCol", [](const FolderData& s) { return saveColumnWidthsFile(s.folder, s.settings); }},
        {"Set", [](const FolderData& s) { return saveSettingsFile(s.folder, s.settings); }}};
    FileRightsApply rights;
    for (const bool folderInPlace : {true, false}) {
        if (!folderInPlace && !rights.works())
            continue; // the bits do not hold for this user: only the folder case runs
        for (const auto& [file, save] : tables) {
            SCOPED_TRACE(std::string(file) + (folderInPlace ? " (a folder)" : " (no right)"));
            Folders f;
            fill(f);
            f.write("PP/15_1234567890_09.plat", order("15"));
            const QString path = f.prog() + file;
            if (folderInPlace) {
                QFile::remove(path);
                QDir().mkpath(path);
            } else if (!f.exists(file)) {
                f.write(file, QByteArray(10, 'x'));
            }
            const Tree before = tree(f.prog());
            if (!folderInPlace)
                setMode(path, 0);
            QStringList messages;
            auto s = start(f, messages);
            ASSERT_EQ(messages.size(), 1) << messages.join('|').toStdString();
            EXPECT_TRUE(messages[0].startsWith("Не могу прочитать файл " +
                                               QDir::toNativeSeparators(path) + ": "))
                << messages[0].toStdString();
            const IoResult saved = save(*s);
            EXPECT_FALSE(saved.ok);
            EXPECT_EQ(saved.error, messages[0]);
            if (!folderInPlace)
                setMode(path, 0644);
            EXPECT_EQ(tree(f.prog()), before);
        }
    }
}

// A damaged table was moved aside before the complete one was written; when the disk was
// full the write failed and the next start found no table at all.
TEST(HostileFolder, SalvageOnAFullDiskPutsTheDamagedFileBack) {
    Folders f;
    fill(f);
    const QByteArray damaged = f.read("Data/Firms").left(2 * 1983 + 7);
    f.write("Data/Firms", damaged);
    QStringList messages;
    {
        FileSizeLimit full(4096);
        auto s = start(f, messages);
        EXPECT_EQ(s->directory.organizationCount, 1);
    }
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("файл оставлен как есть")) << messages[0].toStdString();
    EXPECT_EQ(f.read("Data/Firms"), damaged);
    EXPECT_FALSE(f.exists("Data/Firms.damaged"));

    // With room on the disk the next start salvages it for good.
    auto s = start(f, messages);
    EXPECT_EQ(s->directory.organizationCount, 1);
    EXPECT_EQ(f.read("Data/Firms.damaged"), damaged);
    EXPECT_EQ(f.read("Data/Firms").size(), 507648);
}

// A FIFO in place of a data file held the start up for ever. Only regular files are read as
// data: such an entry is named as "Это не обычный файл", left as it is and never written over.
TEST(HostileFolder, FifoInPlaceOfADataFileIsNamedAndLeftAlone) {
    using Save = std::function<IoResult(const FolderData&)>;
    const std::pair<const char*, Save> files[] = {
        {"Data/Firms",
         [](const FolderData& st) { return saveOrganizationsFile(st.folder, st.directory); }},
        {"Data/FirmsDel",
         [](const FolderData& st) {
             return saveDeletedOrganizationsFile(st.folder, st.directory);
         }},
        {"Data/Filial",
         [](const FolderData& st) { return saveBranchesFile(st.folder, st.directory); }},
        {"Data/Employee",
         [](const FolderData& st) { return saveEmployeesFile(st.folder, st.directory); }},
        {"Data/Journal",
         [](const FolderData& s) { return saveTables(s.folder, s.directory, TableFirms); }},
        {"Set", [](const FolderData& s) { return saveSettingsFile(s.folder, s.settings); }},
        {"FormW", [](const FolderData& s) { return saveWindowSizesFile(s.folder, s.settings); }},
        {"ArCol", [](const FolderData& s) { return saveColumnWidthsFile(s.folder, s.settings); }},
        {"PathPlt", {}}};
    for (const auto& [file, save] : files) {
        SCOPED_TRACE(file);
        Folders f;
        fill(f);
        const QString path = f.prog() + file;
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QStringList messages;
        auto s = start(f, messages);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(
            messages[0].startsWith("Не могу прочитать файл " + path + ": Это не обычный файл"))
            << messages[0].toStdString();
        if (save) {
            EXPECT_FALSE(save(*s).ok);
        }
        struct stat st;
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
    }
}

TEST(HostileFolder, RandomBytesInEveryRecognisedSizeLoadWithoutLoss) {
    const std::pair<const char*, int> files[] = {{"Data/Firms", 507648},
                                                 {"Data/FirmsDel", 507648},
                                                 {"Data/Filial", 46592},
                                                 {"Data/Employee", 198656},
                                                 {"FormW", 1024},
                                                 {"ArCol", 512},
                                                 {"Set", 512},
                                                 {"PathPlt", 256},
                                                 {"PP/15_1234567890_09.plat", 1169},
                                                 {"PP/7_1_09.plat", 1169},
                                                 {"16_1234567890_09.plat", 1169},
                                                 {"16_1234567890_09.pdel", 1169},
                                                 {"12_1234567890.plat", 389},
                                                 {"order.plat", 389}};
    QRandomGenerator random(11);
    for (int round = 0; round < 8; ++round) {
        Folders f;
        for (const char* sub : {"Data", "PP", "PPDel"})
            QDir(f.prog()).mkpath(sub);
        for (const auto& [name, size] : files) {
            QByteArray bytes(size, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
            f.write(name, bytes);
        }
        const Tree before = tree(f.prog());
        QStringList messages;
        auto s = start(f, messages);
        EXPECT_EQ(messages, QStringList()) << "round " << round;
        SavedOrders listed;
        ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
        EXPECT_LE(listed.size(), 3u);
        // The old orders are rewritten in the current layout; every other content is kept
        // (the orders may have new names that fit their content).
        Tree kept = before;
        kept.erase("12_1234567890.plat");
        kept.erase("order.plat");
        QList<QByteArray> after = contents(tree(f.prog()));
        for (const QByteArray& c : contents(kept))
            EXPECT_TRUE(after.removeOne(c)) << "round " << round << ": a file's content is gone";
    }
}

TEST(HostileFolder, OddNamesArePassedOverAndNothingIsLost) {
    Folders f;
    fill(f);
    const QByteArray names[] = {
        "1 2_1234567890_09.plat",
        "1.2_1234567890_09.plat",
        "..plat",
        ". .plat",
        "...plat",
        "15_1234567890_09.plat.",
        "\xd0\xbf\xd0\xbb\xd0\xb0\xd1\x82\xd0\xb5\xd0\xb6_1234567890_09.plat", // UTF-8 Cyrillic
        "\xff\xfe_1234567890_09.plat",                                         // not UTF-8
        "\xef\xbc\x91\xef\xbc\x95_1234567890_09.plat",                         // full-width digits
        "1\n2_1234567890_09.plat",
        QByteArray(250, '7') + ".plat",
        "17_" + QByteArray(200, '1') + "_09.plat",
    };
    auto put = [](const QString& folder, const QByteArray& name, const QByteArray& content) {
        const QByteArray path = QFile::encodeName(folder) + name;
        FILE* file = std::fopen(path.constData(), "wb");
        ASSERT_TRUE(file) << path.toStdString();
        std::fwrite(content.constData(), 1, std::size_t(content.size()), file);
        std::fclose(file);
    };
    for (const QByteArray& name : names) {
        put(f.prog() + "PP/", name, order("15"));
        put(f.prog(), name, order("16"));
        put(f.prog(), name.chopped(5) + ".pdel", order("17"));
    }
    const QList<QByteArray> before = contents(tree(f.prog()));
    for (int run = 0; run < 2; ++run) {
        QStringList messages;
        auto s = start(f, messages);
        SavedOrders listed;
        ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
        // Only the program's own name of a saved order is listed.
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed.name(listed.listOrder()[0]), "15_1234567890_09.plat");
        for (const QString& m : messages)
            EXPECT_TRUE(m.startsWith("Не могу скопировать файл - ")) << m.toStdString();
    }
    EXPECT_EQ(contents(tree(f.prog())), before);
    // Qt cannot remove a name that is not UTF-8; the temporary folder goes without it.
    for (const QString& folder : {f.prog(), f.prog() + "PP/"})
        for (const QByteArray& name : names)
            for (const QByteArray& n : {name, name.chopped(5) + ".pdel"})
                ::unlink((QFile::encodeName(folder) + n).constData());
}

TEST(HostileFolder, LinksOutOfTheFolderAreNeitherListedNorWrittenThrough) {
    Folders f;
    fill(f);
    const QByteArray victim = order("99", "5555555555");
    f.root.write("outside/victim.plat", victim);
    f.root.write("outside/Firms", QByteArray(507648, 'x'));
    const QString target = f.outside() + "victim.plat";
    const QString links[] = {"PP/16_1234567890_09.plat", "17_1234567890_09.plat",
                             "PP/18_1234567890_09.plat"};
    for (const QString& link : links)
        ASSERT_TRUE(QFile::link(target, f.prog() + link));
    ASSERT_TRUE(QFile::link(f.outside() + "missing.plat", f.prog() + "PP/19_1234567890_09.plat"));
    ASSERT_TRUE(QFile::link(f.outside() + "Firms", f.prog() + "Data/FirmsDel"));
    const Tree outside = tree(f.outside());

    QStringList messages;
    auto s = start(f, messages);
    EXPECT_EQ(messages, QStringList());
    SavedOrders listed;
    ASSERT_TRUE(listSavedOrders(s->folder, listed).ok);
    ASSERT_EQ(listed.size(), 1u);

    // Saving an order under the name of a link, or the deleted directory over its link, is
    // refused with the reason.
    OrderRecord plat;
    clearRecord(plat);
    plat.amount = "1-00";
    for (const char* name : {"16_1234567890_09.plat", "19_1234567890_09.plat"}) {
        const IoResult r = saveOrderFile(s->folder, name, plat);
        EXPECT_FALSE(r.ok) << name;
        EXPECT_TRUE(r.error.contains("ссылка")) << r.error.toStdString();
    }
    const IoResult deleted = saveDeletedOrganizationsFile(s->folder, s->directory);
    EXPECT_FALSE(deleted.ok);
    EXPECT_EQ(tree(f.outside()), outside);

    // A link to a file of the same folder is an ordinary name for that file.
    ASSERT_TRUE(QFile::link("15_1234567890_09.plat", f.prog() + "PP/20_1234567890_09.plat"));
    EXPECT_TRUE(saveOrderFile(s->folder, "20_1234567890_09.plat", plat).ok);
    EXPECT_EQ(f.read("PP/15_1234567890_09.plat"), recordBytes(plat));
}
