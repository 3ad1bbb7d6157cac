// Starts of the program stopped at its own file calls, as a crash or a power cut stops them:
// the tracer (tests/driver/filecalls.cpp), preloaded into the program, sees the calls that
// create, open, rename, link, remove or sync anything in the program folder, and kills the
// program just before the one chosen. The next start must find everything there, once.
#include "support/support.h"

#include "program.h"

#include "storage/cp1251.h"
#include "storage/records.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using testing_support::Outcome;
using testing_support::runProgram;

namespace {

// A program folder in memory: relative path -> content.
using Folder = QMap<QString, QByteArray>;

// A work folder in shared memory where there is one: a trial writes and syncs hundreds of
// small files, which a disk would make slow.
std::unique_ptr<QTemporaryDir> workDir() {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return std::make_unique<QTemporaryDir>(base + QStringLiteral("/quenmara-XXXXXX"));
}

QString slash(const QTemporaryDir& d) {
    return d.path() + u'/';
}

void writeFolder(const QString& root, const Folder& folder) {
    for (auto it = folder.cbegin(); it != folder.cend(); ++it) {
        const QString path = root + it.key();
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(it.value());
    }
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the program on dir with the tracer: killed before call killAt when it is above 0, the
// calls written to log when it is given. Returns whether the tracer killed it.
bool runTraced(const QString& dir, const QStringList& args, long killAt, const QString& log = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString first = QStringLiteral(QM_PRELOAD_FIRST);
    env.insert("LD_PRELOAD", (first.isEmpty() ? QString() : first + u':') + QM_FILECALLS);
    env.insert("QM_TRACE_DIR", dir);
    if (killAt > 0)
        env.insert("QM_TRACE_KILL", QString::number(killAt));
    if (!log.isEmpty())
        env.insert("QM_TRACE_LOG", log);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QM_BINARY_DIR "/quenmara"), QStringList{"--dir", dir} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return p.exitStatus() == QProcess::CrashExit && p.exitCode() == SIGKILL;
}

// The calls one whole run makes, one line each ("rename\tFROM\tTO").
QStringList tracedCalls(const Folder& folder, const QStringList& args) {
    const auto dir = workDir();
    writeFolder(slash(*dir), folder);
    const QString log = dir->path() + QStringLiteral(".log");
    EXPECT_FALSE(runTraced(slash(*dir), args, 0, log));
    const QStringList calls = QString::fromUtf8(readFile(log)).split(u'\n', Qt::SkipEmptyParts);
    QFile::remove(log);
    return calls;
}

// The organizations in use of a directory file, by name.
QStringList organizations(const QByteArray& file) {
    QStringList names;
    for (qsizetype at = 0; at + qsizetype(sizeof(storage::OrganizationRecord)) <= file.size();
         at += sizeof(storage::OrganizationRecord)) {
        const auto len = static_cast<unsigned char>(file[at]);
        if (len == 0)
            break;
        names << storage::cp1251::toUnicode(file.mid(at + 1, len));
    }
    return names;
}

// --- the upgrade from the earlier version ---------------------------------------------------

constexpr int Organizations = 10; // 8 in use, 2 deleted
constexpr int OldOrders = 20;

QString firmName(int i) {
    return QStringLiteral("Организация %1").arg(i);
}
QByteArray firmInn(int i) {
    return QByteArray::number(7700000000LL + i);
}
int payerOf(int order) {
    return order % Organizations;
}
int payeeOf(int order) {
    return (order + 3) % Organizations;
}
QString yearOf(int order) {
    return order % 3 == 0 ? QStringLiteral("10") : QStringLiteral("09");
}

// A folder of the earlier version: its directory files and orders in the program folder.
Folder earlierVersion() {
    std::vector<QByteArray> inUse, deleted;
    for (int i = 0; i < Organizations; ++i)
        (i < 8 ? inUse : deleted)
            .push_back(testing_support::oldFirmRecord(firmName(i).toUtf8().constData(),
                                                      firmInn(i).constData()));
    Folder f{{"Firms", testing_support::oldFirmsFile(inUse)},
             {"FirmsDel", testing_support::oldFirmsFile(deleted)}};
    for (int n = 1; n <= OldOrders; ++n) {
        const QByteArray date =
            QStringLiteral("%1.02.20%2").arg(n, 2, 10, QChar(u'0')).arg(yearOf(n)).toLatin1();
        f.insert(QStringLiteral("%1_%2.plat").arg(n).arg(QString::fromLatin1(firmInn(payerOf(n)))),
                 testing_support::oldOrderFile(QByteArray::number(n).constData(), date.constData(),
                                               firmInn(payerOf(n)).constData(),
                                               firmInn(payeeOf(n)).constData()));
    }
    return f;
}

// What is wrong with a folder after the upgrade: an organization or order missing, doubled or
// not converted, an order not listed or listed without its parties, a file left over.
QStringList upgradeFaults(const QString& dir) {
    // The next start lists every order once, by the names of its parties (the list names an
    // organization in use; a deleted one by its INN), without a word on standard error but
    // Qt's own notes.
    QStringList faults;
    const Outcome listed = runProgram({"--dir", dir, "--list"});
    QStringList said = listed.err.split(u'\n', Qt::SkipEmptyParts);
    said.removeIf([](const QString& line) { return line.startsWith(u"QStandardPaths: "); });
    if (listed.status != 0 || !said.isEmpty())
        faults << QStringLiteral("--list: status %1: %2").arg(listed.status).arg(said.join(u'\n'));
    QStringList inUse, deleted;
    for (int i = 0; i < Organizations; ++i)
        (i < 8 ? inUse : deleted) << firmName(i);
    if (organizations(readFile(dir + "Data/Firms")) != inUse)
        faults << "Data/Firms: " + organizations(readFile(dir + "Data/Firms")).join(", ");
    if (organizations(readFile(dir + "Data/FirmsDel")) != deleted)
        faults << "Data/FirmsDel: " + organizations(readFile(dir + "Data/FirmsDel")).join(", ");

    const auto shown = [](int firm) {
        return firm < 8 ? firmName(firm) : QString::fromLatin1(firmInn(firm));
    };
    QStringList expected;
    for (int n = 1; n <= OldOrders; ++n)
        expected << QStringLiteral("%1\t%2.02.20%3\t%4\t%5\t1500-00\tОплачено\t%1_%6_%3.plat")
                        .arg(n)
                        .arg(n, 2, 10, QChar(u'0'))
                        .arg(yearOf(n), shown(payerOf(n)), shown(payeeOf(n)),
                             QString::fromLatin1(firmInn(payerOf(n))));
    const QStringList lines = listed.out.split(u'\n', Qt::SkipEmptyParts);
    if (lines != expected)
        faults << "--list:\n" + lines.join(u'\n');
    // Each order has its parties' names from the directory, deleted organizations included.
    for (int n = 1; n <= OldOrders; ++n) {
        const QByteArray order =
            readFile(dir + QStringLiteral("PP/%1_%2_%3.plat")
                               .arg(n)
                               .arg(QString::fromLatin1(firmInn(payerOf(n))), yearOf(n)));
        const auto name = [&order](int at) {
            return storage::cp1251::toUnicode(
                order.mid(at + 1, static_cast<unsigned char>(order[at])));
        };
        if (order.size() != 1169 || name(0) != firmName(payerOf(n)) ||
            name(403) != firmName(payeeOf(n)))
            faults << QStringLiteral("order %1 not converted with its parties").arg(n);
    }

    // Nothing else is left but the old files under their new names and the leftovers that a
    // person might have named so (six letters of one case, see the start-up).
    const QRegularExpression allowed(
        QStringLiteral("^(Firms_Old|FirmsDel_Old|Data|PP|PPDel|Data/(Firms|FirmsDel|Index)|"
                       "PP/\\d+_\\d+_\\d\\d\\.plat|.*\\.([a-z]{6}|[A-Z]{6}))$"));
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = it.next().mid(dir.size());
        if (!allowed.match(relative).hasMatch())
            faults << "left: " + relative;
    }
    return faults;
}

} // namespace

