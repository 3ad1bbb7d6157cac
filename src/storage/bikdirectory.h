// The Bank of Russia's directory of BIKs: every bank and treasury office that takes part in
// payments, with its name, town and correspondent accounts. It is published as the XML
// message ED807 (zipped, or unpacked) and kept in the program folder as Data/Bik, a UTF-8
// text file of our own: one bank per line, written atomically, with the directory's date.
#pragma once

#include "fileio.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <string_view>

namespace storage {

// One participant of the directory.
struct BikBank {
    QString bik;          // 9 digits
    QString name;         // the participant's name ("ПАО Сбербанк")
    QString town;         // the kind and name of its town ("г. Москва"); may be empty
    QStringList accounts; // correspondent (or treasury) accounts in force, in directory order
    QDate closed;         // the day its participation ended; not valid while it takes part

    bool isClosed() const { return closed.isValid(); }
    // The first account in force; empty when it has none (a division of the Bank of Russia).
    QString account() const { return accounts.isEmpty() ? QString() : accounts.constFirst(); }
};

class BikDirectory {
public:
    QDate date;           // the day the directory is for
    QList<BikBank> banks; // sorted by BIK, each BIK once

    bool isEmpty() const { return banks.isEmpty(); }
    // The bank of that BIK (code page 1251 bytes or text), or null.
    const BikBank* find(QStringView bik) const;
    const BikBank* find(std::string_view bik) const;
    // Sorts the banks by BIK and keeps the first of each BIK.
    void normalize();
};

// The name of the directory's file in the Data folder.
inline constexpr char BikFileName[] = "Bik";

// What an import of an ED807 message gives.
struct BikImport {
    BikDirectory directory;
    QStringList leftOut; // entries that were passed over, each with its reason (Russian)
    QString error;       // not empty: the message could not be read, and why; nothing imported
};

// Reads an ED807 message: the XML itself, or a zip archive that holds it. The code page is
// the one the XML declaration names (windows-1251 or UTF-8). A BIK that is not 9 digits, or
// an entry without the participant's details, is left out with its reason.
BikImport readBikMessage(const QByteArray& bytes);

// The same for a file; a file that cannot be read gives its error.
BikImport readBikMessageFile(const QString& path);

// The Data/Bik file: writing (atomically) and reading. Loading a folder without the file
// gives an empty directory and success; a damaged file fails naming the file, and leaves the
// directory empty too.
QByteArray bikFileBytes(const BikDirectory& directory);
IoResult saveBikDirectory(const QString& dataDir, const BikDirectory& directory);
IoResult loadBikDirectory(const QString& dataDir, BikDirectory& directory);

// Reads the ED807 message at path and keeps it as the Data/Bik of dataDir, replacing the
// directory kept before only when the message was read. Nothing is written while the folder is
// only read (readOnlyFolder: another program holds it, or no lock can be taken): that, a
// message that cannot be read and a failed write come back in error.
BikImport importBikDirectory(const QString& dataDir, bool readOnlyFolder, const QString& path);

// "от 15.01.2026 (записей: 312)": what the program says of an imported directory.
QString bikDirectorySummary(const BikDirectory& directory);
// "Загружен справочник БИК от 15.01.2026 (записей: 312).": the first line of the report.
QString bikImportedLine(const BikDirectory& directory);

// What the user is told after an import: the directory kept, or why not; then the entries
// left out, each with its reason.
QString bikImportReport(const BikImport& import);

// A bank's name lines as the bank boxes take them: the short name (at most 64 characters) is
// the name and town when they fit, else the name; the full name is the name and town.
struct BankNameLines {
    QString shortName;
    QString fullName;
};
BankNameLines bankNames(const BikBank& bank);

// The town of a bank as the exchange file sends it: the directory's, when it knows the BIK;
// else the "г. …" part of the bank's short name, or of its full name ("ПАО Банк г.Пермь"
// gives "г. Пермь"); else the full name as it stands (the short one when there is none).
// Texts in code page 1251.
QByteArray bankTown(const BikDirectory* directory, std::string_view bik, std::string_view shortName,
                    std::string_view fullName);

} // namespace storage
