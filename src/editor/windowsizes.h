// The windows that keep their size in the window-size table, by tag (0..10). The main window
// writes their sizes into the table when it closes; the program fills this table once it has
// created them all.
#pragma once

#include "storage/store.h"

#include <array>

class QWidget;

namespace editor {

using SizedWindows = std::array<QWidget*, storage::SizedWindowCount>;

} // namespace editor
