#include "support/support.h"

#include "program.h"

#include "datagen.h"
#include "storage/folderlock.h"
#include "storage/records.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::cp;
using testing_support::Outcome;
using testing_support::platFile;
using testing_support::runProgram;
using testing_support::TempDir;

namespace {

// The directory file with one organization, laid out by hand: name at 0, INN at 1779.
QByteArray firmsFile(const char* name, const char* inn) {
    QByteArray file(507648, '\0');
    const QByteArray n = cp(name);
    file[0] = char(n.size());
    file.replace(1, n.size(), n);
    file[1779] = char(std::strlen(inn));
    file.replace(1780, int(std::strlen(inn)), inn);
    return file;
}

// A program folder as a user prepares it: the directory, and order files copied into PP.
void prepare(const TempDir& dir) {
    QDir(dir.path()).mkpath("Data");
    QDir(dir.path()).mkpath("PP");
    dir.write("Data/Firms",
              firmsFile("Общество с ограниченной ответственностью «Вега»", "7701000001"));
    dir.write("PP/2_7701000001_09.plat",
              platFile({"2", "7701000001", "03.02.2009", "5555555555", "1500-50", 1}));
    dir.write("PP/1_5555555555_09.plat",
              platFile({"1", "5555555555", "04.02.2009", "7701000001", "7,25", 0}));
}

const QString expectedList =
    QString::fromUtf8("1\t04.02.2009\t5555555555\tООО «Вега»\t7,25\tНе оплачено\t"
                      "1_5555555555_09.plat\n"
                      "2\t03.02.2009\tООО «Вега»\t5555555555\t1500-50\tОплачено\t"
                      "2_7701000001_09.plat\n");

} // namespace

TEST(ListMode, FolderOfOrdersThatCannotBeUsedGivesAMessageAndFailure) {
    TempDir dir;
    dir.write("PP", "a file where the folder should be");
    const Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.contains("PP")) << r.err.toStdString();
}

TEST(ListMode, ProgramListsAFolderPreparedByHand) {
    TempDir dir;
    prepare(dir);
    // An order whose content changed since it was named: listed under its new name, since
    // the start scans again after renaming.
    dir.write("PP/5_7701000001_09.plat",
              platFile({"6", "7701000001", "05.02.2009", "5555555555", "10-00"}));
    const Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expectedList + QString::fromUtf8("6\t05.02.2009\tООО «Вега»\t5555555555\t"
                                                      "10-00\tНе оплачено\t"
                                                      "6_7701000001_09.plat\n"));
    EXPECT_TRUE(dir.exists("PP/6_7701000001_09.plat"));
}

// With one order it could not read, --list printed only the error and failed: now every
// readable order is printed and the other is named on standard error.
TEST(ListMode, UnreadableOrderIsNamedAndEveryOtherListed) {
    TempDir dir;
    prepare(dir);
    dir.write("PP/0_7701000001_09.plat", platFile({"0", "7701000001", "03.02.2009"}) + "x");
    const Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expectedList);
    // (Qt's own warnings may come first.)
    EXPECT_TRUE(r.err.contains("Не могу прочитать платежку " + dir.file("PP/0_7701000001_09.plat") +
                               ": 1170 байт вместо 1169\n"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count("Не могу прочитать платежку"), 1);
}

