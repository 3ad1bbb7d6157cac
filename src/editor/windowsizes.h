// The windows that keep their size in the window-size table, by tag. The main window writes
// their sizes into the table when it closes; the program fills this table once it has created
// them all.
#pragma once

#include "storage/store.h"

#include <array>

class QWidget;

namespace editor {

class SizedWindows {
public:
    QWidget*& operator[](storage::WindowTag tag) { return windows_[std::size_t(tag)]; }
    QWidget* operator[](storage::WindowTag tag) const { return windows_[std::size_t(tag)]; }

private:
    std::array<QWidget*, storage::SizedWindowCount> windows_{};
};

} // namespace editor
