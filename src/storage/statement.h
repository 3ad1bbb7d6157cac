// A bank statement in the client-bank exchange format (kl_to_1c.txt) and what it tells about
// the saved orders: every order that the statement shows debited from our account (the same
// payer account, number, date and amount) is marked accepted by the bank, the state the list
// of saved orders shows as "Оплачено".
#pragma once

#include "fileio.h"
#include "folderdata.h"
#include "money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace storage {

// The name under which bank clients write statements for accounting programs.
inline constexpr char StatementFileName[] = "kl_to_1c.txt";

// One document of the statement that was debited from one of the statement's accounts.
struct StatementDebit {
    QString number;
    QDate date;
    std::optional<Money> amount;
    QString payerAccount;
    QString payee;
    QString text; // how the user knows it: "№ 15 от 03.02.2026, 1500.00, АО «Бумага»"
};

struct Statement {
    QStringList accounts; // our accounts the statement is for
    QDate from, to;       // its period; not valid when the statement names none
    QList<StatementDebit> debits;
    QString error; // not empty: the statement cannot be used, and why (Russian)
};

// Reads a statement (readExchange): its accounts, period and debits (documents with a
// ДатаСписано whose payer account is one of its accounts; the credits are not ours to mark).
Statement readStatement(const QByteArray& bytes);

struct StatementOutcome {
    QString error;          // not empty: refused whole, nothing changed
    QStringList marked;     // file names of the orders marked now
    int alreadyMarked = 0;  // debited orders that were marked before
    QStringList unmatched;  // debits that match no saved order (StatementDebit::text)
    QStringList notDebited; // saved orders of the statement's accounts dated in its period
                            // that it does not show debited: "file: № 17 от …, сумма"
    QStringList failures;   // orders that could not be marked, each with the reason
};

// Reads the statement at path and marks the saved orders of folder.ordersDir that it shows
// debited: only the accepted byte of each such file changes, through an atomic write (the caller
// brings what it holds of them up to date). A statement that cannot be read or is incomplete, or
// that names an account no organization of the directory has, is refused whole; so is any
// import while this run only reads the folder (ReadOnlyFolder: another program holds it, or
// no lock can be taken). Importing the same statement
// again changes nothing.
// mayConcern, when given, names the order files worth reading for the statement: false for a
// file that can neither match one of its debits nor lie in its period (the others are not read).
using StatementScope = std::function<bool(const Statement& statement, const QString& fileName)>;
StatementOutcome importStatement(const FolderState& folder, const DirectoryTables& directory,
                                 const QString& path, const StatementScope& mayConcern = {});

// "Отмечено оплаченными: 2. Уже были отмечены: 1.": the first line of the report.
QString statementMarkedLine(const StatementOutcome& outcome);

// What the user is told after an import: how many orders were marked, then the statement
// lines that matched no saved order, the saved orders it does not show debited and the
// orders that could not be marked.
QString statementReport(const StatementOutcome& outcome);

} // namespace storage