TEST(ListMode, ProgramListsAFullDataSet) {
    TempDir dir;
    ASSERT_TRUE(datagen::fillProgramFolder(dir.path()));
    const Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1024);
    for (const QString& line : lines)
        ASSERT_EQ(line.split('\t').size(), 7) << line.toStdString();
    EXPECT_TRUE(lines[0].startsWith("1\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QString::fromUtf8("\tООО «Фирма "))) << lines[0].toStdString();
}

TEST(ListMode, DeletedOrdersAreListedTheLatestDeletionFirst) {
    TempDir dir;
    prepare(dir);
    QDir(dir.path()).mkpath("PPDel");
    dir.write("PPDel/1_5555555555_09.pdel",
              platFile({"1", "5555555555", "04.02.2009", "7701000001", "7,25"}));
    // An order came into PPDel when its file's status last changed: the file written later
    // is the later deletion.
    QTest::qWait(30);
    dir.write("PPDel/2_7701000001_09(1).pdel",
              platFile({"2", "7701000001", "03.02.2009", "5555555555", "1500-50"}));
    dir.write("PPDel/3_7701000001_09.pdel", "short");
    const Outcome r = runProgram({"--dir", dir.path(), "--list", "--deleted"});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("2\t03.02.2009\tООО «Вега»\t5555555555\t"
                                                      "1500-50\t")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("\t2_7701000001_09(1).pdel"));
    EXPECT_TRUE(lines[1].endsWith("\t1_5555555555_09.pdel"));
    const QString when = lines[0].split('\t')[5];
    EXPECT_TRUE(QDateTime::fromString(when, "dd.MM.yyyy hh:mm").isValid()) << when.toStdString();
    EXPECT_TRUE(r.err.contains("3_7701000001_09.pdel: 5 байт вместо 1169")) << r.err.toStdString();
    EXPECT_NE(runProgram({"--dir", dir.path(), "--deleted"}).status, 0);
}

TEST(ListMode, ProgramRefusesAMissingFolder) {
    TempDir dir;
    const Outcome r = runProgram({"--dir", dir.file("missing"), "--list"});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.contains("missing")) << r.err.toStdString();
}

