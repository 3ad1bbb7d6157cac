// Start-up of storage: the program folder and the folders under it, the settings files,
// the directory, the branch and employee tables, and the conversion of files of the
// earlier version. Runs once, before any window exists.
#pragma once

#include "folderdata.h"

#include <QStringList>

namespace storage {

// Runs the start-up in programDir and returns the messages for the user, in order (the
// window program shows each in a message box, the command line on standard error). Each
// step is finished, or left whole for the next start to do again, so a start that stops at
// any moment (a kill, a power cut, a full disk) loses nothing:
//  1. the program folder and the paths of Data, PP and PPDel under it;
//  2. the leftovers of interrupted writes of the program are removed (a new order complete
//     as "NAME.plat.new" in PP takes its name when it is free);
//  3. the defaults and the settings files "PathPlt", "FormW", "ArCol";
//  4. Data is created when missing, and a change of the tables that a crash interrupted is
//     finished (or undone, see finishTableSave);
//  5. the directory is loaded, and the earlier version's "Firms" and "FirmsDel" of the program
//     folder are converted into it whenever they are there and the tables do not hold their
//     organizations (the old files then become Firms_Old, FirmsDel_Old);
//  6. the branches and the employees are loaded;
//  7. once the old directory is converted, the orders of the earlier version in the program
//     folder get the year in their names and are rewritten in the current layout;
//  8. order files of the current layout in the program folder move into PP and PPDel, never
//     over a file already there;
//  9. the settings file "Set".
// A data file of the wrong size is kept aside and salvaged; one that is not a regular file
// or cannot be read is named in a message and left alone (see loadFixedFile).
// With ReadOnlyFolder set, only the files are read (3., 5., 6., 9.), and nothing in the folder
// is created, converted, moved, removed or set aside.
QStringList startUp(FolderData& s, const QString& programDir);

} // namespace storage
