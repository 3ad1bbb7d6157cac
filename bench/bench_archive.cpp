// The archive of 100,000 saved orders (datagen's full directory, 8 payers over 3 years).
// The starts are ratios against a floor measured in the same run on the same folder:
//   - the first start, without an index, against opening and reading every order file once;
//   - a start with a valid index against listing the folder and asking every file's status.
// The floors use the cheapest system calls there are for the job (relative to the open
// folder, one open and one read per file), so the ratios say what the program adds.
// The list of all 100,000 orders (payer and payee names from the directory) is measured
// against absolute limits: a sort by each column, each keystroke of a search typed letter by
// letter (the search built and every order tried), the sum of every order, and the peak
// resident memory of the program listing every order.
// QUENMARA_BENCH_ARCHIVE=FOLDER measures a program folder made by make_orders instead of
// making one (its Data/Index is removed and written again).
#include "benchutil.h"
#include "datagen.h"

#include "app/windows.h"
#include "archive/orderlistdialog.h"
#include "core/orderarchive.h"
#include "editor/mainwindow.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/orderindex.h"
#include "storage/platfile.h"
#include "storage/savedorders.h"
#include "storage/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Orders = 100000;

const benchutil::Figure FirstRatio{"9", "100,000 orders, no index: scan / open+read floor", "", 1.3,
                                   false};
const benchutil::Figure IndexRatio{"9", "100,000 orders, valid index: scan / list+stat floor", "",
                                   1.5, false};
const benchutil::Figure FirstTime{
    "9", "scan without an index, index written (CPU)", "ms", 0, false, false};
const benchutil::Figure ReadFloor{
    "9", "floor: open and read every order file (CPU)", "ms", 0, false, false};
const benchutil::Figure IndexTime{"9", "scan with a valid index (CPU)", "ms", 0, false, false};
const benchutil::Figure StatFloor{
    "9", "floor: list the folder, stat every file (CPU)", "ms", 0, false, false};
const benchutil::Figure SortTime{"9", "sort 100,000 orders by a column, slowest of 12 (CPU)", "ms",
                                 200, false};
const benchutil::Figure KeystrokeTime{"9", "search keystroke over 100,000 orders, slowest (CPU)",
                                      "ms", 50, false};
const benchutil::Figure SumTime{"9", "sum of 100,000 selected orders (CPU)", "ms", 20, false};
const benchutil::Figure WindowFirst{
    "9", "list window on 100,000 orders: opened, first screen painted (CPU)", "ms", 100, false};
const benchutil::Figure WindowAgain{"9", "the same, opened again (CPU)", "ms", 0, false, false};
const benchutil::Figure ProgramStart{
    "9",  "program start with 100,000 orders, valid index, windows made (CPU)", "ms", 0, false,
    false};
const benchutil::Figure WindowMemory{"9", "resident memory, program with the list window open",
                                     "MB", 150, false};
const benchutil::Figure ListMemory{"9", "peak memory of quenmara --list with 100,000 orders", "MB",
                                   150, false};

struct Archive {
    QTemporaryDir made;
    QString dir, orders, index;
    Archive() {
        dir = qEnvironmentVariable("QUENMARA_BENCH_ARCHIVE");
        if (dir.isEmpty()) {
            datagen::Options o;
            o.orders = Orders;
            dir = made.path();
            benchutil::fillProgramFolder(dir, o);
        }
        orders = QDir(dir).filePath(QStringLiteral("PP"));
        index = QDir(dir).filePath(QStringLiteral("Data/Index"));
    }
};

Archive& archive() {
    static Archive a;
    return a;
}

// Calls f(dirFd, name) for every order file of the folder, as a plain listing finds them.
template <class F> int forEachOrderFile(const QString& folder, F f) {
    DIR* d = ::opendir(QFile::encodeName(folder).constData());
    if (!d)
        return 0;
    int n = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::size_t len = std::strlen(e->d_name);
        if (len > 5 && std::strcmp(e->d_name + len - 5, ".plat") == 0) {
            f(::dirfd(d), e->d_name);
            ++n;
        }
    }
    ::closedir(d);
    return n;
}

int listAndStat(const QString& folder) {
    return forEachOrderFile(folder, [](int dirFd, const char* name) {
        struct stat st;
        ::fstatat(dirFd, name, &st, 0);
        benchmark::DoNotOptimize(st.st_size);
    });
}

int openAndRead(const QString& folder) {
    return forEachOrderFile(folder, [](int dirFd, const char* name) {
        char data[storage::PlatFileSize + 1];
        const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::read(fd, data, sizeof data));
        ::close(fd);
    });
}

// The start of the archive: the scan, the index written when it is not current, the list
// built.
void start(const Archive& a, storage::SavedOrders& list,
           const storage::PartyNameFn& partyName = {}) {
    storage::OrderFolderScan scan;
    storage::scanOrderFolder(a.orders, a.index, {}, scan);
    if (!scan.indexCurrent)
        storage::writeOrderIndex(a.index, a.orders, scan);
    list.build(std::move(scan), a.orders + u'/', {}, partyName);
}