// --pdf writes one page per named order (a name alone is looked for in PP). A missing order
// is named and nothing is written; an order that cannot be read leaves the file that was
// there before as it was.
TEST(PdfMode, OnePagePerOrderAndNothingWrittenForABadOne) {
    TempDir dir;
    prepare(dir);
    const QString pdf = dir.file("orders.pdf");
    Outcome r = runProgram(
        {"--dir", dir.path(), "--pdf", pdf, "2_7701000001_09.plat", "1_5555555555_09.plat"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(60000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages:\\s+2\\n")));

    dir.write("orders.pdf", "old");
    r = runProgram({"--dir", dir.path(), "--pdf", pdf, "2_7701000001_09.plat", "3_1_09.plat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Платежка не найдена")) &&
                r.err.contains("3_1_09.plat"))
        << r.err.toStdString();
    EXPECT_EQ(dir.read("orders.pdf"), "old");

    dir.write("PP/3_1_09.plat", QByteArray(100, 'x'));
    r = runProgram({"--dir", dir.path(), "--pdf", pdf, "2_7701000001_09.plat", "3_1_09.plat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("3_1_09.plat")) << r.err.toStdString();
    EXPECT_EQ(dir.read("orders.pdf"), "old");
}

// --export writes the exchange file for the named orders that can be paid and names the
// others with their reasons; the program folder stays as the start-up left it.
TEST(ExportMode, OrdersThatCanBePaidAreWrittenAndTheOthersNamed) {
    TempDir dir, outDir;
    prepare(dir); // orders without the payer's account
    storage::OrderRecord p;
    storage::clearRecord(p);
    p.number = "7";
    p.payerInn = "7701000001";
    p.date = "05.02.2009";
    p.amount = "1500";
    p.payerAccount = "40702810900000000001";
    dir.write("PP/7_7701000001_09.plat", storage::recordBytes(p));
    ASSERT_EQ(runProgram({"--dir", dir.path(), "--list"}).status, 0);
    auto folder = [&] {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            files[it.next()] = dir.read(QDir(dir.path()).relativeFilePath(it.filePath()));
        return files;
    };
    const auto before = folder();

    const QString out = outDir.file("1c_to_kl.txt");
    Outcome r = runProgram(
        {"--dir", dir.path(), "--export", out, "7_7701000001_09.plat", "1_5555555555_09.plat"});
    EXPECT_EQ(r.status, 1);
    // (Qt's own warnings may come first.)
    EXPECT_TRUE(r.err.split('\n').contains(
        QString::fromUtf8("1_5555555555_09.plat: не указан счет плательщика")))
        << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromUtf8("В файл %1 записана 1 платежка.\n").arg(out));
    EXPECT_TRUE(outDir.read("1c_to_kl.txt")
                    .contains(cp("Номер=7\r\nДата=05.02.2009\r\n"
                                 "Сумма=1500.00\r\n")));
    EXPECT_EQ(folder(), before);

    r = runProgram({"--dir", dir.path(), "--export", out, "7_7701000001_09.plat"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(runProgram({"--dir", dir.path(), "--export", out}).status, 2);
}

// --- one program per program folder ------------------------------------------------------

namespace {

const QString lockName = storage::FolderLock::fileName();

QProcessEnvironment offscreen() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

// A folder that the start-up would change in every way it can: orders of the earlier version
// and of the current layout in the program folder, an old directory file, a damaged table
// and settings file, an order whose name no longer fits its content, no PPDel.
void prepareHostile(const TempDir& dir) {
    prepare(dir);
    QByteArray oldFirms(189824, '\0');
    oldFirms.replace(0, 2,
                     "\x01"
                     "A");
    dir.write("Firms", oldFirms);
    QByteArray oldOrder(389, '\0');
    oldOrder.replace(6, 11,
                     "\x0a"
                     "03.02.2009");
    dir.write("12_7701000001.plat", oldOrder);
    dir.write("11_7701000001_09.plat",
              platFile({"11", "7701000001", "03.02.2009", "5555555555", "1-00"}));
    dir.write("PP/5_7701000001_09.plat",
              platFile({"6", "7701000001", "05.02.2009", "5555555555", "10-00"}));
    dir.write("Data/Filial", QByteArray(100, 'x'));
    dir.write("ArCol", QByteArray(3, '\x01'));
}

} // namespace

// While another program holds the folder, --list and --pdf read it as it is: the misnamed
// order is listed under its present name, and not one byte of the folder changes.
TEST(HeldFolder, ListAndPdfReadTheFolderAsItIsAndChangeNothing) {
    TempDir dir, elsewhere;
    prepareHostile(dir);
    QLockFile held(dir.file(lockName));
    ASSERT_TRUE(held.tryLock(0));
    const testing_support::Tree before = testing_support::folderTree(dir.path());
    const QString inUse = QString::fromUtf8("занята другой программой");

    Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expectedList + QString::fromUtf8("5\t05.02.2009\tООО «Вега»\t5555555555\t"
                                                      "10-00\tНе оплачено\t"
                                                      "5_7701000001_09.plat\n"));
    EXPECT_TRUE(r.err.contains(inUse) && r.err.contains(QString::fromUtf8("прочитана как есть")))
        << r.err.toStdString();
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);

    const QString pdf = elsewhere.file("orders.pdf");
    r = runProgram({"--dir", dir.path(), "--pdf", pdf, "5_7701000001_09.plat"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(r.err.contains(inUse)) << r.err.toStdString();
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);
}

// A second window start says in Russian which computer and process hold the folder and
// reads or writes nothing there.
TEST(HeldFolder, SecondWindowStartSaysWhoHoldsTheFolderAndTouchesNothing) {
    TempDir dir;
    QLockFile held(dir.file(lockName));
    ASSERT_TRUE(held.tryLock(0));
    const testing_support::Tree before = testing_support::folderTree(dir.path());
    QProcess second;
    second.setProcessEnvironment(offscreen());
    second.start(QStringLiteral(QM_BINARY_DIR "/quenmara"), {"--dir", dir.path()});
    QString err;
    QDeadlineTimer deadline(60000);
    while (!err.contains(QString::fromUtf8("Закройте")) && !deadline.hasExpired() &&
           second.state() != QProcess::NotRunning) {
        second.waitForReadyRead(500);
        err += QString::fromUtf8(second.readAllStandardError());
    }
    EXPECT_TRUE(err.contains(QString::fromUtf8("занята другой программой")) &&
                err.contains(QSysInfo::machineHostName()) &&
                err.contains(QString::number(QCoreApplication::applicationPid())))
        << err.toStdString();
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);
    second.kill(); // it waits on its message box
    second.waitForFinished();
}

// The lock of a program that was killed is taken over without a question, and a program
// releases the lock when it ends.
TEST(HeldFolder, LockOfAKilledProgramIsTakenOverAndReleasedAtTheEnd) {
    TempDir dir;
    QProcess first;
    first.setProcessEnvironment(offscreen());
    first.start(QStringLiteral(QM_BINARY_DIR "/quenmara"), {"--dir", dir.path()});
    // The start-up is done when PPDel exists; the lock was taken before.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dir.exists("PPDel"); }, 60000));
    first.kill();
    first.waitForFinished();
    ASSERT_TRUE(dir.exists(lockName));

    const Outcome r = runProgram({"--dir", dir.path(), "--list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.err.contains(QString::fromUtf8("занята"))) << r.err.toStdString();
    EXPECT_FALSE(dir.exists(lockName));
}

// --check promised to change nothing, yet it set a damaged table aside and converted and
// renamed old orders. It now only reads, without the lock; an order of another size, which it
// passed over, is named.
TEST(CheckMode, ReadsAFolderTheStartUpWouldChangeAndChangesNothing) {
    TempDir dir;
    prepareHostile(dir);
    dir.write("PP/3_7701000001_09.plat", QByteArray(1170, '\0'));
    const testing_support::Tree before = testing_support::folderTree(dir.path());
    const Outcome r = runProgram({"--dir", dir.path(), "--check"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Не могу прочитать платежку " + dir.file("PP/3_7701000001_09.plat") +
                               ": 1170 байт вместо 1169"))
        << r.err.toStdString();
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);
}

// --export and --pdf wrote over the program's own files (an order, the directory) and over
// device nodes and FIFOs. Such outputs are now refused, whatever the spelling of the path,
// and nothing changes.
TEST(OutputModes, NeverWriteOverTheProgramsDataOrAFileThatIsNoFile) {
    TempDir dir, elsewhere;
    prepare(dir);
    ASSERT_EQ(runProgram({"--dir", dir.path(), "--list"}).status, 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(elsewhere.file("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.path(), elsewhere.file("alias")));
    ASSERT_TRUE(QFile::link(dir.file("Set"), dir.file("settings.txt")));
    dir.write("Set", QByteArray(512, '\0'));
    const QString order = "2_7701000001_09.plat";
    const QStringList outputs = {
        dir.file("PP/" + order),
        dir.file("Data/Firms"),
        dir.file("Data/new.txt"),
        elsewhere.file("alias/PP/../Data/Firms"),
        elsewhere.file("alias/PPDel/x.pdf"),
        dir.file("Set"),
        dir.file("settings.txt"), // a link to Set
        dir.file(lockName),
        dir.file("12_7701000001.plat"),
        dir.file("Data"),
        elsewhere.file("fifo"),
    };
    const testing_support::Tree before = testing_support::folderTree(dir.path());
    for (const QString& out : outputs)
        for (const char* mode : {"--export", "--pdf"}) {
            const Outcome r = runProgram({"--dir", dir.path(), mode, out, order});
            EXPECT_EQ(r.status, 2) << mode << ' ' << out.toStdString();
            EXPECT_TRUE(r.err.contains("Не могу записать файл " + out)) << r.err.toStdString();
        }
    EXPECT_EQ(testing_support::folderTree(dir.path()), before);
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(elsewhere.file("fifo")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Where no lock could be made, two programs worked on the folder as writers. Now the folder
// is only read, with a message that says why, unless the user starts with --no-lock; a
// folder or a FIFO in the lock file's place is named as such (a FIFO held the start for ever).
TEST(FolderWithoutALock, IsOnlyReadAndSaysWhyUnlessTheUserSaysNoLock) {
    for (const bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "a folder" : "a FIFO");
        TempDir dir;
        prepareHostile(dir);
        const QByteArray lock = QFile::encodeName(dir.file(lockName));
        ASSERT_EQ(folder ? ::mkdir(lock.constData(), 0700) : ::mkfifo(lock.constData(), 0600), 0);
        const testing_support::Tree before = testing_support::folderTree(dir.path());
        Outcome r = runProgram({"--dir", dir.path(), "--list"});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("файл блокировки " + dir.file(lockName) + ": " +
                                   (folder ? "Это папка, а не файл" : "Это не обычный файл")) &&
                    r.err.contains("--no-lock"))
            << r.err.toStdString();
        EXPECT_EQ(testing_support::folderTree(dir.path()), before);

        r = runProgram({"--dir", dir.path(), "--no-lock", "--list"});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("--no-lock")) << r.err.toStdString();
        EXPECT_TRUE(dir.exists("PP/11_7701000001_09.plat"));
    }
}
