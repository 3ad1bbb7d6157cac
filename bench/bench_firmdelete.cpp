// Deleting an organization from a full data set (254 organizations, 1024 saved orders, 128
// branches, 512 employees): the questions asked first, which read every saved order, and the
// deletion itself in memory and with the four files written.
#include "datagen.h"

#include "directory/directorysave.h"
#include "directory/firmlist.h"
#include "storage/datafiles.h"
#include "storage/scan.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace storage;

namespace {

struct DataSet {
    QTemporaryDir dir;
    std::unique_ptr<Store> store = std::make_unique<Store>();

    DataSet() {
        const datagen::Options options;
        if (const IoResult r = datagen::fillProgramFolder(dir.path(), options); !r) {
            std::fprintf(stderr, "%s\n", qPrintable(r.error));
            std::abort();
        }
        store->setProgramDir(dir.path());
        QStringList messages;
        LoadFirms(*store, messages);
        LoadFilials(*store, messages);
        LoadEmployees(*store, messages);
        if (!FindFilesPlat(*store))
            std::abort();
    }
};

DataSet& data() {
    static DataSet d;
    return d;
}

// The first organization pays in saved orders and has branches and employees.
void BM_DeletionQuestions(benchmark::State& state) {
    DataSet& d = data();
    std::size_t questions = 0;
    for (auto _ : state) {
        questions = directory::DeletionQuestions(*d.store, 0).size();
        benchmark::DoNotOptimize(questions);
    }
    state.counters["orders"] = d.store->PlatCount;
    state.counters["questions"] = double(questions);
}
BENCHMARK(BM_DeletionQuestions)->Unit(benchmark::kMillisecond);

void BM_DeleteFirmInMemory(benchmark::State& state) {
    DataSet& d = data();
    const directory::DirectorySnapshot before(*d.store);
    for (auto _ : state) {
        benchmark::DoNotOptimize(directory::DeleteFirm(*d.store, 0));
        state.PauseTiming();
        before.restore(*d.store);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteFirmInMemory)->Unit(benchmark::kMicrosecond);

void BM_DeleteFirmAndSave(benchmark::State& state) {
    DataSet& d = data();
    const directory::DirectorySnapshot before(*d.store);
    for (auto _ : state) {
        benchmark::DoNotOptimize(directory::DeleteFirmAndSave(*d.store, 0).ok);
        state.PauseTiming();
        before.restore(*d.store);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteFirmAndSave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
