// The order on screen: its record, its file name, the snapshot of what its file holds, whether
// it is saved, and the payer and payee it was opened with. The editor hands the contents of its
// controls in as OrderFields and shows what the document gives back; opening, checking and
// saving (new or existing, through one save flow) and clearing happen here, and the signals
// say what changed.
#pragma once

#include "directory.h"
#include "orderarchive.h"
#include "programfolder.h"

#include "storage/budgetfields.h"
#include "storage/fileio.h"
#include "storage/records.h"

#include <QObject>
#include <QString>
#include <functional>

namespace core {

using storage::BudgetFields;

// The order as the editor's controls hold it.
struct OrderFields {
    int payer = -1; // position chosen in "Кто платит" (directory order), -1 for none
    int payee = -1; // position chosen in "Кому платит"
    QString number, date, amount;
    QString purpose; // lines separated by "\n"
    std::uint8_t vat = 0, payKind = 0, priority = 0, status = 0;
    bool accepted = false;
    BudgetFields budget;

    bool budgetPayment() const { return status != 0; }
};

// What a check of the order found.
enum CheckResult : std::uint8_t {
    CheckOk = 0,
    CheckMissing = 1,       // a party, the number, the date, the amount or the purpose is missing
    CheckBadDate = 2,       // "Неверный формат даты"
    CheckBudgetMissing = 3, // a budget payment without all seven budget texts
    CheckDateNotInCalendar = 4 // a well-formed date that is not in the calendar (31.02.2026)
};

struct OrderCheck {
    CheckResult result = CheckOk;
    QString date; // the date as checked and saved: a nine-character date gets its leading "0"
};

// How saving talks to the user: ask puts a question of two lines and returns true for "Yes";
// tell shows a message.
struct SaveQuestions {
    std::function<bool(const QString& line1, const QString& line2)> ask;
    std::function<void(const QString& text)> tell;
};

struct SaveResult {
    bool saved = false;   // the order was written and is now the saved order on screen
    storage::IoResult io; // a write or scan that failed, for the caller to report
};

// The purpose as the order record keeps it: code page 1251, with Windows line breaks.
QByteArray purposeBytes(const QString& purpose);

// Today's date as the editor writes it: day without a leading zero, two-digit month,
// four-digit year (5.03.2009).
QString todayText();

// The fields after the order on screen was deleted: today's date, the budget texts and the
// accepted box kept, nothing else.
OrderFields clearedFields(const OrderFields& current);

class OrderDocument : public QObject {
    Q_OBJECT
public:
    // A new order is numbered after the saved orders of its payer in the archive, and every
    // order written is listed there at once.
    OrderDocument(ProgramFolder& folder, const Directory& directory, OrderArchive& archive);

    const storage::OrderRecord& record() const { return record_; }
    // The file name of the saved order on screen ("7_1234567890_09.plat"); for a new order
    // the name it was last given.
    QString fileName() const { return QString::fromLatin1(fileName_.bytes()); }
    bool isSaved() const { return saved_; }
    // The payer (0) or payee (1) of the saved order on screen, as its file holds them.
    storage::OrganizationRecord openedParty(int which) const;

    // The fields to show for the record (pickers at position 0, which holds the party).
    OrderFields fields() const;
    // The budget texts of the order on screen; they stay with it while the budget dialog is
    // closed and are kept by "New" and by clearing.
    BudgetFields budget() const;
    void setBudget(const BudgetFields& budget);

    // Checks fields without changing anything. The date of a new order is read as a typed
    // date (storage::OrderDate::parseTyped), that of a saved order as it was stored (a day
    // not in the calendar passes). An amount that is not a valid amount counts as missing.
    OrderCheck check(const OrderFields& fields) const;
    // Takes the fields into the record. For a new order the parties come from the directory
    // positions chosen and the file name is formed from the number, the payer's INN and the
    // date's year; for a saved order the parties are those it was opened with and the name
    // is kept. Returns false, leaving the file name alone, when the number or the payer's INN
    // would make a file name of anything but digits.
    bool update(const OrderFields& fields);
    // Whether the record differs from what the saved order's file holds (parties excepted).
    bool isModified() const;

    // Saves the order: a saved order under its name; a new order as a new file, asking before
    // a file of its name is replaced (listed or not, also one that appears after the check),
    // telling why it cannot be saved. A new order saved becomes the saved order on screen. The
    // archive lists what was written. Emits saved when written.
    SaveResult save(const OrderFields& fields, const SaveQuestions& questions);
    // Writes the saved order's record as it is under its name: the record becomes the snapshot,
    // and its list entry takes the date, amount and accepted flag written. When the write fails
    // the snapshot stays as it was, so the order still counts as changed. Emits saved.
    storage::IoResult writeSaved();
    // The accepted box of a saved order: the file is written at once; the record, its snapshot
    // and the list entry follow only when the write succeeded. Emits saved.
    storage::IoResult setAccepted(bool accepted);

    // Reads the saved order fileName and makes it the order on screen; a file that is missing
    // or cannot be read fails with a message and changes nothing. Emits changed.
    storage::IoResult open(const QString& fileName);
    // The order on screen becomes a new order, its contents as they are. Emits changed.
    void startNew();
    // The order on screen is gone (deleted): the editor returns to a new order. Emits cleared.
    void clear();

    // The archive read the order file fileName again (a statement marked it accepted by the
    // bank): when it is the saved order on screen, its record and snapshot take the accepted
    // flag the file now holds.
    void followFile(const QString& fileName);
    // The order file fileName left the archive: when it is the saved order on screen and the
    // file is gone, the editor returns to a new order (clear()).
    void followRemoval(const QString& fileName);

    // "New": the fields of a new order started from current (today's date, the parties chosen
    // again by the INNs of the order on screen, the next number, accepted cleared).
    OrderFields newOrderFields(const OrderFields& current) const;
    // The number proposed for a new order of the organization at directory position payer:
    // its highest saved number plus one, or "1".
    QString proposeNumber(int payer) const;
    // Whether the archive lists saved orders.
    bool hasSavedOrders() const { return archive_.orderCount() > 0; }
    // The organizations the pickers of a new order offer, in directory order.
    int organizationCount() const { return directory_.organizationCount(); }
    const storage::OrganizationRecord& organization(int index) const {
        return directory_.organization(index);
    }

    static QString badNameMessage();

signals:
    // Another order is on screen (opened, or begun as a new order).
    void changed();
    // The order on screen was written to its file; created when it was a new order, which the
    // saved orders, scanned again, now list.
    void saved(const QString& fileName, bool created);
    // The order on screen was deleted and the editor holds a new order again.
    void cleared();

private:
    enum class NewCheck { Ok, Exists, BadName };
    NewCheck prepareSaveNew(const OrderFields& fields);
    storage::IoResult commitSaveNew(const OrderFields& fields, bool replace, bool* existed);
    SaveResult saveNew(const OrderFields& fields, const SaveQuestions& questions);
    bool validParty(int index) const;
    storage::IoResult write(bool replace, bool* existed);

    ProgramFolder& folder_;
    const Directory& directory_;
    OrderArchive& archive_;
    storage::OrderRecord record_{};
    storage::OrderRecord snapshot_{}; // what the saved order's file holds
    storage::ShortStr<28> fileName_{};
    bool saved_ = false;
};

} // namespace core
