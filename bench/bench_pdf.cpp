// Laying the payment order form out and writing it to PDF: one page in this process, and
// `quenmara --pdf` with all 1024 orders of a full program folder in one file, run as a child
// process (CPU time and peak memory from the operating system; the fonts of the file listed
// by pdffonts).
#include "benchutil.h"
#include "datagen.h"

#include "render/formlayout.h"
#include "render/orderinput.h"
#include "render/print/formprint.h"
#include "storage/cp1251.h"
#include "storage/folder.h"
#include "storage/folderdata.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const benchutil::Figure LayoutFigure{"6", "one page laid out (CPU)", "ms", 20, false};
const benchutil::Figure OnePageFigure{"6", "one page laid out and written as a PDF file (CPU)",
                                      "ms", 20, false};
const benchutil::Figure PdfCpu{"6", "--pdf with the 1024 orders of the full folder (CPU)", "s", 20,
                               false};
const benchutil::Figure PdfWall{"6", "--pdf with the 1024 orders: elapsed", "s", 20, false, false};
const benchutil::Figure PdfRss{
    "6", "--pdf: peak memory, 1024 pages (1 page beside)", "MB", 0, false, false};
const benchutil::Figure PdfGrowth{"6", "--pdf: peak memory 1024 pages less 1 page", "MB", 2, false};
const benchutil::Figure PdfFontRepeats{"6", "--pdf: fonts embedded more than once (pdffonts)", "",
                                       0, false};
const benchutil::Figure PdfFontsMissing{"6", "--pdf: fonts not embedded (pdffonts)", "", 0, false};

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
        p->firm.name.assign(cp("Общество с ограниченной ответственностью \"Ромашка и компания "
                               "по оптовой и розничной торговле\""));
        p->firm.inn = "7701234567";
        p->firm.kpp = "770101001";
        p->firm.banks[0].account = "40702810900000001234";
        p->firm.banks[0].bankFull.assign(cp("Публичное акционерное общество Сбербанк г. Москва"));
    }
    return o;
}

void LayOutOnePage(benchmark::State& state) {
    const render::OrderInput order = sample();
    render::QtTextMeasurer m;
    const auto device = render::DeviceMetrics::fromDpi(1200, 1200, 0, 0, false);
    const double c0 = benchutil::threadCpuSeconds();
    for (auto _ : state)
        benchmark::DoNotOptimize(render::layOut(order, device, m));
    const double cpu = benchutil::threadCpuSeconds() - c0;
    benchutil::report(state, LayoutFigure, cpu * 1000 / double(state.iterations()));
}
BENCHMARK(LayOutOnePage)->Unit(benchmark::kMicrosecond);

// Writes a PDF of state.range(0) pages; reports the time per page.
void WritePdf(benchmark::State& state) {
    QTemporaryDir dir;
    const QList<render::OrderInput> orders(state.range(0), sample());
    const double c0 = benchutil::threadCpuSeconds();
    for (auto _ : state) {
        if (!render::writeFormsPdf(dir.filePath("out.pdf"), orders))
            state.SkipWithError("PDF not written");
    }
    const double cpu = benchutil::threadCpuSeconds() - c0;
    state.counters["pages"] = double(state.range(0));
    // Seconds per page.
    state.counters["per_page"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
    if (state.range(0) == 1)
        benchutil::report(state, OnePageFigure, cpu * 1000 / double(state.iterations()));
}
BENCHMARK(WritePdf)->Arg(1)->Arg(1024)->Unit(benchmark::kMillisecond);

// A full program folder and the names of its saved orders.
struct FullFolder {
    QTemporaryDir dir;
    QStringList orders;
    FullFolder() {
        benchutil::fillProgramFolder(dir.path());
        storage::FolderData s;
        s.folder.setProgramDir(dir.path());
        for (const QString& name : storage::listFileNames(s.folder.ordersDir, u".plat"))
            orders << name;
    }
};

FullFolder& fullFolder() {
    static FullFolder f;
    return f;
}

// quenmara --dir FOLDER --pdf OUT the first n orders.
benchutil::ChildRun pdfOf(benchmark::State& state, int n, const QString& out) {
    FullFolder& f = fullFolder();
    QStringList args{QStringLiteral("--dir"), f.dir.path(), QStringLiteral("--pdf"), out};
    args << f.orders.mid(0, n);
    const benchutil::ChildRun run =
        benchutil::runChild(benchutil::binProgram(QStringLiteral("quenmara")), args);
    if (run.exitStatus != 0)
        state.SkipWithError("quenmara --pdf failed");
    return run;
}

// The output of a poppler tool, empty when it is not installed.
QString popplerOutput(const QString& tool, const QString& pdf) {
    QProcess p;
    p.start(tool, {pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

void BM_PdfAllOrders(benchmark::State& state) {
    FullFolder& f = fullFolder();
    if (f.orders.size() != 1024) {
        state.SkipWithError("the full folder has not 1024 orders");
        return;
    }
    QTemporaryDir out;
    const QString all = out.filePath(QStringLiteral("all.pdf"));
    const QString one = out.filePath(QStringLiteral("one.pdf"));
    std::vector<double> cpu, wall, rss, rssOne, growth;
    for (auto _ : state) {
        const benchutil::ChildRun r = pdfOf(state, 1024, all);
        state.SetIterationTime(r.wallSeconds);
        state.PauseTiming();
        const benchutil::ChildRun r1 = pdfOf(state, 1, one);
        state.ResumeTiming();
        cpu.push_back(r.cpuSeconds);
        wall.push_back(r.wallSeconds);
        rss.push_back(r.maxRssMb);
        rssOne.push_back(r1.maxRssMb);
        growth.push_back(r.maxRssMb - r1.maxRssMb);
    }
    using benchutil::median;
    state.counters["cpu_s"] = median(cpu);
    state.counters["max_rss_MB"] = median(rss);
    state.counters["one_page_MB"] = median(rssOne);
    benchutil::report(state, PdfCpu, median(cpu));
    benchutil::report(state, PdfWall, median(wall));
    benchutil::report(state, PdfRss, median(rss), median(rssOne));
    benchutil::report(state, PdfGrowth, median(growth));

    // Every font once, embedded: pdffonts lists one line per font object of the file.
    const QString info = popplerOutput(QStringLiteral("pdfinfo"), all);
    const QString fonts = popplerOutput(QStringLiteral("pdffonts"), all);
    if (info.isEmpty() || fonts.isEmpty()) {
        state.SkipWithError("pdfinfo or pdffonts (poppler-utils) missing or failed");
        return;
    }
    if (!info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1024\\b"))))
        state.SkipWithError("the PDF has not 1024 pages");
    const QStringList lines = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    QSet<QString> names;
    int notEmbedded = 0;
    for (const QString& line : lines) {
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        // A subset's name begins with a tag of six capitals and "+"; the same font embedded
        // twice would differ only there.
        QString name = columns.value(0);
        if (name.size() > 7 && name[6] == u'+')
            name.remove(0, 7);
        names << name;
        // name type [encoding...] emb sub uni object ID: "emb" is the fifth column from the end.
        if (columns.size() >= 5 && columns[columns.size() - 5] != QLatin1String("yes"))
            ++notEmbedded;
    }
    state.counters["fonts"] = double(lines.size());
    benchutil::report(state, PdfFontRepeats, double(lines.size() - names.size()));
    benchutil::report(state, PdfFontsMissing, double(notEmbedded));
}
BENCHMARK(BM_PdfAllOrders)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return benchutil::runBenchmarks(argc, argv);
}
