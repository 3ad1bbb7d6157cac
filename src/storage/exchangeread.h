// Reading a file of the client-bank exchange format (1CClientBankExchange, version 1.03): the
// statements that bank clients export (by custom kl_to_1c.txt) and the files this program
// writes for them. Lines are "key=value"; a header, then sections of account balances
// (СекцияРасчСчет … КонецРасчСчет) and of documents (СекцияДокумент=kind … КонецДокумента),
// then the end mark КонецФайла. Code page 1251, or 866 when the header says "Кодировка=DOS".
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace storage {

// The key=value lines of one part of the file, in order.
struct ExchangeSection {
    QList<std::pair<QString, QString>> fields;

    // The value of the first line with key; empty when there is none.
    QString value(QStringView key) const;
    // The values of every line with key (the header names each account once), in order.
    QStringList values(QStringView key) const;
};

struct ExchangeText {
    ExchangeSection header;
    QList<ExchangeSection> accounts;  // each СекцияРасчСчет
    QList<ExchangeSection> documents; // each СекцияДокумент, its first line the kind
    QString error; // not empty: not a whole exchange file, and why (Russian); nothing read
};

// Reads a whole exchange file. A file that does not begin with the format's mark, ends before
// КонецФайла (a truncated file), leaves a section open or holds a line that is not key=value
// is refused with its reason.
ExchangeText readExchange(const QByteArray& bytes);

} // namespace storage
