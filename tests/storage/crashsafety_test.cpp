#include "support/support.h"

#include "generations.h"

#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"
#include "storage/settings.h"
#include "storage/startup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <thread>

using namespace storage;
using testing_support::TempDir;

namespace {

constexpr int Kills = 200;
// Run r saves generations r*GenerationsPerRun+1 on; the new order of each run's first
// generation has another number (GenerationsPerRun is no multiple of their count).
constexpr int GenerationsPerRun = 1001;

// Writes generation 0 through the program's own functions.
void writeFirstGeneration(const TempDir& dir) {
    auto s = std::make_unique<FolderData>();
    ASSERT_EQ(startUp(*s, dir.path()), QStringList());
    crashgen::fill(*s, 0);
    using Save = IoResult (*)(const FolderData&);
    for (Save save :
         {Save([](const FolderData& st) { return saveOrganizationsFile(st.folder, st.directory); }),
          Save([](const FolderData& st) {
              return saveDeletedOrganizationsFile(st.folder, st.directory);
          }),
          Save([](const FolderData& st) { return saveBranchesFile(st.folder, st.directory); }),
          Save([](const FolderData& st) { return saveEmployeesFile(st.folder, st.directory); }),
          Save([](const FolderData& st) { return saveWindowSizesFile(st.folder, st.settings); }),
          Save([](const FolderData& st) { return saveColumnWidthsFile(st.folder, st.settings); }),
          Save([](const FolderData& st) { return saveSettingsFile(st.folder, st.settings); })})
        ASSERT_TRUE(save(*s).ok);
    for (int k = 0; k < crashgen::FixedOrders; ++k) {
        const QByteArray name = crashgen::fixedOrderFile(k).mid(3).toLatin1();
        ASSERT_TRUE(saveOrderFile(s->folder, name.toStdString(), crashgen::order(0, k + 1)).ok);
    }
}

// Starts the writer, waits until it is ready and (when asked) until it has reported that many
// finished generations, lets it work for the given time and kills it. worked (when given)
// receives the time from "ready" to the kill.
void killWriterAfter(const QStringList& args, std::chrono::microseconds delay, int run,
                     int generations = 0, std::chrono::microseconds* worked = nullptr) {
    QProcess writer;
    writer.start(QStringLiteral(QM_BINARY_DIR "/crash_writer"), args);
    ASSERT_TRUE(writer.waitForStarted()) << writer.errorString().toStdString();
    ASSERT_TRUE(writer.waitForReadyRead(10000)) << "run " << run;
    ASSERT_EQ(writer.readLine().trimmed(), "ready");
    QElapsedTimer clock;
    clock.start();
    for (int reported = 0; reported < generations;) {
        if (!writer.canReadLine())
            ASSERT_TRUE(writer.waitForReadyRead(10000)) << "run " << run;
        else
            reported += writer.readLine().startsWith("generation");
    }
    std::this_thread::sleep_for(delay);
    // No process id once the writer is gone: it stopped by itself (said below).
    if (const qint64 pid = writer.processId(); pid > 0)
        ::kill(pid_t(pid), SIGKILL);
    if (worked)
        *worked = std::chrono::microseconds(clock.nsecsElapsed() / 1000);
    ASSERT_TRUE(writer.waitForFinished(10000));
    const std::string said = writer.readAllStandardError().toStdString();
    ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself: " << said;
    // A crash of its own (a division by zero, a sanitizer's abort) is no kill and must not pass
    // for one; QProcess gives the signal that ended a crashed process as its exit code.
    ASSERT_EQ(writer.exitCode(), SIGKILL) << "the writer crashed in run " << run << ": " << said;
}

} // namespace

