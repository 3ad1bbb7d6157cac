// The scan of 1024 saved orders with 254 organizations in the directory, against merely
// reading the same 1024 files. The scan reads every file too, so the difference is what the
// scan adds: listing the folder, taking the names apart, sorting, looking up the names.
#include "datagen.h"

#include "storage/datafiles.h"
#include "storage/platfile.h"
#include "storage/scan.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace storage;

namespace {

struct DataSet {
    QTemporaryDir dir;
    std::unique_ptr<Store> store = std::make_unique<Store>();
    QStringList paths;

    DataSet() {
        const datagen::Options options; // 254 organizations, 1024 orders
        if (const IoResult r = datagen::fillProgramFolder(dir.path(), options); !r) {
            std::fprintf(stderr, "%s\n", qPrintable(r.error));
            std::abort();
        }
        store->setProgramDir(dir.path());
        QStringList messages;
        LoadFirms(*store, messages);
        for (const QString& name : QDir(store->PlatDir).entryList(QDir::Files))
            paths << store->PlatDir + name;
    }
};

DataSet& data() {
    static DataSet d;
    return d;
}

void readAll(const DataSet& d) {
    TPlat rec;
    for (const QString& p : d.paths) {
        const IoResult r = ReadPlatFile(p, rec);
        benchmark::DoNotOptimize(r.ok);
        benchmark::DoNotOptimize(rec.Accepted);
    }
}

void scan(DataSet& d) {
    const IoResult r = FindFilesPlat(*d.store);
    benchmark::DoNotOptimize(r.ok);
    benchmark::DoNotOptimize(d.store->PlatCount);
}

void BM_ReadOrderFiles(benchmark::State& state) {
    DataSet& d = data();
    for (auto _ : state)
        readAll(d);
    state.counters["files"] = double(d.paths.size());
}
BENCHMARK(BM_ReadOrderFiles)->Unit(benchmark::kMillisecond);

void BM_FindFilesPlat(benchmark::State& state) {
    DataSet& d = data();
    for (auto _ : state)
        scan(d);
    state.counters["listed"] = d.store->PlatCount;
    state.counters["payers"] = d.store->PayerInnCount;
    state.counters["payees"] = d.store->PayeeInnCount;
}
BENCHMARK(BM_FindFilesPlat)->Unit(benchmark::kMillisecond);

// Both in turn within each iteration, so that both meet the same caches; the time shown is
// the scan's, and "ratio" is scan time over reading time.
void BM_ScanOverRead(benchmark::State& state) {
    DataSet& d = data();
    using Clock = std::chrono::steady_clock;
    double read = 0, scanned = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        readAll(d);
        const auto t1 = Clock::now();
        scan(d);
        const auto t2 = Clock::now();
        const double r = std::chrono::duration<double>(t1 - t0).count();
        const double s = std::chrono::duration<double>(t2 - t1).count();
        read += r;
        scanned += s;
        state.SetIterationTime(s);
    }
    state.counters["read_ms"] = benchmark::Counter(read * 1000, benchmark::Counter::kAvgIterations);
    state.counters["scan_ms"] =
        benchmark::Counter(scanned * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = read > 0 ? scanned / read : 0;
}
BENCHMARK(BM_ScanOverRead)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
