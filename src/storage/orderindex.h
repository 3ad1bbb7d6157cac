// The saved orders of a folder as the list of saved orders needs them, found quickly in an
// archive of any size. The scan takes from each order file the few fields the list shows and
// searches, and an index file in the program folder (Data/Index) keeps them, so that a start
// reads only the order files that are new or changed since. The index is only a cache: a
// missing, damaged, truncated or foreign one is rebuilt from the files without a word, an
// order file whose name, size, times or inode differ from its entry is read again, and
// deleting the index loses nothing.
#pragma once

#include "fileio.h"
#include "records.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace storage {

// What tells one state of a file from another without reading it: its size, the times of
// its last change of content and of status (nanoseconds since 1970) and its inode. A file
// written in place with the same size, its modification time set back, still has a new
// status change time; a file replaced by a save has a new inode.
// A file read by a scan for the index is not asked its status (a start without an index
// would ask a hundred thousand files): it has only its size, its times and inode are 0, and
// unchangedBefore is the time its content was read at, less the settle time of the scan. Any
// change of the file from then on gives it a status change time (and a modification time)
// after that, so the entry holds while both its times lie before it and its size is the same.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t inode = 0;
    std::int64_t unchangedBefore = 0; // 0: the times and inode are the file's own
    bool operator==(const FileStamp&) const = default;
};

// Where the three groups of digits of an order's file name lie ("15_1234567890_09.plat":
// number, payer INN, year), as positions in the name.
struct OrderNameParts {
    std::uint8_t numberAt = 0, numberSize = 0, innAt = 0, innSize = 0, yearAt = 0, yearSize = 0;
};

// What the list orders, filters and sums by, taken from the file name and the record when the
// file is read.
struct OrderKeys {
    // The name is three groups of digits separated (and possibly led or followed) by runs of
    // "_" and an extension of five characters, the number at most 5 digits, the year at most
    // 4, the whole at most 28 characters.
    bool nameFits = false;
    OrderNameParts parts;
    std::uint32_t year = 0;       // "20" followed by the year part: 2009 for "09"
    std::uint32_t number = 0;     // the value of the number part
    std::uint64_t innAndYear = 0; // orders equal numbers: the payer INN, then the year
    std::uint32_t dateKey = 0;    // yyyymmdd of a date of the form dd.mm.yyyy, else 0
    std::int64_t kopecks = -1;    // the amount as the list sums it; -1 when it reads none
};

// One order file of the folder and what the list takes from it.
struct FolderOrder {
    ShortStr<40> name; // the file's name without folder, as the system gives it
    FileStamp stamp;
    // The fields of the record (empty when the file could not be read).
    ShortStr<5> number;
    ShortStr<10> date;
    ShortStr<12> amount;
    ShortStr<12> payerInn;
    ShortStr<12> payeeInn;
    std::uint8_t accepted = 0;
    // The purpose folded for search (cp1251::foldForSearch): OrderFolderScan::purposes from
    // purposeAt on, purposeSize bytes, followed by PurposeEnd.
    std::uint8_t purposeSize = 0;
    std::uint32_t purposeAt = 0;
    bool unread = false; // the file could not be read whole: OrderFolderScan::problems says why
    // Read, and its stamp can be trusted to the index: changed long enough ago, or stamped
    // with unchangedBefore.
    bool settled = false;
    OrderKeys keys;
};

// Takes the keys of the name of o (OrderKeys: nameFits, parts, year, number, innAndYear).
void takeNameKeys(FolderOrder& o);

// What ends each purpose among the purposes of the orders: a line break, which no word of a
// search holds, so that no word found in them runs from one purpose into the next.
inline constexpr char PurposeEnd = '\n';

struct OrderFolderScan {
    std::vector<FolderOrder> orders; // in the order in which the system lists the folder
    // The orders' folded purposes, each followed by PurposeEnd, in the order of the orders.
    std::string purposes;
    // Position in orders and the reason, for every file that could not be read whole.
    std::vector<std::pair<std::size_t, QString>> problems;
    int filesRead = 0;         // order files read by this scan; the others came from the index
    bool indexCurrent = false; // a new index would hold what the index file holds now

    std::string_view purpose(const FolderOrder& o) const {
        return std::string_view(purposes).substr(o.purposeAt, o.purposeSize);
    }
};

struct OrderScanOptions {
    // The files of the folder that hold orders: ".plat" (saved orders) or ".pdel" (deleted
    // ones), in any case.
    QStringView extension = u".plat";
    // Which names of such files are orders to list (none: every one up to 40 characters).
    std::function<bool(std::string_view name)> fits;
    // Reads a file in the system's place (tests); the stamp then comes from a status call.
    ReadFileFn read = nullptr;
    // A file whose content or status changed less than this before the scan began is not
    // trusted to the index: a change within the same tick of the file system's clock leaves
    // both times as they were.
    std::int64_t settleNs = 2'000'000'000;
};

// The order files of folder, each taken from the index file indexPath when its entry there
// has the file's name and stamp, and read otherwise (with an index path, without asking its
// status: see FileStamp). A file that is not 1169 bytes long or
// cannot be read is listed as unread, with the reason. A folder that exists but cannot be
// listed fails and leaves out empty; a missing folder gives no orders. Nothing is written.
IoResult scanOrderFolder(const QString& folder, const QString& indexPath,
                         const OrderScanOptions& options, OrderFolderScan& out);

// Reads the one order file name of folder as the scan reads it, its folded purpose appended to
// purposes; problem says why a file that exists could not be read whole. False when the file
// is gone.
bool readFolderOrder(const QString& folder, std::string_view name, FolderOrder& out,
                     std::string& purposes, QString& problem);

// Writes the index of folder from scan to indexPath through the atomic writer: every order
// that was read and is settled. Only a run that may change the program folder calls it.
IoResult writeOrderIndex(const QString& indexPath, const QString& folder,
                         const OrderFolderScan& scan);

} // namespace storage
