// Laying the payment order form out and writing it to PDF.
#include "render/formlayout.h"
#include "render/orderinput.h"
#include "render/print/formprint.h"
#include "storage/cp1251.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

render::OrderInput sample() {
    auto cp = [](const char* s) { return storage::cp1251::fromUnicode(QString::fromUtf8(s)); };
    render::OrderInput o;
    o.number = "15";
    o.date = "03.02.2009";
    o.kindText = cp("Электронно");
    o.amountText = "1234567.05";
    o.purposeLines = {cp("Оплата по счету № 15 от 01.02.2009 за поставку канцелярских товаров "
                         "согласно договору поставки № 7 от 10.01.2009, в том числе НДС")};
    o.vatRate = 1;
    for (render::Party* p : {&o.payer, &o.payee}) {
        p->present = true;
        p->firm.Name.assign(cp("Общество с ограниченной ответственностью \"Ромашка и компания "
                               "по оптовой и розничной торговле\""));
        p->firm.Inn = "7701234567";
        p->firm.Kpp = "770101001";
        p->firm.Banks[0].Account = "40702810900000001234";
        p->firm.Banks[0].BankFull.assign(cp("Публичное акционерное общество Сбербанк г. Москва"));
    }
    return o;
}

void LayOutOnePage(benchmark::State& state) {
    const render::OrderInput order = sample();
    render::QtTextMeasurer m;
    const auto device = render::DeviceMetrics::fromDpi(1200, 1200, 0, 0, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(render::LayOut(order, device, m));
}
BENCHMARK(LayOutOnePage)->Unit(benchmark::kMicrosecond);

// Writes a PDF of state.range(0) pages; reports the time per page.
void WritePdf(benchmark::State& state) {
    QTemporaryDir dir;
    const QList<render::OrderInput> orders(state.range(0), sample());
    for (auto _ : state) {
        if (!render::WriteFormsPdf(dir.filePath("out.pdf"), orders))
            state.SkipWithError("PDF not written");
    }
    state.counters["pages"] = double(state.range(0));
    // Seconds per page.
    state.counters["per_page"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(WritePdf)->Arg(1)->Arg(1024)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
