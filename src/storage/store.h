// The folder's data with the list of saved orders of the earlier bounded scan (scan.h), which
// the archive (core/orderarchive.h) has replaced; it goes with that scan.
#pragma once

#include "folderdata.h"

namespace storage {

class Store : public FolderData {
public:
    // Sets the program folder and the three folders under it.
    void setProgramDir(const QString& dir) { folder.setProgramDir(dir); }

    // Set by the scan when it renamed an order file (or the last name of three parts held
    // anything but digits).
    std::uint8_t PlatError = 0;

    // Saved orders and the payer and payee tables built from them.
    OrderListTables orders;
};

} // namespace storage
