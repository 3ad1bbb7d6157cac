// Start-up of storage: the program folder and the folders under it, the settings files,
// the directory, the branch and employee tables, and the conversion of files of the
// earlier version. Runs once, before any window exists.
#pragma once

#include "store.h"

#include <QStringList>

namespace storage {

// Runs the start-up in programDir and returns the messages for the user, in order (the
// window program shows each in a message box, the command line on standard error).
QStringList StartUp(Store& s, const QString& programDir);

} // namespace storage
