// The editor's fields of a complete new order, for the tests of the archive.
#pragma once

#include "editor/orderlogic.h"

inline editor::OrderFields completeOrder(const QString& number, int payer, int payee) {
    editor::OrderFields f;
    f.payer = payer;
    f.payee = payee;
    f.number = number;
    f.date = QStringLiteral("10.02.2009");
    f.amount = QStringLiteral("1500-00");
    f.purpose = QStringLiteral("Оплата по счету");
    return f;
}
