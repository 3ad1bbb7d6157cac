// Files the command-line modes write (a PDF, an exchange file): where the user may have one
// written, so that no output lands on the program's own data.
#pragma once

#include "fileio.h"
#include "folderdata.h"

namespace storage {

// Fails, with a message that names path and why, when path is no place for an output file:
// a folder, a device, a FIFO or a socket (never replaced by a file), or the program's own
// data: anything in or under the folders Data, PP and PPDel of the program folder, and in
// the program folder itself its settings files, its lock, the tables and orders of the
// earlier version and the orders waiting to move. Folders are compared by identity (device
// and inode), so every spelling of a path counts, links included; what a link leads to is
// checked as the path itself (links out of their folder stay refused by writeFileAtomic).
// A path whose folder does not exist passes: the write then fails with its own reason.
IoResult checkOutputFile(const FolderState& folder, const QString& path);

} // namespace storage
