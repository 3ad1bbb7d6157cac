// The start's scan of 1024 saved orders with 254 organizations in the directory (the archive
// read through its index, the list built, the payers and payees named), against merely
// reading the same 1024 files.
#include "benchutil.h"
#include "datagen.h"

#include "core/engine.h"

#include "storage/datafiles.h"
#include "storage/platfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace storage;

namespace {

struct DataSet {
    QTemporaryDir dir;
    std::unique_ptr<FolderData> store = std::make_unique<FolderData>();
    std::unique_ptr<core::Engine> engine;
    QStringList paths;

    DataSet() {
        benchutil::fillProgramFolder(dir.path()); // 254 organizations, 1024 orders
        store->folder.setProgramDir(dir.path());
        QStringList messages;
        loadOrganizations(store->folder, store->directory, messages);
        for (const QString& name : QDir(store->folder.ordersDir).entryList(QDir::Files))
            paths << store->folder.ordersDir + name;
        engine = std::make_unique<core::Engine>(*store);
        // As in use, the files were written before the start: long enough ago for the index
        // to trust them.
        std::this_thread::sleep_for(std::chrono::milliseconds(2100));
        engine->archive.scan();
    }
};

DataSet& data() {
    static DataSet d;
    return d;
}

void readAll(const DataSet& d) {
    OrderRecord rec;
    for (const QString& p : d.paths) {
        const IoResult r = readOrderFile(p, rec);
        benchmark::DoNotOptimize(r.ok);
        benchmark::DoNotOptimize(rec.accepted);
    }
}

void scan(core::OrderArchive& archive) {
    const IoResult r = archive.scan();
    benchmark::DoNotOptimize(r.ok);
    benchmark::DoNotOptimize(archive.rowCount());
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
    core::OrderArchive& archive = d.engine->archive;
    for (auto _ : state)
        scan(archive);
    state.counters["listed"] = archive.orderCount();
    state.counters["payers"] = double(archive.orders().payers().size());
    state.counters["payees"] = double(archive.orders().payees().size());
}
BENCHMARK(BM_FindFilesPlat)->Unit(benchmark::kMillisecond);

const benchutil::Figure ScanRatio{"3", "scan of 1024 orders / reading the 1024 files (CPU)", "",
                                  1.5, false};
const benchutil::Figure ScanTime{"3", "scan of 1024 orders (CPU)", "ms", 0, false, false};
const benchutil::Figure ReadTime{"3", "reading the 1024 order files (CPU)", "ms", 0, false, false};

// An empty program folder: no organizations, no orders.
struct EmptySet {
    QTemporaryDir dir;
    std::unique_ptr<FolderData> store = std::make_unique<FolderData>();
    std::unique_ptr<core::Engine> engine;
    EmptySet() {
        store->folder.setProgramDir(dir.path());
        QDir(dir.path()).mkpath(QStringLiteral("PP"));
        engine = std::make_unique<core::Engine>(*store);
    }
};

// Both in turn within each iteration, each first in every other iteration, so that both
// meet the same caches; CPU time of this thread (the machine is shared). The time shown is
// the scan's.
void BM_ScanOverRead(benchmark::State& state) {
    DataSet& d = data();
    EmptySet empty;
    double read = 0, scanned = 0, scannedEmpty = 0;
    bool readFirst = true;
    for (auto _ : state) {
        double t0 = benchutil::threadCpuSeconds();
        if (readFirst)
            readAll(d);
        double t1 = benchutil::threadCpuSeconds();
        scan(d.engine->archive);
        double t2 = benchutil::threadCpuSeconds();
        if (!readFirst)
            readAll(d);
        double t3 = benchutil::threadCpuSeconds();
        scan(empty.engine->archive);
        double t4 = benchutil::threadCpuSeconds();
        read += (t1 - t0) + (t3 - t2);
        scanned += t2 - t1;
        scannedEmpty += t4 - t3;
        state.SetIterationTime(t2 - t1);
        readFirst = !readFirst;
    }
    const double n = double(state.iterations());
    state.counters["read_ms"] = read * 1000 / n;
    state.counters["scan_ms"] = scanned * 1000 / n;
    state.counters["empty_ms"] = scannedEmpty * 1000 / n;
    state.counters["ratio"] = read > 0 ? scanned / read : 0;
    benchutil::report(state, ScanTime, scanned * 1000 / n, scannedEmpty * 1000 / n);
    benchutil::report(state, ReadTime, read * 1000 / n);
    benchutil::report(state, ScanRatio, read > 0 ? scanned / read : 0);
}
BENCHMARK(BM_ScanOverRead)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchutil::runBenchmarks(argc, argv);
}