// The writer is killed at random moments while it saves; each file must then hold one
// generation's complete content, and the next start must read everything without a word.
TEST(CrashSafety, KilledWhileSavingEveryFileIsOldOrNewAndNothingIsLost) {
    TempDir dir;
    writeFirstGeneration(dir);
    if (HasFatalFailure())
        return;
    std::mt19937 random(20240611);
    // A generation takes some 50 ms here (every save waits for the disk).
    std::uniform_int_distribution<int> delayUs(0, 60000);
    crashgen::Verifier verifier;
    int mixed = 0; // kills after which the files hold different generations: mid-save

    for (int run = 0; run < Kills; ++run) {
        ASSERT_NO_FATAL_FAILURE(
            killWriterAfter({dir.path(), QString::number(run * GenerationsPerRun + 1)},
                            std::chrono::microseconds(delayUs(random)), run));

        const int newest = (run + 1) * GenerationsPerRun;
        QSet<int> generations;
        auto check = [&](const QString& relative) {
            const int g = verifier.generationOf(relative, dir.read(relative));
            EXPECT_GE(g, 0) << relative.toStdString() << " is not complete after run " << run
                            << " (" << dir.size(relative) << " bytes)";
            EXPECT_LE(g, newest) << relative.toStdString();
            generations.insert(g);
            return g;
        };
        int firmsGeneration = -1;
        for (const QString& f : crashgen::tableFiles()) {
            const int g = check(f);
            if (f == "Data/Firms")
                firmsGeneration = g;
        }
        for (int k = 0; k < crashgen::FixedOrders; ++k)
            check(crashgen::fixedOrderFile(k));
        // Besides the data files only the temporary files of interrupted saves remain
        // (the data file's name and six characters); nothing reads them.
        const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
        auto others = [&](const QString& folder, const QStringList& known) {
            QStringList rest;
            for (const QString& name : QDir(dir.file(folder)).entryList(QDir::Files)) {
                const QRegularExpressionMatch m = temporary.match(name);
                if (!known.contains(name) && !(m.hasMatch() && known.contains(m.captured(1))))
                    rest << name;
            }
            return rest;
        };
        const QStringList orders = QDir(dir.file("PP")).entryList({"*.plat"}, QDir::Files);
        for (const QString& name : orders)
            check("PP/" + name);
        QStringList orderNames = orders;
        for (int g = 0; g < crashgen::NewOrderNumbers; ++g)
            orderNames << crashgen::newOrderFile(g).mid(3);
        EXPECT_EQ(others("PP", orderNames), QStringList());
        EXPECT_EQ(others("Data", {"Employee", "Filial", "Firms", "FirmsDel"}), QStringList());
        EXPECT_EQ(others(".", {"FormW", "ArCol", "Set"}), QStringList());
        if (HasFailure())
            return;
        mixed += generations.size() > 1;

        // The next start reads every file whole and lists every order.
        auto next = std::make_unique<FolderData>();
        ASSERT_EQ(startUp(*next, dir.path()), QStringList()) << "run " << run;
        SavedOrders listed;
        ASSERT_TRUE(testing_support::listSavedOrders(next->folder, listed).ok);
        EXPECT_EQ(next->directory.organizationCount, crashgen::firmCount(firmsGeneration));
        EXPECT_EQ(listed.size(), std::size_t(orders.size()));
    }
    // Most kills came in the middle of saving a generation.
    EXPECT_GT(mixed, Kills / 4);
}

