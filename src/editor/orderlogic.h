// What the main window does with one payment order, apart from drawing it: copying the
// fields into the order record and back, checking an order, detecting changes to a saved
// order, proposing the next number, saving, starting a new order and clearing the editor.
// The window gathers its controls into OrderFields, calls these functions and shows their
// results; tests call them directly.
#pragma once

#include "render/formlayout.h"
#include "storage/fileio.h"
#include "storage/store.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace storage {
class BikDirectory;
}

namespace editor {

// The two fixed choice tables of the editor, in index order. The texts of the VAT and
// priority choices depend on the order's date (storage/choices.h).
const QStringList& payKindTexts(); // "Электронно", "Почтой", "Телеграфом", "Срочно"
const QStringList& statusTexts(); // "Нет", "01", "02"

// The seven texts of the budget-payment dialog.
struct BudgetTexts {
    QString kbk, okato, basis, taxPeriod, taxType, docNumber, docDate;
};

// The contents of the editor's controls.
struct OrderFields {
    int payer = -1; // position chosen in "Кто платит", -1 for none
    int payee = -1; // position chosen in "Кому платит"
    QString number, date, amount;
    QString purpose; // lines separated by "\n"
    std::uint8_t vat = 0, payKind = 0, priority = 0, status = 0;
    bool accepted = false;
    BudgetTexts budget;

    bool budgetPayment() const { return status != 0; }
};

// The purpose as the order record keeps it: code page 1251, with Windows line breaks.
QByteArray purposeBytes(const QString& purpose);

// Results of checkOrder, also left in PlatError.
enum CheckResult : std::uint8_t {
    CheckOk = 0,
    CheckMissing = 1,       // a party, the number, the date, the amount or the purpose is missing
    CheckBadDate = 2,       // "Неверный формат даты"
    CheckBudgetMissing = 3, // a budget payment without all seven budget texts
    CheckDateNotInCalendar = 4 // a well-formed date that is not in the calendar (31.02.2026)
};

// Checks the order. A nine-character date gets its leading "0" in fields.date; the date of a
// new order is read as a typed date (storage::OrderDate::parseTyped), that of a saved order as
// it was stored (a day not in the calendar passes); DateYY is set from a valid date. An amount
// that is not a valid amount counts as missing.
CheckResult checkOrder(storage::Store& s, OrderFields& fields);

// today's date as the editor writes it: day without a leading zero, two-digit month,
// four-digit year (5.03.2009).
QString todayText();

// Copies the fields into the order record. For a new order the parties come from the
// directory positions chosen and PlatFileName is formed from the number, the payer's INN and
// DateYY; for a saved order from OpenedParties, and the name is kept. Returns false, leaving
// PlatFileName alone, when the number or the payer's INN would make a file name of anything
// but digits.
bool fillOrder(storage::Store& s, const OrderFields& fields);

// Shows the order record: the fields to put into the controls. Also fills OpenedParties and
// DateYY. The pickers then hold only the two party names (payer and payee position 0).
OrderFields fieldsFromOrder(storage::Store& s);

// Compares the order record with PlatSnapshot (parties excepted); sets and returns
// PlatChanged.
bool checkChange(storage::Store& s);

// The number proposed for a new order of the organization at directory position payer:
// its highest saved number plus one, or "1".
QString proposeNumber(const storage::Store& s, int payer);

// Saving a new order, in two steps so that the window can ask its question in between.
enum class SaveCheck {
    Ok,           // nothing stands in the way
    LimitReached, // 1024 orders are saved: "Может быть сохранено только1024 платежки."
    Exists,       // a file of that name is listed or lies in the folder: ask before replacing
    BadName       // the number or the payer's INN cannot make a file name
};
SaveCheck prepareSaveNew(storage::Store& s, const OrderFields& fields);
QString limitMessage();
QString badNameMessage();

// Writes the new order, rescans the saved orders and turns the editor to the saved state
// (OpenedIndex, OpenedParties, PlatSaved). Returns the fields to show, as after opening.
// Without replace the file is only created: when a file of its name exists by then, nothing
// is written, the order stays new and existed (when given) is set.
storage::IoResult commitSaveNew(storage::Store& s, const OrderFields& fields, OrderFields& shown,
                                bool replace = false, bool* existed = nullptr);

// How saving talks to the user: ask puts a question of two lines and returns true for "Yes";
// tell shows a message.
struct SaveQuestions {
    std::function<bool(const QString& line1, const QString& line2)> ask;
    std::function<void(const QString& text)> tell;
};

struct SaveNewResult {
    bool saved = false;   // the order was written and is now the saved order on screen
    storage::IoResult io; // a write or scan that failed, for the caller to report
    OrderFields shown;    // the fields to show when saved
};

// Saves the order on screen as a new order, as both the editor's Save and the list's save
// question do: the limit and a bad name are told; when a file of the order's name exists
// (listed or not) the user is asked before it is replaced, and a file that appears after the
// check is asked about just the same, never replaced unasked.
SaveNewResult saveNewOrder(storage::Store& s, const OrderFields& fields, const SaveQuestions& q);

// Saving a saved order: the record as filled on the preview page becomes the snapshot and
// is written under its name; its entry of PlatList takes the date, amount and accepted flag
// written. When the write fails the snapshot stays as it was, so the order still counts as
// changed.
storage::IoResult saveSaved(storage::Store& s);

// The accepted box of a saved order changed: the file is written at once, and the record,
// its snapshot and the list entry follow it only when the write succeeded; on a failure they
// keep what the file still holds.
storage::IoResult storeAccepted(storage::Store& s, bool accepted);

// "New": the fields of a new order started from the one on screen (today's date, parties
// chosen again by the INNs of the order on screen, the next number, accepted cleared).
OrderFields newOrderFields(const storage::Store& s, const OrderFields& current);

// What the form shows of the order on screen: for a new order the organizations chosen in
// the pickers with their chosen bank slots, for a saved order the parties kept with it.
render::OrderInput orderInputFor(const storage::Store& s, const OrderFields& fields);

// The failed check-digit and format checks of the parties of an order, one text each, payer
// first ("Получатель: счет не соответствует БИК"); with a BIK directory, also what it does not
// confirm of their banks. They are warnings: the order can still be saved and printed.
QStringList partyWarnings(const render::OrderInput& order,
                          const storage::BikDirectory* directory = nullptr);

// What the preview page warns about: the parties' warnings, then a purpose that is too long,
// with its VAT line, for the bank's exchange file.
QStringList previewWarnings(const render::OrderInput& order,
                            const storage::BikDirectory* directory);

// The fields after the order on screen was deleted.
OrderFields clearedFields(const OrderFields& current);

} // namespace editor
