// Deleting an organization named in all 1024 saved orders of a full program folder (254
// organizations, 256 deleted ones, 256 branches, 1024 employees): the questions asked
// first, which count the saved orders that name it, and the deletion itself with the four files
// written. Beside it the same organization deleted when no order is saved.
#include "benchutil.h"
#include "datagen.h"

#include "core/engine.h"
#include "directory/organizationlist.h"
#include "storage/datafiles.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace storage;

namespace {

const benchutil::Figure DeleteFigure{
    "7", "delete an organization named in 1024 orders: questions + deletion (CPU)", "ms", 200,
    false};
const benchutil::Figure DeleteWall{
    "7", "the same, elapsed (four files written and synced)", "ms", 200, false, false};

struct DataSet {
    QTemporaryDir dir;
    std::unique_ptr<FolderData> store = std::make_unique<FolderData>();
    std::unique_ptr<core::Engine> engine;

    // The questions asked before organization 0 is deleted.
    std::size_t questions() const {
        return directory::deletionQuestions(
                   engine->directory, 0,
                   engine->archive.ordersWithParty(store->directory.organizations[0].inn.view()))
            .size();
    }

    // Organization 0 pays every order.
    explicit DataSet(int orders) {
        datagen::Options options;
        options.payers = 1;
        options.orders = orders;
        options.deletedOrders = 0;
        benchutil::fillProgramFolder(dir.path(), options);
        store->folder.setProgramDir(dir.path());
        QStringList messages;
        loadOrganizations(store->folder, store->directory, messages);
        loadBranches(store->folder, store->directory, messages);
        loadEmployees(store->folder, store->directory, messages);
        engine = std::make_unique<core::Engine>(*store);
        if (!engine->archive.scan() || engine->archive.orderCount() != orders)
            std::abort();
    }
};

DataSet& data() {
    static DataSet d(1024);
    return d;
}

DataSet& noOrders() {
    static DataSet d(0);
    return d;
}

void BM_DeletionQuestions(benchmark::State& state) {
    DataSet& d = data();
    std::size_t questions = 0;
    for (auto _ : state) {
        questions = d.questions();
        benchmark::DoNotOptimize(questions);
    }
    state.counters["orders"] = d.engine->archive.orderCount();
    state.counters["questions"] = double(questions);
}
BENCHMARK(BM_DeletionQuestions)->Unit(benchmark::kMillisecond);

struct Timed {
    double cpuMs = 0, wallMs = 0;
};

// What "Yes" in the deletion window does, the user's answers to the further questions
// aside: the questions, then the deletion with its files; memory is put back after.
Timed deleteFirst(benchmark::State& state, DataSet& d, std::size_t expectedQuestions) {
    const auto before = std::make_unique<DirectoryTables>(d.store->directory);
    const auto w0 = std::chrono::steady_clock::now();
    const double c0 = benchutil::threadCpuSeconds();
    const std::size_t questions = d.questions();
    const core::DirectoryChange change = d.engine->directory.deleteOrganization(0);
    const bool ok = change.made && change.io.ok;
    const double c1 = benchutil::threadCpuSeconds();
    const auto w1 = std::chrono::steady_clock::now();
    d.store->directory = *before;
    if (!ok || questions != expectedQuestions)
        state.SkipWithError("the deletion did not go as expected");
    return {(c1 - c0) * 1000, std::chrono::duration<double, std::milli>(w1 - w0).count()};
}

void BM_DeleteFirmNamedInAllOrders(benchmark::State& state) {
    DataSet& d = data();
    DataSet& e = noOrders();
    std::vector<double> cpu, wall, emptyCpu, emptyWall;
    for (auto _ : state) {
        const Timed t = deleteFirst(state, d, 3);
        const Timed n = deleteFirst(state, e, 2);
        cpu.push_back(t.cpuMs);
        wall.push_back(t.wallMs);
        emptyCpu.push_back(n.cpuMs);
        emptyWall.push_back(n.wallMs);
        state.SetIterationTime(t.cpuMs / 1000);
    }
    using benchutil::median;
    state.counters["wall_ms"] = median(wall);
    state.counters["no_orders_ms"] = median(emptyCpu);
    benchutil::report(state, DeleteFigure, median(cpu), median(emptyCpu));
    benchutil::report(state, DeleteWall, median(wall), median(emptyWall));
}
BENCHMARK(BM_DeleteFirmNamedInAllOrders)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchutil::runBenchmarks(argc, argv);
}
