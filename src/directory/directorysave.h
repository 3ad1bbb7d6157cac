// Writing the directory's tables after a change that touches several of them at once
// (deleting or restoring an organization, deleting a branch that other organizations link
// to). The tables refer to each other by index, so their files must never disagree: they are
// written as one change, and when it cannot be made the change is taken back in memory.
#pragma once

#include "storage/datafiles.h"

#include <QString>
#include <memory>

namespace storage {
class Store;
}

namespace directory {

// The files of the Data folder, as a set of bits (those of storage::saveTables).
enum DirectoryFile : unsigned {
    FileFirms = storage::TableFirms,
    FileFirmsDel = storage::TableFirmsDel,
    FileFilial = storage::TableFilial,
    FileEmployee = storage::TableEmployee,
};

// A copy of the directory in memory: both organization arrays with their counts and current
// indexes, the list cache, the branch and employee tables.
class DirectorySnapshot {
public:
    explicit DirectorySnapshot(const storage::Store& s);
    ~DirectorySnapshot();
    void restore(storage::Store& s) const;

private:
    struct Tables;
    std::unique_ptr<Tables> tables_;
};

// Writes the files of the set as one change (storage::saveTables: after a crash the next start
// finds all of them as before or all as after). When the change cannot be made, memory goes
// back to before and the failure comes back; a failure after the change was made (finished by
// the next start) keeps memory as it is and comes back too.
storage::IoResult saveOrUndo(storage::Store& s, unsigned files, const DirectorySnapshot& before);

// Writes one file of the set (a single bit).
storage::IoResult saveDirectoryFile(const storage::Store& s, DirectoryFile file);

// Added to the message of a failed write whose change stays in memory.
QString keptInMemoryNote();

} // namespace directory
