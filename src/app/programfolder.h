// Which folder is the program folder: the one that holds Data, PP, PPDel and the settings.
#pragma once

#include <QString>

namespace app {

// The folder given with --dir when there is one; otherwise the executable's folder when the
// program may write there (a copy run from the user's own folder keeps its data beside it);
// otherwise, for an installed program (/usr/bin cannot be written), dataLocation, the user's
// data folder, created with its parents when missing. The caller reports a folder that does
// not exist after this.
QString chooseProgramFolder(const QString& dirOption, const QString& executableDir,
                            const QString& dataLocation);

} // namespace app
