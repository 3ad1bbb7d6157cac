// Conversion of the data files of the earlier version: directory files of 64 records of
// 2966 bytes and order files of 389 bytes.
#pragma once

#include "folderdata.h"

namespace storage {

// The organization in the current layout: every text cut to its new capacity, the first
// four bank slots carried over, reserved bytes, branch link and flags 0.
OrganizationRecord convertOldOrganization(const OldOrganizationRecord& old);

// The order in the current layout, starting from an empty record; the parties' names and
// bank details are not in the old record (see completeOrderParties).
OrderRecord convertOldOrder(const OldOrderRecord& old);

// Fills the payer's and the payee's name, KPP and the five fields of the first bank slot
// from the first organization with an equal INN, looked for among the organizations in use
// and then among the deleted ones; the reserved bank bytes become 0. A party whose INN
// belongs to neither keeps empty fields.
void completeOrderParties(const DirectoryTables& directory, OrderRecord& plat);

} // namespace storage