int start(const Archive& a) {
    storage::SavedOrders list;
    start(a, list);
    return int(list.size());
}

// The list of the archive as the window shows it: the parties named from the directory.
struct Listed {
    storage::FolderData store;
    storage::SavedOrders list;
    explicit Listed(const Archive& a) {
        store.folder.setProgramDir(a.dir);
        QStringList messages;
        storage::loadOrganizations(store.folder, store.directory, messages);
        core::ProgramFolder folder(store.folder);
        const core::Directory directory(folder, store.directory);
        start(a, list, core::partyNames(directory));
    }
};

Listed& listed() {
    static Listed l(archive());
    return l;
}

struct Pair {
    double measured = 0, floor = 0;
};

// Runs measured and floor in turn, each first in every other iteration, so that both meet
// the same caches and the same load; CPU time of this thread.
template <class M, class F>
void alternate(benchmark::State& state, M measured, F floor, std::vector<Pair>& out) {
    bool measuredFirst = true;
    for (auto _ : state) {
        Pair p;
        const auto timed = [](auto f) {
            const double t0 = benchutil::threadCpuSeconds();
            f();
            return benchutil::threadCpuSeconds() - t0;
        };
        if (measuredFirst)
            p.measured = timed(measured);
        p.floor = timed(floor);
        if (!measuredFirst)
            p.measured = timed(measured);
        measuredFirst = !measuredFirst;
        state.SetIterationTime(p.measured);
        out.push_back(p);
    }
}

void reportPairs(benchmark::State& state, const std::vector<Pair>& pairs,
                 const benchutil::Figure& ratio, const benchutil::Figure& measured,
                 const benchutil::Figure& floor) {
    std::vector<double> m, f, r;
    for (const Pair& p : pairs) {
        m.push_back(p.measured * 1000);
        f.push_back(p.floor * 1000);
        r.push_back(p.floor > 0 ? p.measured / p.floor : 0);
    }
    using benchutil::median;
    state.counters["ms"] = median(m);
    state.counters["floor_ms"] = median(f);
    state.counters["ratio"] = median(r);
    benchutil::report(state, measured, median(m));
    benchutil::report(state, floor, median(f));
    benchutil::report(state, ratio, median(r));
}

// Milliseconds of CPU time of this thread that f takes.
template <class F> double cpuMs(F f) {
    const double t0 = benchutil::threadCpuSeconds();
    f();
    return (benchutil::threadCpuSeconds() - t0) * 1000;
}

// The program started on the archive as the user starts it (the index as it is), its windows
// created and the main window shown; it lives until main ends it, before the application.
struct Program {
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    std::unique_ptr<app::AllWindows> windows;
    explicit Program(const QString& dir) {
        storage::startUp(*store, dir);
        windows = app::createWindows(*store);
        windows->mainWindow->show();
        QCoreApplication::processEvents();
    }
};
std::unique_ptr<Program> program;

