// The scan of the saved orders: the list of saved orders (PlatList) built from the order
// files of the folder PP, and the payer and payee tables built from that list.
#pragma once

#include "fileio.h"
#include "store.h"

#include <QStringList>
#include <array>

namespace storage {

// The organizations in use, found by INN, with their names shortened by shortenLegalForm. Built
// once per scan, so that two thousand look-ups neither search the directory nor shorten a name more
// than once each.
class FirmNames {
public:
    explicit FirmNames(const Store& s);
    // When an organization has the INN inn (exact comparison), sets out to the shortened
    // name of the first such organization in directory order and returns true.
    bool find(std::string_view inn, ShortStr<128>& out);

private:
    const Store& store_;
    std::array<std::uint8_t, MaxFirms> byInn_; // organization indexes ordered by INN, then index
    int count_ = 0;
    std::array<ShortStr<128>, MaxFirms> shortNames_;
    std::array<bool, MaxFirms> shortened_{};
};

// Rebuilds PlatList and PlatCount from the order files of PlatDir, sorted by order number,
// gives a file whose name no longer fits its content the name built from its content, and
// rebuilds the payer and payee tables. A file is listed when it is a regular file of 1169
// bytes whose name is three groups of digits ("15_1234567890_09.plat", the extension in any
// case), the number at most 5 digits, the year at most 4, the whole name at most 28
// characters, and (with CurrentYearOnly 1) whose year is currentYear; at most 1024 files are
// listed, the first ones in the folder's name order. A renamed file is listed under its old
// name until the next scan; PlatError is then 1 (it is also 1 when the last name of three
// parts held anything but digits); with ReadOnlyFolder no file is renamed and the file is
// listed under its present name. A file of such a name that cannot be read, or that is not
// 1169 bytes long, is listed in its place by its name with the reason in Problem (no date,
// payee, amount or state); every other entry keeps its values. A folder that exists but
// cannot be read fails at once and leaves the list as it was.
IoResult scanOrders(Store& s);
IoResult scanOrders(Store& s, int currentYear, ReadFileFn read = readFile);

// Rebuilds PayerInnTable (with the highest order number of each payer) and PayeeInnTable
// from PlatList: the distinct INNs in list order, named after their organization, or by the
// INN itself when no organization has it.
void buildPartyTables(Store& s);

// The orders of PlatList that could not be read, one message each that names the file and
// the reason.
QStringList unreadableOrders(const Store& s);

// The scan made when the main window is created: when PlatDir holds at least one order
// file, the orders are scanned, and once more when that scan left PlatError at 1 (a file was
// renamed, so that the list shows its new name; not with ReadOnlyFolder). A folder that
// cannot be read is reported; so, once, are the orders that could not be read (the list
// holds them nonetheless).
IoResult scanAtStart(Store& s);

} // namespace storage
