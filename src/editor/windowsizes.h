// The windows that keep their size in the window-size table, by tag. The program fills this
// table once it has created them all, and writes their sizes when the main window closes.
#pragma once

#include "core/settings.h"

#include <QWidget>
#include <array>

namespace editor {

class SizedWindows {
public:
    QWidget*& operator[](core::WindowTag tag) { return windows_[std::size_t(tag)]; }
    QWidget* operator[](core::WindowTag tag) const { return windows_[std::size_t(tag)]; }

private:
    std::array<QWidget*, core::WindowTagCount> windows_{};
};

// Takes the sizes of the windows into the settings and writes them when one changed.
inline storage::IoResult keepWindowSizes(core::Settings& settings, const SizedWindows& windows) {
    for (int tag = 0; tag < core::WindowTagCount; ++tag)
        if (const QWidget* w = windows[core::WindowTag(tag)])
            settings.setWindowSize(core::WindowTag(tag), w->size());
    return settings.saveWindowSizes();
}

} // namespace editor