// Deleting and restoring an organization writes up to four tables whose records point at each
// other by index. The writer is killed at random moments while it deletes and restores; the
// next start must find every branch, employee and branch link with its own organization, and
// no organization lost or doubled.
TEST(CrashSafety, KilledWhileDeletingAndRestoringOrganizationsEveryLinkStaysRight) {
    TempDir dir;
    {
        auto s = std::make_unique<FolderData>();
        ASSERT_EQ(startUp(*s, dir.path()), QStringList());
        crashgen::fillDirectory(*s);
        ASSERT_TRUE(saveTables(s->folder, s->directory,
                               TableFirms | TableFirmsDel | TableFilial | TableEmployee)
                        .ok);
    }
    // A generation (the restoration of the organization deleted before, then a deletion) takes
    // from a few to a hundred milliseconds, as the disk syncs each table. The kills fall at
    // random moments of a whole generation as long as it takes on this machine, measured on a
    // first run of a few generations (killed as any other).
    constexpr int Measured = 4;
    std::chrono::microseconds generation{};
    ASSERT_NO_FATAL_FAILURE(killWriterAfter({dir.path(), QStringLiteral("100000"), "directory"}, {},
                                            -1, Measured, &generation));
    std::mt19937 random(20261208);
    std::uniform_int_distribution<long long> delayUs(0, generation.count() / Measured);
    int midChange = 0; // kills that left a change to finish or to undo
    // Most kills land inside a change (two in three here, a seventh of them after its journal);
    // it goes on killing (up to four times as often) until a few did, so the recovery is always
    // exercised.
    constexpr int MinMidChange = 4;
    for (int run = 0; run < Kills || (midChange < MinMidChange && run < 4 * Kills); ++run) {
        ASSERT_NO_FATAL_FAILURE(killWriterAfter({dir.path(), QString::number(run * 5), "directory"},
                                                std::chrono::microseconds(delayUs(random)), run));
        const auto pending = [&] {
            return QDir(dir.file("Data")).entryList({"Journal", "*.new"}, QDir::Files);
        };
        midChange += !pending().isEmpty();

        auto next = std::make_unique<FolderData>();
        ASSERT_EQ(startUp(*next, dir.path()), QStringList()) << "run " << run;
        ASSERT_EQ(crashgen::directoryFaults(*next).join(u'\n').toStdString(), "") << "run " << run;
        ASSERT_EQ(pending(), QStringList()) << "run " << run;
    }
    EXPECT_GE(midChange, MinMidChange);
}

// A change of the tables first writes each new table beside its file (name + ".new"), then a
// journal naming them, after which the new files take their places one by one. Whatever moment
// a crash stopped that at, the next start finds every table as before the change while the
// journal is missing, and every table as after it once the journal is there.
TEST(CrashSafety, StartUpFindsAnInterruptedChangeOfTheTablesWholeBeforeOrAfter) {
    const QStringList tables = {"Firms", "FirmsDel", "Filial", "Employee"};
    const unsigned all = TableFirms | TableFirmsDel | TableFilial | TableEmployee;
    QMap<QString, QByteArray> before, after;
    {
        TempDir scratch;
        auto s = std::make_unique<FolderData>();
        ASSERT_EQ(startUp(*s, scratch.path()), QStringList());
        crashgen::fillDirectory(*s);
        ASSERT_TRUE(saveTables(s->folder, s->directory, all).ok);
        for (const QString& t : tables)
            before[t] = scratch.read("Data/" + t);
        // Every table changes: a branch and an employee more, a link moved, a deleted entry.
        ASSERT_TRUE(crashgen::giveBranchAndEmployee(*s, 0));
        s->directory.deleted[0] = s->directory.organizations[5];
        s->directory.deletedCount = 1;
        ASSERT_TRUE(saveTables(s->folder, s->directory, all).ok);
        for (const QString& t : tables)
            after[t] = scratch.read("Data/" + t);
    }
    struct Case {
        bool journal;
        int done; // without the journal: new files written; with it: new files in place
    };
    const Case cases[] = {{false, 1}, {false, 2}, {false, 3}, {false, 4}, {true, 0},
                          {true, 1},  {true, 2},  {true, 3},  {true, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE((c.journal ? "journal, tables in place: " : "no journal, new files: ") +
                     std::to_string(c.done));
        TempDir dir;
        ASSERT_TRUE(QDir().mkpath(dir.file("Data")));
        for (int i = 0; i < tables.size(); ++i) {
            const QString t = "Data/" + tables[i];
            const bool placed = c.journal && i < c.done;
            dir.write(t, placed ? after[tables[i]] : before[tables[i]]);
            if (c.journal ? !placed : i < c.done)
                dir.write(t + ".new", after[tables[i]]);
        }
        if (c.journal)
            dir.write("Data/Journal", tables.join(u'\n').toLatin1());

        auto next = std::make_unique<FolderData>();
        ASSERT_EQ(startUp(*next, dir.path()), QStringList());
        for (const QString& t : tables)
            EXPECT_EQ(dir.read("Data/" + t), (c.journal ? after : before)[t]) << t.toStdString();
        EXPECT_EQ(QDir(dir.file("Data")).entryList({"Journal", "*.new"}, QDir::Files),
                  QStringList());
    }
}
