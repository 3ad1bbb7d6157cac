// Pieces the directory's list windows (organizations, branches, employees) share: their
// grid, the shortened organization name of their captions, and the report of a failed write.
#pragma once

#include "core/directory.h"
#include "core/settings.h"
#include "editor/listgrid.h"

#include <QString>

class QBoxLayout;
class QWidget;

namespace directory {

// Puts a list grid (whole rows selected, the column widths settings keep for kept) of the rows
// and cells the two functions give into place. A failure to write the widths is reported over
// window.
editor::ListGrid* addListGrid(QWidget* window, QBoxLayout* place, core::Settings& settings,
                              core::Grid kept, const QStringList& titles,
                              editor::CallbackTableModel::RowCount rows,
                              editor::CallbackTableModel::CellText cell);

// A window whose size was never kept (its entry holds the default 256 by 256) is made wide
// enough to show every column of its grid, within its screen.
void fitColumnsWhenUnsized(QWidget* window, editor::ListGrid* grid, const core::Settings& settings,
                           core::WindowTag tag);

// The name of organization firm with the long legal form of a limited company shortened to
// "ООО"; empty for an index outside the directory.
QString shortFirmName(const core::Directory& directory, int firm);

// Reports a failed write: the file and the system's reason, then what became of the change.
void showWriteFailure(QWidget* parent, const QString& error, const QString& note);

// Added to the message of a failed write whose change stays in memory.
QString keptInMemoryNote();

// Reports a change whose write failed over parent, with note (keptInMemoryNote() when none
// is given); nothing when it was written.
void reportChange(QWidget* parent, const core::DirectoryChange& change, const QString& note = {});

} // namespace directory
