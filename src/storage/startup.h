// Start-up of storage: the program folder and the folders under it, the settings files,
// the directory, the branch and employee tables, and the conversion of files of the
// earlier version. Runs once, before any window exists.
#pragma once

#include "store.h"

#include <QStringList>

namespace storage {

// Runs the start-up in programDir and returns the messages for the user, in order (the
// window program shows each in a message box, the command line on standard error):
//  1. the program folder and the paths of Data, PP and PPDel under it;
//  2.-5. the defaults and the settings files "PathPlt", "FormW", "ArCol";
//  6. Data, when missing, is created, and the earlier version's "Firms" and "FirmsDel" of
//     the program folder are converted into it (the old files become Firms_Old, FirmsDel_Old);
//  7. the directory, the branches and the employees are loaded;
//  8.-9. order files of the current layout in the program folder move into PP and PPDel,
//     never over a file already there;
//  10.-11. orders of the earlier version in the program folder get the year in their names
//     and are rewritten in the current layout (they move into PP at the next start);
//  12. the settings file "Set".
// With ReadOnlyFolder set, only the files are read (2.-5., 7., 12.), and nothing in the folder
// is created, converted, moved or set aside.
QStringList StartUp(Store& s, const QString& programDir);

} // namespace storage
