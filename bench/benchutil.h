// What the benchmark programs share: the figures of the performance budget with their
// targets, the summary printed at the end of each program, CPU time, and child processes of
// the real program measured with wait4 (CPU time and peak memory), and the count of a grid's
// paint events.
#pragma once

#include "datagen.h"

#include <benchmark/benchmark.h>

#include <QEvent>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace benchutil {

// A figure of the budget. Every sample of it goes into the summary; the summary shows the
// median of the samples taken by the runs with the most iterations (Google Benchmark first
// tries a few iterations to find how many to run; those trial runs are left out).
struct Figure {
    const char* id;      // the number of the figure in the budget, "1".."7"
    const char* what;    // what is measured
    const char* unit;    // "ns", "ms", "s", "MB", "M/s", ...
    double target;       // the limit
    bool higherIsBetter; // a rate: at least target; otherwise at most target
    bool verdict = true; // false: shown for information beside a figure that has a verdict
};

// The share of the budget that value uses: value / target for a limit, target / value for a
// rate, so that a ratio of at most 1 always meets the target.
double ratio(const Figure& f, double value);

// Adds a sample of figure f and, when given, of the same figure on an empty program folder.
void report(benchmark::State& state, const Figure& f, double value,
            std::optional<double> emptyFolder = {});

// Runs the benchmarks selected on the command line, then prints the summary of the figures
// reported; the summary is also appended to the file named by QUENMARA_BENCH_SUMMARY, so that
// scripts/run-bench can show all programs' figures together at the end.
int runBenchmarks(int argc, char** argv);

// CPU time (user and system) of the calling thread, in seconds.
double threadCpuSeconds();

// The median of a set of values (0 for none).
double median(std::vector<double> values);

// A child process run to its end.
struct ChildRun {
    int exitStatus = -1; // -1 when it did not exit normally
    double wallSeconds = 0;
    double cpuSeconds = 0; // user + system
    double maxRssMb = 0;   // peak resident memory
};

// Runs program with args, standard input from stdinPath (or /dev/null when empty), standard
// output to stdoutPath (or /dev/null), standard error to /dev/null, and waits for it.
ChildRun runChild(const QString& program, const QStringList& args, const QString& stdinPath = {},
                  const QString& stdoutPath = {});

// Fills the program folder dir with the data set of options; a benchmark cannot run without
// it, so a failure stops the program with the reason.
void fillProgramFolder(const QString& dir, const datagen::Options& options = {});

// A program of the build's bin folder (the folder of the running benchmark).
QString binProgram(const QString& name);

// Amounts as users type them: up to 9 ruble digits, with and without kopecks, all three
// separators; the same n amounts for the same seed.
std::vector<std::string> typedAmounts(int n, unsigned seed = 7);

// Counts the paint events of the objects it is installed on as an event filter (a grid's
// viewport).
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace benchutil
