// The program's shared state: the directory of organizations, the branch and employee
// tables, the order on screen, the list of saved orders with its payer and payee tables,
// the settings, the folders and the flags through which the windows talk to each other.
// The program creates one Store at start and hands it to every window; tests create a fresh
// one on a temporary program folder.
#pragma once

#include "records.h"

#include <QHash>
#include <QString>
#include <array>

namespace storage {

// One entry of the cache of the organization list's text columns.
struct FirmShowEntry {
    ShortStr<96> address;
    ShortStr<32> phone;
    ShortStr<48> email;
};

// Summary of one saved order, as the list of saved orders shows it.
struct OrderListItem {
    ShortStr<6> numberText;    // the order number as written in the file name
    ShortStr<22> dateText;     // the order's Date
    ShortStr<2> yearDigits;    // the year part of the file name
    std::uint8_t accepted;     // 1 when the order's Accepted flag is 1
    ShortStr<28> fileName;     // name with extension, without folder
    ShortStr<128> payerText;   // payer's name, or the payer INN when no organization has it
    ShortStr<128> payeeText;   // the same for the payee
    ShortStr<12> payerInn;     // from the file name
    ShortStr<12> payeeInn;     // from the record
    std::uint32_t numberValue; // integer value of NumberText
    ShortStr<12> amountText;   // the order's Amount as typed
    // Why the file could not be read (its size, the system's reason), code page 1251; empty
    // for an order that was read. Such an order is listed by its name alone.
    ShortStr<60> problem;
};

struct PayerInnEntry {
    ShortStr<12> inn;
    std::uint32_t maxNumber; // highest order number among this payer's saved orders
    ShortStr<128> name;
};

struct PayeeInnEntry {
    ShortStr<12> inn;
    ShortStr<128> name;
};

// Width and height of one window, by its tag.
struct FormSize {
    U16 width;
    U16 height;
};

// The windows whose size is kept, by their entry in FormSizes.
enum class WindowTag : std::uint8_t {
    Main = 0,
    OrganizationList = 1,
    OrganizationDetails = 2,
    OrderList = 3,
    BudgetFields = 4,
    OrganizationCard = 5,
    OrderFilter = 6,
    BankAccounts = 7,
    BranchList = 8,
    Branch = 9,
    EmployeeList = 10,
};
inline constexpr int SizedWindowCount = 11; // tags 0..10

// First slot of each list window's column widths in ColWidths.
enum ColumnBase : int {
    ColBaseFirms = 0,
    ColBasePlats = 8,
    ColBaseFilials = 16,
    ColBaseEmployees = 20,
};

class Store {
public:
    Store();

    // Folders, each ending in "/".
    QString ProgramDir, DataDir, PlatDir, PlatDelDir;
    // Sets ProgramDir and the three folders under it.
    void setProgramDir(const QString& dir);
    // Another program holds the program folder: this run reads the folder as it is and changes
    // nothing in it (no folder made, no file converted, moved, renamed or set aside).
    bool ReadOnlyFolder = false;

    // Directory of organizations.
    std::array<OrganizationRecord, MaxFirms> Firms;
    int FirmCount = 0;
    std::array<OrganizationRecord, MaxFirms> FirmsDel;
    int FirmDelCount = 0;
    int CurFirm = 0;
    int CurFirmDel = 0;
    std::array<FirmShowEntry, MaxFirms> FirmShow;

    // Branches and employees of all organizations.
    std::array<BranchRecord, MaxFilials> Filials;
    int FilialCount = 0;
    std::array<EmployeeRecord, MaxEmployees> Employees;
    int EmplCount = 0;

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
    std::array<OrderListItem, MaxPlats> PlatList;
    int PlatCount = 0;
    std::array<PayerInnEntry, MaxPlats> PayerInnTable;
    int PayerInnCount = 0;
    std::array<PayeeInnEntry, MaxPlats> PayeeInnTable;
    int PayeeInnCount = 0;

    // Files that exist but could not be read at start (no right to read them, an input or
    // output error), by path, with the message the user was given. They are never written
    // during this run: each save of such a file is refused with that message, so that what
    // the program could not read is not replaced by what it holds instead.
    QHash<QString, QString> UnreadableFiles;

    // Settings files.
    ShortStr<255> PathPlt;
    std::array<FormSize, 256> FormSizes;
    std::array<U16, 256> ColWidths;
    std::array<std::uint8_t, 512> Settings;
    std::uint8_t& CurrentYearOnly() { return Settings[0]; }
    std::uint8_t CurrentYearOnly() const { return Settings[0]; }
    // 1: the "НДС" group also offers the rates of the simplified tax system (5 % and 7 %).
    std::uint8_t& UsnVatRates() { return Settings[1]; }
    std::uint8_t UsnVatRates() const { return Settings[1]; }
};

} // namespace storage
