// The folder's data under the name the tests, benchmarks and fuzz targets still use; the
// program itself keeps its state in the engine (core/engine.h).
#pragma once

#include "folderdata.h"

namespace storage {

class Store : public FolderData {
public:
    // Sets the program folder and the three folders under it.
    void setProgramDir(const QString& dir) { folder.setProgramDir(dir); }
};

} // namespace storage
