// The state the windows still share while the engine takes it over part by part: the folder's
// data (folderdata.h), the list of saved orders, the organization list's cache and current
// rows, and the order on screen.
#pragma once

#include "folderdata.h"

#include <array>

namespace storage {

// One entry of the cache of the organization list's text columns.
struct FirmShowEntry {
    ShortStr<96> address;
    ShortStr<32> phone;
    ShortStr<48> email;
};

// What the windows share until the engine owns it: the folder's data, the list of saved
// orders, the organization list's cache and current rows, and the order on screen.
class Store : public FolderData {
public:
    Store();

    // Sets the program folder and the three folders under it.
    void setProgramDir(const QString& dir) { folder.setProgramDir(dir); }

    int CurFirm = 0;
    int CurFirmDel = 0;
    std::array<FirmShowEntry, MaxFirms> FirmShow;

    // The order on screen.
    OrderRecord Plat;
    ShortStr<28> PlatFileName;
    OrderRecord PlatSnapshot;
    bool PlatSaved = false;
    std::array<OrganizationRecord, 2> OpenedParties; // payer, payee of the order on screen
    ShortStr<2> DateYY;
    std::uint8_t PlatError = 0;
    int OpenedIndex = 0;
    bool PlatChanged = false; // result of the last change check of a saved order

    // Saved orders and the payer and payee tables built from them.
    OrderListTables orders;
};

} // namespace storage
