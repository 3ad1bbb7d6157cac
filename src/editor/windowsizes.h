// The windows that keep their size in the window-size table, by tag. The main window writes
// their sizes into the table when it closes; the program fills this table once it has created
// them all.
#pragma once

#include "core/settings.h"

#include <array>

class QWidget;

namespace editor {

class SizedWindows {
public:
    QWidget*& operator[](core::WindowTag tag) { return windows_[std::size_t(tag)]; }
    QWidget* operator[](core::WindowTag tag) const { return windows_[std::size_t(tag)]; }

private:
    std::array<QWidget*, core::WindowTagCount> windows_{};
};

} // namespace editor
