// The file of one payment order: its name, and reading and writing the order on screen.
#pragma once

#include "fileio.h"
#include "folderdata.h"

namespace storage {

// Builds an order's file name: number, "_", payer INN, "_", two-digit year, ".plat".
// Returns false (and leaves out alone) when any part is empty or holds anything but digits,
// so that no record can name a file outside the folder of saved orders.
bool makeOrderFileName(std::string_view number, std::string_view payerInn, std::string_view yy,
                       ShortStr<28>& out);

// Characters 9 and 10 of a date typed as dd.mm.yyyy (the two-digit year), as far as the
// text reaches: fewer than two characters for a shorter text.
std::string_view dateYearDigits(std::string_view date);

// A plain file name: not empty, no folder separators, not "." or "..".
bool isPlainFileName(std::string_view name);

// Writes rec as the saved order fileName of the folder of saved orders, as one record of
// 1169 bytes.
IoResult saveOrderFile(const FolderState& folder, std::string_view fileName,
                       const OrderRecord& rec);

// Writes rec as the saved order fileName only when no file of that name exists (see
// writeFileNew); existed is set when one does, and nothing is then written.
IoResult saveNewOrderFile(const FolderState& folder, std::string_view fileName,
                          const OrderRecord& rec, bool& existed);

// True when the folder of saved orders holds an entry named fileName (a link counts, even a
// broken one).
bool orderFileExists(const FolderState& folder, std::string_view fileName);

// Reads the saved order fileName into rec. A missing file fails with "Нет файла платежки
// PATH", a file that cannot be read whole with the reason; rec is then left as it was.
IoResult openOrderFile(const FolderState& folder, std::string_view fileName, OrderRecord& rec);

// Reads one order file of the folder of saved orders into rec.
IoResult readOrderFile(const QString& path, OrderRecord& rec);

// The name of a deleted order: the saved order's file name without its last five characters
// (".plat"), followed by ".pdel".
QString deletedOrderName(std::string_view fileName);

// Moves the saved order fileName from PlatDir into PlatDelDir under its deleted name, so that
// the order is never lost: by a rename where the two folders allow it, otherwise by a copy
// that is complete on disk before the original is removed. An older deleted order of the same
// name is replaced only by a complete copy. On failure the order stays in PlatDir and the
// result says why (when only the removal of the original failed, the copy stays in PlatDelDir
// as well).
IoResult moveOrderToDeleted(const FolderState& folder, std::string_view fileName);

// The saved name of a deleted order: deletedName without ".pdel" and without the "(1)",
// "(2)" ... that a deletion adds beside an older deleted order of the same name, followed by
// ".plat".
QString restoredOrderName(std::string_view deletedName);

// Moves the deleted order deletedName from PPDel back into PP under its saved name, as it is,
// never replacing a file: when the name is taken, nothing moves and taken is set.
IoResult restoreDeletedOrder(const FolderState& folder, std::string_view deletedName, bool& taken);

} // namespace storage
