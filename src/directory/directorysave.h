// Writing the directory's tables after a change that touches several of them at once
// (deleting or restoring an organization, deleting a branch that other organizations link
// to). The tables refer to each other by index, so their files must never disagree: when one
// of them cannot be written, the change is taken back in memory and the files already
// written are written again as they were.
#pragma once

#include "storage/fileio.h"

#include <QString>
#include <memory>

namespace storage {
class Store;
}

namespace directory {

// The files of the Data folder, as a set of bits.
enum DirectoryFile : unsigned {
    FileFirms = 1,
    FileFirmsDel = 2,
    FileFilial = 4,
    FileEmployee = 8,
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

// Writes the files of the set, in the order Firms, FirmsDel, Filial, Employee. When one
// cannot be written, memory goes back to before, the files already written are written again
// from it, and the failure comes back, followed by the failures of those rewrites if any.
storage::IoResult SaveOrUndo(storage::Store& s, unsigned files, const DirectorySnapshot& before);

// Writes one file of the set (a single bit).
storage::IoResult SaveDirectoryFile(const storage::Store& s, DirectoryFile file);

// Added to the message of a failed write whose change stays in memory.
QString keptInMemoryNote();

} // namespace directory