// The first start on a folder of the earlier version is killed before a random one of its
// file calls, 200 times; the start after each finds every organization and order, converted,
// listed, once. An interrupted first start used to lose the old directory for good.
TEST(KilledStart, UpgradeFromTheEarlierVersionLosesNothingWhereverItStops) {
    const Folder old = earlierVersion();
    const QStringList calls = tracedCalls(old, {"--list"});
    ASSERT_GT(calls.size(), 100);
    ASSERT_TRUE(upgradeFaults(slash(*workDir())).size() > 0); // the check sees a missing upgrade
    std::mt19937 random(20260126);
    std::uniform_int_distribution<long> at(1, calls.size());
    int killed = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const auto dir = workDir();
        ASSERT_NO_FATAL_FAILURE(writeFolder(slash(*dir), old));
        const long k = at(random);
        killed += runTraced(slash(*dir), {"--list"}, k);
        const QStringList faults = upgradeFaults(slash(*dir));
        ASSERT_EQ(faults.join(u'\n').toStdString(), "")
            << "killed before " << calls[k - 1].toStdString();
    }
    EXPECT_EQ(killed, 200);
}

// A damaged table was moved aside before the repaired one was written: a kill in between left
// no table at all, and every later start showed an empty directory without a word. Killed at
// each of its calls, the start leaves the table whole or damaged, the damaged content kept
// once, and the next start finishes the salvage.
TEST(KilledStart, SalvageOfADamagedTableKeepsTheTableWhereverItStops) {
    QByteArray firms(507648, '\0');
    for (int i = 0; i < 2; ++i) {
        const QByteArray name = "Firm " + QByteArray::number(i);
        firms[i * 1983] = char(name.size());
        firms.replace(i * 1983 + 1, name.size(), name);
    }
    const QByteArray damaged = firms.left(2 * 1983 + 7);
    const Folder folder{{"Data/Firms", damaged}};
    const QStringList calls = tracedCalls(folder, {"--list"});
    ASSERT_GT(calls.size(), 5);
    for (long k = 1; k <= calls.size(); ++k) {
        SCOPED_TRACE("killed before " + calls[k - 1].toStdString());
        const auto dir = workDir();
        const QString d = slash(*dir);
        ASSERT_NO_FATAL_FAILURE(writeFolder(d, folder));
        EXPECT_TRUE(runTraced(d, {"--list"}, k));
        const QByteArray left = readFile(d + "Data/Firms");
        EXPECT_TRUE(left == damaged || left == firms) << left.size() << " bytes";
        EXPECT_EQ(runProgram({"--dir", d, "--list"}).status, 0);
        EXPECT_EQ(readFile(d + "Data/Firms"), firms);
        EXPECT_EQ(readFile(d + "Data/Firms.damaged"), damaged);
        EXPECT_FALSE(QFileInfo::exists(d + "Data/Firms.damaged1"));
    }
}

