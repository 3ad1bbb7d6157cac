// The engine of one run: the objects that own the program's data, created once in their order
// and handed by reference to the windows and command-line modes that need them.
#pragma once

#include "directory.h"
#include "orderarchive.h"
#include "orderdocument.h"
#include "programfolder.h"
#include "settings.h"

#include "storage/folderdata.h"

namespace core {

struct Engine {
    explicit Engine(storage::FolderData& store)
        : folder(store.folder), settings(folder, store.settings),
          directory(folder, store.directory), archive(folder, settings, directory),
          document(folder, directory, archive) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    ProgramFolder folder;
    Settings settings;
    Directory directory;
    OrderArchive archive;
    OrderDocument document;
};

} // namespace core
