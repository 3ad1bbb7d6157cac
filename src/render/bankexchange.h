// Saved payment orders as a client-bank exchange file: the text format "1CClientBankExchange",
// version 1.03, that internet bank clients import (by custom from a file named 1c_to_kl.txt).
// The file is code page 1251 with CR LF line ends: a header, one section per order with the
// order's fields as "key=value" lines in the order the format describes, and an end mark.
#pragma once

#include "formlayout.h"

#include "storage/fileio.h"
#include "storage/records.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace storage {
class BikDirectory;
}

namespace render {

// The name under which bank clients look for payment orders to import.
inline constexpr char BankExchangeFileName[] = "1c_to_kl.txt";

// One saved order to send, with the name the user knows it by (its file name).
struct ExchangeOrder {
    QString name;
    storage::OrderRecord plat;
    QString readError; // not empty: the order could not be read, and why
};

// An order the file does not hold, and why (Russian, for the user).
struct LeftOutOrder {
    QString name;
    QString reason;
};

struct ExchangeFile {
    QByteArray text; // the whole file; empty when no order is in it
    int written = 0; // orders in the file
    QList<LeftOutOrder> leftOut;
};

// The longest purpose, VAT line included, that the format and the banks take.
inline constexpr int ExchangePurposeLimit = 210;

// The purpose as the exchange file sends it: the purpose as the form prints it, then the VAT
// line the form puts under it. Code page 1251.
QByteArray exchangePurpose(const OrderInput& order);

// Why the order's purpose cannot be sent (longer than ExchangePurposeLimit with its VAT
// line), starting in lower case; empty when it can.
QString purposeTooLong(const OrderInput& order);

// The exchange file for orders, in their order, created at the given moment. An order that
// could not be read, or whose amount is not a valid amount (or is zero), whose payer account is
// empty, whose date is not a date in the form dd.mm.yyyy, or whose purpose is too long is left
// out with its reason; the header spans the dates of the orders written and names each of
// their payer accounts once. The banks' towns come from directory when it is given and knows
// the BIK (see storage::bankTown).
ExchangeFile buildExchangeFile(const QList<ExchangeOrder>& orders, const QDateTime& created,
                               const storage::BikDirectory* directory = nullptr);

struct ExportResult {
    int written = 0; // orders in the file written
    QList<LeftOutOrder> leftOut;
    storage::IoResult io; // the writing of the file; ok when nothing had to be written
};

// Reads the order files at paths (an order that cannot be read is left out with the reason),
// builds their exchange file and writes it to outFile atomically. When no order is left,
// nothing is written and outFile stays as it was.
ExportResult exportOrders(const QStringList& paths, const QString& outFile,
                          const QDateTime& created,
                          const storage::BikDirectory* directory = nullptr);

// "name: reason", one line for the user.
QString leftOutLine(const LeftOutOrder& order);

// What the user is told after an export to outFile: how many orders the file holds (or that
// none was written), then, when some were left out, each of them with its reason.
QString exportWrittenLine(int written, const QString& outFile);
QString exportReport(const ExportResult& result, const QString& outFile);

} // namespace render