// A save, deletion or conversion reported as done could roll back after a power cut: files
// were synced, their folders never. Every name the program makes (a rename, a link, a new
// folder) is now followed by a sync of its folder before the program ends.
TEST(KilledStart, EveryNameMadeIsSyncedWithItsFolder) {
    Folder f = earlierVersion();
    // A change of the tables stopped after its journal, a new order complete beside its name,
    // an order whose name no longer fits its content, an order waiting in the program folder.
    f.insert("Data/Journal", "FirmsDel");
    f.insert("Data/FirmsDel.new", QByteArray(507648, '\0'));
    f.insert("PP/5_7700000001_09.plat.new",
             testing_support::platFile({"5", "7700000001", "03.02.2009"}));
    f.insert("PP/7_7700000001_09.plat",
             testing_support::platFile({"8", "7700000001", "03.02.2009"}));
    f.insert("9_7700000001_09.plat", testing_support::platFile({"9", "7700000001", "03.02.2009"}));
    const QStringList calls = tracedCalls(f, {"--list"});
    const QRegularExpression naming(
        QStringLiteral("^(rename|renameat|renameat2|link|linkat|mkdir)\t"));
    int named = 0;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        // The index of the orders is a cache: losing its name to a power cut loses nothing.
        if (!naming.match(calls[i]).hasMatch() || calls[i].contains(u"/Data/Index"))
            continue;
        ++named;
        const QString folder = QDir::cleanPath(QFileInfo(calls[i].section(u'\t', -1)).path());
        bool synced = false;
        for (qsizetype j = i + 1; j < calls.size() && !synced; ++j)
            synced = calls[j].startsWith(u"fsync\t") &&
                     QDir::cleanPath(calls[j].section(u'\t', 1)) == folder;
        EXPECT_TRUE(synced) << calls[i].toStdString();
    }
    EXPECT_GT(named, OldOrders);
}
