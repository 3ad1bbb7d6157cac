// The two big list windows on a full program folder: the saved orders (1024 rows) and the
// organizations (254 rows). One figure each: opening the window as the main window opens it
// (shown and painted), then scrolling its grid from the first row to the last a page at a
// time, every page painted before the next. The same on an empty program folder beside it.
// The grids keep no texts: every cell painted asks the in-memory list for its text.
#include "benchutil.h"
#include "datagen.h"

#include "app/windows.h"
#include "archive/orderlistdialog.h"
#include "directory/organizationlistdialog.h"
#include "editor/mainwindow.h"
#include "storage/folderdata.h"
#include "storage/startup.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const benchutil::Figure OrdersFigure{
    "5", "saved-order list, 1024 rows: open + scroll to the last row (CPU)", "ms", 50, false};
const benchutil::Figure FirmsFigure{
    "5", "organization list, 254 rows: open + scroll to the last row (CPU)", "ms", 50, false};
const benchutil::Figure OrdersKeys{
    "5", "saved-order list: key Down from the first row to the last (CPU)", "ms", 0, false, false};
const benchutil::Figure FirmsKeys{
    "5", "organization list: key Down from the first row to the last (CPU)", "ms", 0, false, false};

// A program folder started and its windows created, the main window shown.
struct Program {
    QTemporaryDir dir;
    std::unique_ptr<storage::FolderData> store = std::make_unique<storage::FolderData>();
    std::unique_ptr<app::AllWindows> windows;

    explicit Program(bool full) {
        if (full)
            benchutil::fillProgramFolder(dir.path());
        const QStringList messages = storage::startUp(*store, dir.path());
        windows = app::createWindows(*store);
        windows->mainWindow->show();
        QCoreApplication::processEvents();
        if (!messages.isEmpty() || !windows->mainWindow->creationMessages().isEmpty()) {
            std::fprintf(stderr, "start-up messages\n");
            std::abort();
        }
    }
};

// The two programs live until main closes them, before the application object goes.
std::unique_ptr<Program> fullFolder, emptyFolder;

Program& fullProgram() {
    if (!fullFolder)
        fullFolder = std::make_unique<Program>(true);
    return *fullFolder;
}

Program& emptyProgram() {
    if (!emptyFolder)
        emptyFolder = std::make_unique<Program>(false);
    return *emptyFolder;
}

QTableView* gridOf(QDialog* dialog) {
    return dialog->findChild<QTableView*>(QStringLiteral("listGrid"));
}

// Shows the dialog as the main window opens it (centred on the main window, modal), minus
// the event loop of its own that waits for the user.
void open(QDialog* dialog, QWidget* main) {
    if (dialog->layout())
        dialog->layout()->activate();
    dialog->move(main->frameGeometry().center() - dialog->rect().center());
    dialog->open();
    QCoreApplication::processEvents();
}

struct Outcome {
    double cpuMs = 0;
    int rows = 0;
    int paints = 0;
};

// Opens the dialog, then scrolls its grid a page at a time to the end, painting each page;
// closes it again (not timed).
Outcome openAndScroll(Program& p, QDialog* dialog) {
    QTableView* grid = gridOf(dialog);
    grid->verticalScrollBar()->setValue(0);
    benchutil::PaintCounter counter;
    grid->viewport()->installEventFilter(&counter);
    const double c0 = benchutil::threadCpuSeconds();
    open(dialog, p.windows->mainWindow.get());
    QScrollBar* bar = grid->verticalScrollBar();
    while (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + bar->pageStep());
        grid->viewport()->repaint();
    }
    QCoreApplication::processEvents();
    const double c1 = benchutil::threadCpuSeconds();
    grid->viewport()->removeEventFilter(&counter);
    const int lastShown = grid->rowAt(grid->viewport()->height() - 1);
    dialog->reject();
    QCoreApplication::processEvents();
    return {(c1 - c0) * 1000, lastShown < 0 ? grid->model()->rowCount() : lastShown + 1,
            counter.paints};
}

// Opens the dialog, then walks the current cell down from the first row to the last with the
// Down key, letting the grid paint after every key as it does for a user holding the key.
Outcome openAndWalk(Program& p, QDialog* dialog) {
    QTableView* grid = gridOf(dialog);
    grid->verticalScrollBar()->setValue(0);
    open(dialog, p.windows->mainWindow.get());
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QCoreApplication::processEvents();
    benchutil::PaintCounter counter;
    grid->viewport()->installEventFilter(&counter);
    const int rows = grid->model()->rowCount();
    const double c0 = benchutil::threadCpuSeconds();
    for (int r = 1; r < rows; ++r) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(grid, &down);
        QCoreApplication::processEvents();
    }
    const double c1 = benchutil::threadCpuSeconds();
    grid->viewport()->removeEventFilter(&counter);
    const int reached = grid->currentIndex().row() + 1;
    dialog->reject();
    QCoreApplication::processEvents();
    return {(c1 - c0) * 1000, reached, counter.paints};
}

// The list window of type Window, found among the windows the main window owns.
template <class Window, class Measure>
void listFigure(benchmark::State& state, const benchutil::Figure& figure, int expectedRows,
                Measure measure) {
    Program& full = fullProgram();
    Program& empty = emptyProgram();
    QDialog* fullDialog = full.windows->mainWindow->findChild<Window*>();
    QDialog* emptyDialog = empty.windows->mainWindow->findChild<Window*>();
    // The first opening lays the dialog out once (and, in the first figure of a list, paints
    // cells of which nothing is kept yet); it is shown apart.
    const double firstMs = measure(full, fullDialog).cpuMs;
    measure(empty, emptyDialog);
    std::vector<double> fullMs, emptyMs;
    Outcome last;
    for (auto _ : state) {
        last = measure(full, fullDialog);
        fullMs.push_back(last.cpuMs);
        emptyMs.push_back(measure(empty, emptyDialog).cpuMs);
        state.SetIterationTime(last.cpuMs / 1000);
    }
    if (last.rows != expectedRows)
        state.SkipWithError("the grid did not reach its last row");
    state.counters["rows"] = last.rows;
    state.counters["paints"] = last.paints;
    state.counters["empty_ms"] = benchutil::median(emptyMs);
    state.counters["first_ms"] = firstMs;
    benchutil::report(state, figure, benchutil::median(fullMs), benchutil::median(emptyMs));
}

void BM_OrderListScroll(benchmark::State& state) {
    listFigure<archive::OrderListDialog>(state, OrdersFigure, 1024, openAndScroll);
}
BENCHMARK(BM_OrderListScroll)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirmListScroll(benchmark::State& state) {
    listFigure<directory::OrganizationListDialog>(state, FirmsFigure, 254, openAndScroll);
}
BENCHMARK(BM_FirmListScroll)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OrderListKeys(benchmark::State& state) {
    listFigure<archive::OrderListDialog>(state, OrdersKeys, 1024, openAndWalk);
}
BENCHMARK(BM_OrderListKeys)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirmListKeys(benchmark::State& state) {
    listFigure<directory::OrganizationListDialog>(state, FirmsKeys, 254, openAndWalk);
}
BENCHMARK(BM_FirmListKeys)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int status = benchutil::runBenchmarks(argc, argv);
    fullFolder.reset();
    emptyFolder.reset();
    return status;
}