// Resident memory of this process now (VmRSS), in megabytes.
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// The list window opened as the main window opens it (centred on it, modal), until its first
// screen is painted; the first opening, then the later ones. First of all benchmarks, so that
// the resident memory is the program's, not that of the lists the others build.
void BM_ListWindow(benchmark::State& state) {
    Archive& a = archive();
    start(a);
    const double startMs = cpuMs([&] { program = std::make_unique<Program>(a.dir); });
    QWidget* main = program->windows->mainWindow.get();
    auto* dialog = main->findChild<archive::OrderListDialog*>();
    QTableView* grid = dialog ? dialog->findChild<QTableView*>() : nullptr;
    if (!grid) {
        state.SkipWithError("no list window");
        return;
    }
    std::vector<double> again;
    double first = 0, memory = 0;
    int rows = 0;
    for (auto _ : state) {
        benchutil::PaintCounter counter;
        grid->viewport()->installEventFilter(&counter);
        const double ms = cpuMs([&] {
            if (dialog->layout())
                dialog->layout()->activate();
            dialog->move(main->frameGeometry().center() - dialog->rect().center());
            dialog->open();
            QCoreApplication::processEvents();
        });
        grid->viewport()->removeEventFilter(&counter);
        if (counter.paints == 0)
            state.SkipWithError("the grid was not painted");
        if (first == 0) {
            first = ms;
            memory = residentMb();
        } else {
            again.push_back(ms);
        }
        rows = grid->model()->rowCount();
        state.SetIterationTime(ms / 1000);
        dialog->reject();
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = rows;
    state.counters["first_ms"] = first;
    state.counters["MB"] = memory;
    if (rows != Orders)
        state.SkipWithError("not every order was listed");
    benchutil::report(state, WindowFirst, first);
    benchutil::report(state, WindowAgain, benchutil::median(again));
    benchutil::report(state, WindowMemory, memory);
    benchutil::report(state, ProgramStart, startMs);
}
BENCHMARK(BM_ListWindow)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirstStart(benchmark::State& state) {
    Archive& a = archive();
    std::vector<Pair> pairs;
    alternate(
        state,
        [&] {
            QFile::remove(a.index);
            if (start(a) != Orders)
                state.SkipWithError("not every order was listed");
        },
        [&] { openAndRead(a.orders); }, pairs);
    reportPairs(state, pairs, FirstRatio, FirstTime, ReadFloor);
}
BENCHMARK(BM_FirstStart)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StartWithIndex(benchmark::State& state) {
    Archive& a = archive();
    start(a); // the index of the folder as it is
    std::vector<Pair> pairs;
    alternate(
        state,
        [&] {
            if (start(a) != Orders)
                state.SkipWithError("not every order was listed");
        },
        [&] { listAndStat(a.orders); }, pairs);
    reportPairs(state, pairs, IndexRatio, IndexTime, StatFloor);
}
BENCHMARK(BM_StartWithIndex)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
    const storage::SavedOrders& list = listed().list;
    const char* names[] = {"number", "date", "payer", "payee", "amount", "state"};
    std::vector<double> slowest;
    std::vector<std::vector<double>> byColumn(6);
    for (auto _ : state) {
        double worst = 0;
        for (int c = 0; c < 6; ++c)
            for (const bool descending : {false, true}) {
                const double ms = cpuMs([&] {
                    benchmark::DoNotOptimize(
                        list.sorted(list.listOrder(), storage::OrderColumn(c), descending));
                });
                byColumn[std::size_t(c)].push_back(ms);
                worst = std::max(worst, ms);
            }
        state.SetIterationTime(worst / 1000);
        slowest.push_back(worst);
    }
    for (int c = 0; c < 6; ++c)
        state.counters[names[c]] = benchutil::median(byColumn[std::size_t(c)]);
    benchutil::report(state, SortTime, benchutil::median(slowest));
}
BENCHMARK(BM_Sort)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Texts typed into the search box one letter after another: words of the purposes (found in
// every order), a payee's name, an order number and an amount.
void BM_SearchKeystroke(benchmark::State& state) {
    const storage::SavedOrders& list = listed().list;
    const QString texts[] = {QStringLiteral("поставка оборудования"), QStringLiteral("фирма 17"),
                             QStringLiteral("счету 4711"), QStringLiteral("1234567")};
    std::vector<double> slowest, all;
    std::size_t found = 0;
    for (auto _ : state) {
        double worst = 0;
        for (const QString& text : texts)
            for (qsizetype n = 1; n <= text.size(); ++n) {
                const double ms = cpuMs([&] {
                    const storage::OrderSearch search(list, text.left(n));
                    std::vector<std::uint32_t> shown;
                    for (const std::uint32_t row : list.listOrder())
                        if (search.matches(row))
                            shown.push_back(row);
                    found += shown.size();
                });
                all.push_back(ms);
                worst = std::max(worst, ms);
            }
        state.SetIterationTime(worst / 1000);
        slowest.push_back(worst);
    }
    benchmark::DoNotOptimize(found);
    state.counters["median_ms"] = benchutil::median(all);
    benchutil::report(state, KeystrokeTime, benchutil::median(slowest));
}
BENCHMARK(BM_SearchKeystroke)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Sum(benchmark::State& state) {
    const storage::SavedOrders& list = listed().list;
    std::vector<double> times;
    for (auto _ : state) {
        const double ms = cpuMs([&] {
            const storage::OrdersSum sum = list.sum(list.listOrder());
            if (!sum.any || !sum.error.isEmpty())
                state.SkipWithError("no sum");
            benchmark::DoNotOptimize(sum.total);
        });
        state.SetIterationTime(ms / 1000);
        times.push_back(ms);
    }
    benchutil::report(state, SumTime, benchutil::median(times));
}
BENCHMARK(BM_Sum)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// The peak resident memory of the program listing every order (quenmara --list), started
// with the index of the folder as it is.
void BM_ListMemory(benchmark::State& state) {
    Archive& a = archive();
    start(a);
    std::vector<double> peaks;
    for (auto _ : state) {
        const benchutil::ChildRun run =
            benchutil::runChild(benchutil::binProgram(QStringLiteral("quenmara")),
                                {QStringLiteral("--list"), QStringLiteral("--dir"), a.dir});
        if (run.exitStatus != 0)
            state.SkipWithError("quenmara --list failed");
        state.SetIterationTime(run.wallSeconds);
        peaks.push_back(run.maxRssMb);
    }
    state.counters["MB"] = benchutil::median(peaks);
    benchutil::report(state, ListMemory, benchutil::median(peaks));
}
BENCHMARK(BM_ListMemory)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int status = benchutil::runBenchmarks(argc, argv);
    program.reset();
    return status;
}
