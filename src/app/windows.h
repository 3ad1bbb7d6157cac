// The windows of the program, created once at start in their fixed order: the main window
// first, then every dialog it and the others open. The main window owns the others.
#pragma once

#include "core/engine.h"

#include <memory>

namespace storage {
struct FolderData;
}

namespace editor {
class MainWindow;
}

namespace app {

struct AllWindows {
    explicit AllWindows(storage::FolderData& store) : engine(store) {}
    core::Engine engine; // made before the windows, gone after them
    std::unique_ptr<editor::MainWindow> mainWindow;
};

// Creates the engine and every window in its order on a store whose start-up has run, and
// connects the signals by which a window asks for another and learns what the engine changed.
// No window knows another. The saved orders are read first; what the user is told then is in
// mainWindow->creationMessages().
std::unique_ptr<AllWindows> createWindows(storage::FolderData& store);

} // namespace app
