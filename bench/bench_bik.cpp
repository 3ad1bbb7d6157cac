// The Bank of Russia's BIK directory: importing a published message of 300 banks (zipped, code
// page 1251, made at run time by ed807gen) into Data/Bik, and loading Data/Bik back as the
// windows and --check do.
#include "benchutil.h"
#include "ed807gen.h"

#include "storage/bikdirectory.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Banks = 300;

struct Message {
    QTemporaryDir dir;
    QString zip, data;
    Message() {
        zip = dir.filePath(QStringLiteral("ED807.zip"));
        data = dir.filePath(QStringLiteral("Data/"));
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        const storage::IoResult r = datagen::writeZip(
            zip, QStringLiteral("20260115_ED807_full.xml"),
            datagen::ed807Message(datagen::ed807Banks(Banks), QDate(2026, 1, 15)));
        if (!r) {
            std::fprintf(stderr, "%s\n", qPrintable(r.error));
            std::exit(1);
        }
    }
};

Message& message() {
    static Message m;
    return m;
}

const benchutil::Figure ImportFigure{
    "8", "BIK directory of 300 banks: import of the zipped message into Data/Bik (CPU)", "ms", 100,
    false};
const benchutil::Figure LoadFigure{
    "8", "BIK directory of 300 banks: loading Data/Bik (CPU)", "ms", 0, false, false};

void BM_ImportBikDirectory(benchmark::State& state) {
    Message& m = message();
    double cpu = 0;
    for (auto _ : state) {
        const double t0 = benchutil::threadCpuSeconds();
        const storage::BikImport r = storage::importBikDirectory(m.data, false, m.zip);
        cpu += benchutil::threadCpuSeconds() - t0;
        if (!r.error.isEmpty() || r.directory.banks.size() != Banks) {
            state.SkipWithError(qPrintable(r.error));
            return;
        }
    }
    benchutil::report(state, ImportFigure, cpu * 1000 / double(state.iterations()));
}
BENCHMARK(BM_ImportBikDirectory)->Unit(benchmark::kMillisecond);

void BM_LoadBikDirectory(benchmark::State& state) {
    Message& m = message();
    storage::importBikDirectory(m.data, false, m.zip);
    double cpu = 0;
    for (auto _ : state) {
        storage::BikDirectory d;
        const double t0 = benchutil::threadCpuSeconds();
        const storage::IoResult r = storage::loadBikDirectory(m.data, d);
        cpu += benchutil::threadCpuSeconds() - t0;
        benchmark::DoNotOptimize(r.ok);
    }
    benchutil::report(state, LoadFigure, cpu * 1000 / double(state.iterations()));
}
BENCHMARK(BM_LoadBikDirectory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchutil::runBenchmarks(argc, argv);
}
