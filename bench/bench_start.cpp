// The start of the program on a full program folder against the same start on an empty
// one: the start-up of storage, then every window created in its order (the main window's
// creation scans the saved orders and fills its pickers), up to the main window shown and
// painted, ready for input.
//
// In this process the two starts alternate, each after a first start that is not counted
// (so both find Qt's fonts, styles and plugins loaded): the ratio of the two is what the
// data cost. Peak memory and the cold start are measured in child processes, each doing
// one start and exiting: this program runs itself with --start-child DIR.
#include "benchutil.h"
#include "datagen.h"

#include "app/windows.h"
#include "editor/mainwindow.h"
#include "storage/folderdata.h"
#include "storage/orderindex.h"
#include "storage/startup.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

const benchutil::Figure StartRatio{"4", "start on the full folder / on an empty one (CPU)", "", 1.3,
                                   false};
const benchutil::Figure StartCpu{
    "4", "start: storage + all windows + main window shown (CPU)", "ms", 0, false, false};
const benchutil::Figure StartWall{"4", "start: the same, elapsed", "ms", 0, false, false};
const benchutil::Figure ColdCpu{
    "4", "start as a new process, to the main window shown (CPU)", "ms", 0, false, false};
const benchutil::Figure ColdRatio{
    "4", "start as a new process: full / empty folder (CPU)", "", 1.3, false, false};
const benchutil::Figure PeakMemory{"4",  "start as a new process: peak memory", "MB", 0, false,
                                   false};
const benchutil::Figure PeakGrowth{"4", "start: peak memory full less empty folder", "MB", 10,
                                   false};

// Counts the paint events of one window and its children.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) : window_(window) {}
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_)
            ++paints;
        return false;
    }

private:
    QWidget* window_;
};

// The running program of one start.
struct Started {
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    std::unique_ptr<app::AllWindows> windows;
    QStringList messages;
};

// Starts on the program folder dir; false when a message came up or nothing was painted.
bool start(const QString& dir, Started& s) {
    s.messages = storage::startUp(*s.store, dir);
    s.windows = app::createWindows(*s.store);
    editor::MainWindow& main = *s.windows->mainWindow;
    s.messages << main.creationMessages();
    PaintCounter painted(&main);
    qApp->installEventFilter(&painted);
    main.show();
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&painted);
    return s.messages.isEmpty() && painted.paints > 0;
}

struct Folders {
    QTemporaryDir full, empty;
    Folders() {
        benchutil::fillProgramFolder(full.path());
        // A start trusts its order index only for files that have not changed for the settle
        // time: on files written a moment ago every start would read all 1024 of them, where
        // the user's start finds the index of the last run. The first start then writes it.
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(storage::OrderScanOptions{}.settleNs + 100'000'000));
    }
};

Folders& folders() {
    static Folders f;
    return f;
}

struct Timed {
    double cpu = 0, wall = 0;
};

Timed timedStart(benchmark::State& state, const QString& dir, int expectedOrders) {
    using Clock = std::chrono::steady_clock;
    Started s;
    const auto w0 = Clock::now();
    const double c0 = benchutil::threadCpuSeconds();
    const bool ok = start(dir, s);
    const double c1 = benchutil::threadCpuSeconds();
    const auto w1 = Clock::now();
    if (!ok || s.windows->engine.archive.orderCount() != expectedOrders)
        state.SkipWithError(("start failed: " + s.messages.join(' ').toStdString()).c_str());
    return {c1 - c0, std::chrono::duration<double>(w1 - w0).count()};
}

// Each iteration starts once on each folder, in turn first; the figures are the medians.
void BM_StartFullOverEmpty(benchmark::State& state) {
    Folders& f = folders();
    timedStart(state, f.empty.path(), 0); // the first start: Qt loads what it needs
    timedStart(state, f.full.path(), 1024);
    std::vector<double> full, empty, fullWall, emptyWall, ratios;
    bool fullFirst = false;
    for (auto _ : state) {
        Timed e, g;
        if (fullFirst)
            g = timedStart(state, f.full.path(), 1024);
        e = timedStart(state, f.empty.path(), 0);
        if (!fullFirst)
            g = timedStart(state, f.full.path(), 1024);
        fullFirst = !fullFirst;
        full.push_back(g.cpu * 1000);
        empty.push_back(e.cpu * 1000);
        fullWall.push_back(g.wall * 1000);
        emptyWall.push_back(e.wall * 1000);
        ratios.push_back(e.cpu > 0 ? g.cpu / e.cpu : 0);
        state.SetIterationTime(g.wall);
    }
    using benchutil::median;
    state.counters["full_ms"] = median(full);
    state.counters["empty_ms"] = median(empty);
    state.counters["ratio"] = median(ratios);
    benchutil::report(state, StartCpu, median(full), median(empty));
    benchutil::report(state, StartWall, median(fullWall), median(emptyWall));
    benchutil::report(state, StartRatio, median(ratios));
}
BENCHMARK(BM_StartFullOverEmpty)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

// New processes, one start each, in turn on the empty and on the full folder.
void BM_StartProcess(benchmark::State& state) {
    Folders& f = folders();
    const QString self = benchutil::binProgram(QStringLiteral("bench_start"));
    std::vector<double> fullCpu, emptyCpu, fullRss, emptyRss, ratios;
    for (auto _ : state) {
        const benchutil::ChildRun e =
            benchutil::runChild(self, {QStringLiteral("--start-child"), f.empty.path()});
        const benchutil::ChildRun g =
            benchutil::runChild(self, {QStringLiteral("--start-child"), f.full.path()});
        if (e.exitStatus != 0 || g.exitStatus != 0)
            state.SkipWithError("the start in a child process failed");
        fullCpu.push_back(g.cpuSeconds * 1000);
        emptyCpu.push_back(e.cpuSeconds * 1000);
        fullRss.push_back(g.maxRssMb);
        emptyRss.push_back(e.maxRssMb);
        ratios.push_back(e.cpuSeconds > 0 ? g.cpuSeconds / e.cpuSeconds : 0);
        state.SetIterationTime(g.wallSeconds);
    }
    using benchutil::median;
    state.counters["full_MB"] = median(fullRss);
    state.counters["empty_MB"] = median(emptyRss);
    benchutil::report(state, ColdCpu, median(fullCpu), median(emptyCpu));
    benchutil::report(state, ColdRatio, median(ratios));
    benchutil::report(state, PeakMemory, median(fullRss), median(emptyRss));
    benchutil::report(state, PeakGrowth, median(fullRss) - median(emptyRss));
}
BENCHMARK(BM_StartProcess)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

// The child: one start on the folder, then exit (status 3 when it did not come up).
int startChild(int argc, char** argv, const char* dir) {
    QApplication application(argc, argv);
    Started s;
    return start(QString::fromLocal8Bit(dir), s) ? 0 : 3;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--start-child") == 0)
        return startChild(argc, argv, argv[2]);
    QApplication application(argc, argv);
    return benchutil::runBenchmarks(argc, argv);
}
