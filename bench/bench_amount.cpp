// Speed of the amount line (parse, words, ruble and kopeck words, capital letter, figure),
// of the tax line, and of fitting a purpose of 255 characters with the real font.
#include "benchutil.h"

#include "render/amount.h"
#include "render/fitting.h"
#include "render/measure.h"

#include "storage/cp1251.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<long long> allocations{0};
}

// Counts every allocation of the program, so a benchmark can report allocations per call.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

const benchutil::Figure AmountRate{"1", "amount line: assemblies per second (CPU)", "M/s", 20,
                                   true};
const benchutil::Figure AmountAllocs{"1", "amount line: allocations per call", "", 0, false};

void AmountLine(benchmark::State& state) {
    const std::vector<std::string> amounts = benchutil::typedAmounts(4096);
    std::size_t i = 0;
    render::assembleAmountLine("1"); // the word tables are built once, at first use
    const double cpu0 = benchutil::threadCpuSeconds();
    for (auto _ : state) {
        render::AmountLine line = render::assembleAmountLine(amounts[i++ & 4095]);
        benchmark::DoNotOptimize(line);
    }
    const double cpu = benchutil::threadCpuSeconds() - cpu0;
    const double calls = double(state.iterations());
    // Allocations are counted over calls of their own, so that the benchmark library's own
    // bookkeeping in the timed loop is not counted as the amount line's.
    constexpr int Counted = 100000;
    const long long before = allocations.load();
    for (int k = 0; k < Counted; ++k) {
        render::AmountLine line = render::assembleAmountLine(amounts[std::size_t(k) & 4095]);
        benchmark::DoNotOptimize(line);
    }
    const double perCall = double(allocations.load() - before) / Counted;
    state.counters["allocs/call"] = perCall;
    state.SetItemsProcessed(state.iterations());
    benchutil::report(state, AmountAllocs, perCall);
    benchutil::report(state, AmountRate, cpu > 0 ? calls / cpu / 1e6 : 0);
}
BENCHMARK(AmountLine);

void AmountLineLargest(benchmark::State& state) {
    for (auto _ : state) {
        render::AmountLine line = render::assembleAmountLine("999999999.99");
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(AmountLineLargest);

void taxLine(benchmark::State& state) {
    const render::AmountLine amount = render::assembleAmountLine("1234567.89");
    for (auto _ : state) {
        storage::WorkText line = render::vatLine(amount.amount, render::Vat18, false);
        benchmark::DoNotOptimize(line);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(taxLine);

// A purpose of 255 characters in the purpose box (180 mm less two spaces) of a
// 1200 dots-per-inch page, 4.0 mm Arial.
struct PurposeFit {
    QTemporaryDir dir;
    QPdfWriter pdf{dir.filePath(QStringLiteral("bench.pdf"))};
    std::string purpose;
    render::FitRequest request;

    PurposeFit() {
        pdf.setResolution(1200);
        purpose =
            storage::cp1251::fromUnicode(
                QStringLiteral("Оплата по счету № 1234 от 15.03.2024 за поставку канцелярских "
                               "товаров и расходных материалов для оргтехники согласно договору "
                               "поставки № 77/П-2024 от 10.01.2024, бумаги офисной формата А4, "
                               "папок, скрепок и прочих товаров по спецификации № 3. НДС не "
                               "облагается. Сумма 118000-00 руб."))
                .toStdString()
                .substr(0, 255);
        request.pixelsPerMmY = 1200 / 25.4L;
    }
    void setWidth(render::QtTextMeasurer& m) {
        m.setFont("Arial", render::fontCellHeight(request.pixelsPerMmY, 4),
                  render::FontStyle::Regular);
        request.width = render::roundHalfEven(180 * 1200 / 25.4L) - m.textWidth("  ");
    }
};

void FitPurpose(benchmark::State& state) {
    PurposeFit fit;
    render::QtTextMeasurer measurer(&fit.pdf);
    fit.setWidth(measurer);
    benchmark::DoNotOptimize(render::splitIntoLines(fit.purpose, fit.request, measurer));
    int lines = 0;
    for (auto _ : state) {
        render::FitResult r = render::splitIntoLines(fit.purpose, fit.request, measurer);
        lines = r.lineCount;
        benchmark::DoNotOptimize(r);
    }
    state.counters["chars"] = double(fit.purpose.size());
    state.counters["lines"] = lines;
}
BENCHMARK(FitPurpose)->Unit(benchmark::kMicrosecond);

// The same with a fresh measurer each time: every character's advance is looked up in Qt
// once (the font engine itself stays in Qt's cache).
void FitPurposeNewMeasurer(benchmark::State& state) {
    PurposeFit fit;
    {
        render::QtTextMeasurer measurer(&fit.pdf);
        fit.setWidth(measurer);
    }
    for (auto _ : state) {
        render::QtTextMeasurer measurer(&fit.pdf);
        render::FitResult r = render::splitIntoLines(fit.purpose, fit.request, measurer);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(FitPurposeNewMeasurer)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return benchutil::runBenchmarks(argc, argv);
}
