#include "listwindows.h"

#include "editor/uiutil.h"
#include "storage/words.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>

namespace directory {

editor::ListGrid* addListGrid(QWidget* window, QBoxLayout* place, core::Settings& settings,
                              core::Grid kept, const QStringList& titles,
                              editor::CallbackTableModel::RowCount rows,
                              editor::CallbackTableModel::CellText cell) {
    auto* grid = new editor::ListGrid(
        settings, kept,
        new editor::CallbackTableModel(titles, std::move(rows), std::move(cell), window), window);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    place->addWidget(grid);
    QObject::connect(
        grid, &editor::ListGrid::columnWidthsFailed, window,
        [window](const QString& error) { showWriteFailure(window, error, keptInMemoryNote()); });
    return grid;
}

void fitColumnsWhenUnsized(QWidget* window, editor::ListGrid* grid, const core::Settings& settings,
                           core::WindowTag tag) {
    if (settings.windowSizeKept(tag))
        return;
    // What the window needs beside the grid's columns: its layout, the grid's frame and a
    // vertical scroll bar for when the rows fill the grid.
    if (QLayout* l = window->layout())
        l->activate();
    int needed = grid->horizontalHeader()->length() + window->width() - grid->viewport()->width() +
                 grid->verticalScrollBar()->sizeHint().width();
    if (const QScreen* screen = window->screen())
        needed = std::min(needed, screen->availableGeometry().width());
    if (needed > window->width())
        window->resize(needed, window->height());
}

QString shortFirmName(const core::Directory& directory, int firm) {
    if (firm < 0 || firm >= directory.organizationCount())
        return {};
    return editor::toUi(storage::shortenLegalForm(directory.organization(firm).name.view()));
}

void showWriteFailure(QWidget* parent, const QString& error, const QString& note) {
    QMessageBox::critical(parent, parent ? parent->windowTitle() : QString(),
                          error + QStringLiteral("\n\n") + note);
}

QString keptInMemoryNote() {
    return QStringLiteral("Изменение есть только в памяти программы: в файл оно не записано.");
}

void reportChange(QWidget* parent, const core::DirectoryChange& change, const QString& note) {
    if (!change.io)
        showWriteFailure(parent, change.io.error, note.isEmpty() ? keptInMemoryNote() : note);
}

} // namespace directory
