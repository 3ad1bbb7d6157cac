#include "benchutil.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace benchutil {

namespace {

struct Sample {
    benchmark::IterationCount iterations;
    double value;
};

struct Row {
    Figure figure;
    std::vector<Sample> samples;
    std::vector<Sample> emptySamples;
};

// The figures reported so far, in the order of their first report.
std::vector<Row>& rows() {
    static std::vector<Row> r;
    return r;
}

// The median of the samples of the runs with the most iterations.
std::optional<double> finalValue(const std::vector<Sample>& samples) {
    if (samples.empty())
        return {};
    benchmark::IterationCount most = 0;
    for (const Sample& s : samples)
        most = std::max(most, s.iterations);
    std::vector<double> values;
    for (const Sample& s : samples)
        if (s.iterations == most)
            values.push_back(s.value);
    return median(values);
}

std::string number(double v) {
    char buf[32];
    if (v != 0 && (std::fabs(v) >= 1e6 || std::fabs(v) < 1e-3))
        std::snprintf(buf, sizeof buf, "%.3g", v);
    else if (std::fabs(v) >= 100)
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else if (std::fabs(v) >= 10)
        std::snprintf(buf, sizeof buf, "%.1f", v);
    else
        std::snprintf(buf, sizeof buf, "%.3g", v);
    return buf;
}

std::string withUnit(double v, const char* unit) {
    return number(v) + (*unit ? " " : "") + unit;
}

std::string summary() {
    std::string out;
    char line[512];
    std::snprintf(line, sizeof line, "%-3s %-58s %12s %12s %14s %6s  %s\n", "#", "figure",
                  "measured", "empty folder", "target", "ratio", "verdict");
    out += line;
    for (const Row& r : rows()) {
        const std::optional<double> v = finalValue(r.samples);
        if (!v)
            continue;
        const std::optional<double> e = finalValue(r.emptySamples);
        const Figure& f = r.figure;
        const double q = ratio(f, *v);
        // A figure shown for information only may have no target of its own.
        const bool hasTarget = f.verdict || f.target != 0;
        const std::string target =
            hasTarget ? (f.higherIsBetter ? ">= " : "<= ") + withUnit(f.target, f.unit) : "-";
        char share[16] = "-";
        if (hasTarget)
            std::snprintf(share, sizeof share, "%.2f", q);
        std::snprintf(line, sizeof line, "%-3s %-58s %12s %12s %14s %6s  %s\n", f.id, f.what,
                      withUnit(*v, f.unit).c_str(), e ? withUnit(*e, f.unit).c_str() : "-",
                      target.c_str(), share,
                      !f.verdict ? "(info)"
                      : q <= 1   ? "met"
                                 : "MISSED");
        out += line;
    }
    return out;
}

} // namespace

double ratio(const Figure& f, double value) {
    if (f.higherIsBetter)
        return value > 0 ? f.target / value : INFINITY;
    return f.target > 0 ? value / f.target : (value > 0 ? INFINITY : 0);
}

void report(benchmark::State& state, const Figure& f, double value,
            std::optional<double> emptyFolder) {
    std::vector<Row>& all = rows();
    auto it = std::find_if(all.begin(), all.end(), [&f](const Row& r) {
        return std::string_view(r.figure.id) == f.id && std::string_view(r.figure.what) == f.what;
    });
    if (it == all.end())
        it = all.insert(all.end(), Row{f, {}, {}});
    it->samples.push_back({state.iterations(), value});
    if (emptyFolder)
        it->emptySamples.push_back({state.iterations(), *emptyFolder});
}

namespace {

// The offscreen platform of the benchmarks notes, for every window shown, what a window
// system would do; those notes are dropped, everything else goes to standard error.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int runBenchmarks(int argc, char** argv) {
    qInstallMessageHandler(quietOffscreen);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (rows().empty())
        return 0;
    const std::string text = summary();
    std::printf("\n%s", text.c_str());
    std::fflush(stdout);
    if (const QString path = qEnvironmentVariable("QUENMARA_BENCH_SUMMARY"); !path.isEmpty()) {
        QFile f(path);
        // The header line once, at the top of the file.
        const bool fresh = !f.exists() || f.size() == 0;
        if (f.open(QIODevice::Append)) {
            const std::size_t body = text.find('\n') + 1;
            f.write(fresh ? text.c_str() : text.c_str() + body);
        }
    }
    return 0;
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

namespace {

// VmHWM of a running process, in kilobytes (0 when it cannot be read).
double highWaterKb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

} // namespace

ChildRun runChild(const QString& program, const QStringList& args, const QString& stdinPath,
                  const QString& stdoutPath) {
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString& a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray in =
        stdinPath.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(stdinPath);
    const QByteArray out =
        stdoutPath.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(stdoutPath);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    // The peak memory is the high-water mark of the child's own memory, read from /proc while
    // it runs: the kernel's ru_maxrss of a spawned child also counts the parent's memory at
    // the moment of the spawn, which says nothing about the program measured.
    int status = 0;
    rusage usage{};
    double peakKb = 0;
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return run;
        peakKb = std::max(peakKb, highWaterKb(pid));
        ::usleep(500);
    }
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.maxRssMb = peakKb / 1024.0;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void fillProgramFolder(const QString& dir, const datagen::Options& options) {
    if (const storage::IoResult r = datagen::fillProgramFolder(dir, options); !r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
        std::abort();
    }
}

QString binProgram(const QString& name) {
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return QString::fromStdString((self.parent_path() / name.toStdString()).string());
}

std::vector<std::string> typedAmounts(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> out;
    out.reserve(std::size_t(n));
    const char separators[] = {',', '-', '.'};
    for (int i = 0; i < n; ++i) {
        const int digits = 1 + int(random() % 9);
        long long low = 1;
        for (int d = 1; d < digits; ++d)
            low *= 10;
        std::uniform_int_distribution<long long> value(digits == 1 ? 0 : low, low * 10 - 1);
        std::string rubles = std::to_string(value(random));
        if (random() % 4) {
            char kop[8];
            std::snprintf(kop, sizeof kop, "%c%02u", separators[random() % 3],
                          unsigned(random() % 100));
            rubles += kop;
        }
        out.push_back(std::move(rubles));
    }
    return out;
}

} // namespace benchutil
