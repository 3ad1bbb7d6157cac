// The state the windows still share while the engine takes it over part by part: the folder's
// data (folderdata.h), the list of saved orders, and the record of the order on screen, which
// the order document (core/orderdocument.h) and the list window both reach.
#pragma once

#include "folderdata.h"

namespace storage {

// What the windows share until the engine owns it: the folder's data, the list of saved
// orders and the order on screen.
class Store : public FolderData {
public:
    Store();

    // Sets the program folder and the three folders under it.
    void setProgramDir(const QString& dir) { folder.setProgramDir(dir); }

    // The order on screen.
    OrderRecord Plat;
    ShortStr<28> PlatFileName;
    OrderRecord PlatSnapshot;
    bool PlatSaved = false;
    std::uint8_t PlatError = 0;
    int OpenedIndex = 0;

    // Saved orders and the payer and payee tables built from them.
    OrderListTables orders;
};

} // namespace storage
