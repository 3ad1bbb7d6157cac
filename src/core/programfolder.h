// The program folder of this run: where its data lie (the folders Data, PP and PPDel under it)
// and whether this run may change it. Every part of the engine reads and writes its files
// through it.
#pragma once

#include "storage/folderdata.h"

namespace core {

class ProgramFolder {
public:
    explicit ProgramFolder(storage::FolderState& state) : state_(state) {}
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folders, each ending in "/".
    const QString& programDir() const { return state_.programDir; }
    const QString& dataDir() const { return state_.dataDir; }
    const QString& ordersDir() const { return state_.ordersDir; }
    const QString& deletedDir() const { return state_.deletedDir; }
    // Another program holds the folder, or no lock could be taken: this run only reads it.
    bool readOnly() const { return state_.readOnly; }

    // The folder as storage reads and writes it.
    storage::FolderState& state() { return state_; }
    const storage::FolderState& state() const { return state_; }

private:
    storage::FolderState& state_;
};

} // namespace core
