// `quenmara --words -` on one million and on five million typed amounts: the real program,
// its standard input from a file and its output into a file, timed and measured by the
// operating system (CPU time, elapsed time and peak memory of the child process).
#include "benchutil.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

const benchutil::Figure WordsCpu{"2", "--words - on 1 M amounts: CPU time", "s", 1, false};
const benchutil::Figure WordsWall{"2",  "--words - on 1 M amounts: elapsed time", "s", 1, false,
                                  false};
const benchutil::Figure WordsRss1{"2",  "--words - on 1 M amounts: peak memory", "MB", 0, false,
                                  false};
const benchutil::Figure WordsRss5{"2",  "--words - on 5 M amounts: peak memory", "MB", 0, false,
                                  false};
const benchutil::Figure WordsGrowth{"2", "--words -: peak memory 5 M less 1 M amounts", "MB", 1,
                                    false};

struct Inputs {
    QTemporaryDir dir;
    QString million = dir.filePath(QStringLiteral("1m.txt"));
    QString fiveMillion = dir.filePath(QStringLiteral("5m.txt"));
    QString output = dir.filePath(QStringLiteral("out.txt"));

    // Writes lines amounts, one a line, made in blocks of 65536 different amounts each.
    static void write(const QString& path, int lines) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::abort();
        }
        QByteArray block;
        for (int done = 0, seed = 1; done < lines; ++seed) {
            const int n = std::min(65536, lines - done);
            block.clear();
            for (const std::string& a : benchutil::typedAmounts(n, unsigned(seed))) {
                block.append(a.data(), qsizetype(a.size()));
                block.append('\n');
            }
            f.write(block);
            done += n;
        }
    }

    Inputs() {
        write(million, 1000000);
        write(fiveMillion, 5000000);
    }
};

Inputs& inputs() {
    static Inputs i;
    return i;
}

// One run of the program; aborts the benchmark when it fails or answers too few lines.
benchutil::ChildRun words(benchmark::State& state, const QString& input, int lines) {
    const benchutil::ChildRun run =
        benchutil::runChild(benchutil::binProgram(QStringLiteral("quenmara")),
                            {QStringLiteral("--words"), "-"}, input, inputs().output);
    if (run.exitStatus != 0)
        state.SkipWithError("quenmara --words - failed");
    QFile out(inputs().output);
    int answered = 0;
    if (out.open(QIODevice::ReadOnly))
        answered = int(out.readAll().count('\n'));
    if (answered != lines)
        state.SkipWithError("quenmara --words - answered a wrong number of lines");
    return run;
}

void BM_WordsMillion(benchmark::State& state) {
    benchutil::ChildRun run;
    for (auto _ : state) {
        run = words(state, inputs().million, 1000000);
        state.SetIterationTime(run.wallSeconds);
    }
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["max_rss_MB"] = run.maxRssMb;
    benchutil::report(state, WordsWall, run.wallSeconds);
    benchutil::report(state, WordsRss1, run.maxRssMb);
    benchutil::report(state, WordsCpu, run.cpuSeconds);
}
BENCHMARK(BM_WordsMillion)
    ->Iterations(1)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Constant memory: five times the lines, the same peak memory.
void BM_WordsFiveMillion(benchmark::State& state) {
    benchutil::ChildRun run1, run5;
    for (auto _ : state) {
        run5 = words(state, inputs().fiveMillion, 5000000);
        state.SetIterationTime(run5.wallSeconds);
        state.PauseTiming();
        run1 = words(state, inputs().million, 1000000);
        state.ResumeTiming();
    }
    state.counters["cpu_s"] = run5.cpuSeconds;
    state.counters["max_rss_MB"] = run5.maxRssMb;
    benchutil::report(state, WordsRss5, run5.maxRssMb);
    benchutil::report(state, WordsGrowth, run5.maxRssMb - run1.maxRssMb);
}
BENCHMARK(BM_WordsFiveMillion)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return benchutil::runBenchmarks(argc, argv);
}
