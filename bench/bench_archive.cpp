// The archive of 100,000 saved orders (datagen's full directory, 8 payers over 3 years).
// Every figure is a ratio against a floor measured in the same run on the same folder:
//   - the first start, without an index, against opening and reading every order file once;
//   - a start with a valid index against listing the folder and asking every file's status.
// The floors use the cheapest system calls there are for the job (relative to the open
// folder, one open and one read per file), so the ratios say what the program adds.
#include "benchutil.h"
#include "datagen.h"

#include "storage/orderindex.h"
#include "storage/platfile.h"
#include "storage/savedorders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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

struct Archive {
    QTemporaryDir dir;
    QString orders, index;
    Archive() {
        datagen::Options o;
        o.orders = Orders;
        benchutil::fillProgramFolder(dir.path(), o);
        orders = dir.filePath(QStringLiteral("PP"));
        index = dir.filePath(QStringLiteral("Data/Index"));
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
int start(const Archive& a) {
    storage::OrderFolderScan scan;
    storage::scanOrderFolder(a.orders, a.index, {}, scan);
    if (!scan.indexCurrent)
        storage::writeOrderIndex(a.index, a.orders, scan);
    storage::SavedOrders list;
    list.build(std::move(scan), a.orders + u'/', {}, {});
    return int(list.size());
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

} // namespace

int main(int argc, char** argv) {
    return benchutil::runBenchmarks(argc, argv);
}
