// BIK directories for tests and benchmarks: the Bank of Russia's ED807 message built from its
// published layout (a root ED807 with the directory's date, one BICDirectoryEntry per
// participant with its ParticipantInfo and Accounts), in either code page, and the zip
// archive in which it is published.
#pragma once

#include "storage/fileio.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace datagen {

struct Ed807Bank {
    QString bik;
    QString name;
    QString townKind = QStringLiteral("г"); // Tnp
    QString town;                           // Nnp
    QStringList accounts;                   // correspondent accounts in force
    QString accountType = QStringLiteral("CRSA");
    QStringList closedAccounts; // accounts struck out (AccountStatus ACDL)
    QDate dateOut;              // participation ended
};

// The correspondent account of a BIK whose key fits it: "30101810", the key, then "00000000"
// and the BIK's last three digits, with serial in place of the zeros.
QString correspondentAccount(const QString& bik, int serial = 0);

// n participants with distinct BIKs, names, towns and fitting correspondent accounts.
QList<Ed807Bank> ed807Banks(int n);

// The ED807 message for banks, dated date, in "WINDOWS-1251" or "UTF-8" as encoding names.
QByteArray ed807Message(const QList<Ed807Bank>& banks, const QDate& date,
                        const QByteArray& encoding = "WINDOWS-1251");

// Writes a zip archive at path that holds data under the name entry.
storage::IoResult writeZip(const QString& path, const QString& entry, const QByteArray& data);

} // namespace datagen
