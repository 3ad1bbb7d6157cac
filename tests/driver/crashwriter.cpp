// A writer for the crash test: starts storage on a program folder, says "ready" on its
// standard output, then saves the directory, the branch and employee tables, the settings
// files and orders (fixed ones and a new one each time, followed by a scan as the editor
// makes after saving a new order) generation after generation, until it is killed. With
// "directory" it deletes and restores organizations instead (runDirectory).
//   crash_writer PROGRAM_FOLDER FIRST_GENERATION [directory]
#include "generations.h"

#include "core/engine.h"

#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"
#include "storage/savedorders.h"
#include "storage/settings.h"
#include "storage/startup.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace storage;

namespace {

bool saveOrder(FolderData& s, const QString& relative, int g) {
    const QString name = relative.mid(relative.indexOf('/') + 1);
    return saveOrderFile(s.folder, name.toLatin1().toStdString(),
                         crashgen::order(g, name.section('_', 0, 0).toInt()))
        .ok;
}

// The directory mode: deletes and restores organizations as the organization list does,
// generation after generation. Each generation first restores every deleted organization
// (the newest first) at the end of the list, each with a new branch and employee linked as
// before, then deletes organization g % count with its branch and its employee (the branches
// and employees of the later organizations move down one index). A kill after a deletion is
// saved leaves that organization deleted; the next run brings it back, so at most one stays
// deleted and the directory never runs out of organizations. Finding none in use is a fault
// of the folder: it is reported with its own exit code. Each finished generation is reported
// on standard output, so that the test can measure how long one takes.
int runDirectory(FolderData& s, int first) {
    core::Engine engine(s);
    core::Directory& directory = engine.directory;
    for (int g = first;; ++g) {
        bool ok = true;
        while (ok && s.directory.deletedCount > 0)
            ok = directory.restoreOrganization(s.directory.deletedCount - 1).io.ok &&
                 crashgen::giveBranchAndEmployee(s, s.directory.organizationCount - 1) &&
                 saveTables(s.folder, s.directory, TableFirms | TableFilial | TableEmployee).ok;
        if (ok && s.directory.organizationCount == 0) {
            std::fprintf(stderr, "crash_writer: no organization in use in generation %d\n", g);
            return 3;
        }
        if (!ok || !directory.deleteOrganization(g % s.directory.organizationCount).io.ok) {
            std::fprintf(stderr, "crash_writer: a save failed in generation %d\n", g);
            return 1;
        }
        std::printf("generation %d\n", g);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "directory") == 0)) {
        std::fprintf(stderr, "usage: crash_writer PROGRAM_FOLDER FIRST_GENERATION [directory]\n");
        return 2;
    }
    auto s = std::make_unique<FolderData>();
    const QStringList messages = startUp(*s, QString::fromLocal8Bit(argv[1]));
    for (const QString& m : messages)
        std::fprintf(stderr, "%s\n", qPrintable(m));
    std::printf("ready\n");
    std::fflush(stdout);
    if (argc == 4)
        return runDirectory(*s, std::atoi(argv[2]));
    for (int g = std::atoi(argv[2]);; ++g) {
        crashgen::fill(*s, g);
        const IoResult results[] = {saveOrganizationsFile(s->folder, s->directory),
                                    saveDeletedOrganizationsFile(s->folder, s->directory),
                                    saveBranchesFile(s->folder, s->directory),
                                    saveEmployeesFile(s->folder, s->directory),
                                    saveWindowSizesFile(s->folder, s->settings),
                                    saveColumnWidthsFile(s->folder, s->settings),
                                    saveSettingsFile(s->folder, s->settings)};
        bool ok = true;
        for (const IoResult& r : results)
            ok = ok && r.ok;
        for (int k = 0; k < crashgen::FixedOrders; ++k)
            ok = saveOrder(*s, crashgen::fixedOrderFile(k), g) && ok;
        ok = saveOrder(*s, crashgen::newOrderFile(g), g) && ok;
        // The orders listed as a start lists them (an order whose record no longer fits its
        // name is renamed).
        OrderFolderScan scan;
        ok = scanOrderFolder(s->folder.ordersDir, {}, {}, scan).ok && ok;
        SavedOrders listed;
        listed.build(std::move(scan), s->folder.ordersDir, {}, {});
        if (!ok) {
            std::fprintf(stderr, "crash_writer: a save failed in generation %d\n", g);
            return 1;
        }
    }
}
