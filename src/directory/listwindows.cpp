#include "listwindows.h"

#include "directorysave.h"

#include "editor/uiutil.h"
#include "storage/store.h"
#include "storage/words.h"

#include <QBoxLayout>
#include <QMessageBox>

namespace directory {

editor::ListGrid* addListGrid(QWidget* window, QBoxLayout* place, storage::Store& s, int base,
                              const QStringList& titles, editor::ListGridModel::RowCount rows,
                              editor::ListGridModel::CellText cell) {
    auto* grid = new editor::ListGrid(s, base, titles, std::move(rows), std::move(cell), window);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    place->addWidget(grid);
    QObject::connect(
        grid, &editor::ListGrid::columnWidthsFailed, window,
        [window](const QString& error) { showWriteFailure(window, error, keptInMemoryNote()); });
    return grid;
}

QString shortFirmName(const storage::Store& s, int firm) {
    if (firm < 0 || firm >= s.FirmCount)
        return {};
    return editor::toUi(storage::OOO(s.Firms[std::size_t(firm)].Name.view()));
}

void showWriteFailure(QWidget* parent, const QString& error, const QString& note) {
    QMessageBox::critical(parent, parent ? parent->windowTitle() : QString(),
                          error + QStringLiteral("\n\n") + note);
}

} // namespace directory
