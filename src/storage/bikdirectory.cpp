#include "bikdirectory.h"

#include "cp1251.h"
#include "digits.h"
#include "zipfile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace storage {

using namespace Qt::StringLiterals;

namespace {

// The largest message read: the whole directory is a few megabytes.
constexpr qint64 MaxMessageBytes = 256LL * 1024 * 1024;

// The first line of Data/Bik: what the file is, and the version of its layout.
constexpr char FileMark[] = "Quenmara BIK 1";

// n decimal digits and nothing else: a BIK (9), an account (20).
bool digitsOnly(QStringView s, qsizetype n) {
    return s.size() == n && std::all_of(s.begin(), s.end(), [](QChar c) { return isDigit(c); });
}

// A text of the message as one line of our file: no tabs or line breaks.
QString oneLine(QStringView s) {
    return s.toString().simplified();
}

QDate isoDate(QStringView s) {
    return QDate::fromString(s.toString(), Qt::ISODate);
}

QString townOf(QStringView kind, QStringView name) {
    const QString n = oneLine(name);
    QString k = oneLine(kind);
    if (k.isEmpty() || n.isEmpty())
        return n;
    if (!k.endsWith(u'.'))
        k += u'.';
    return k + u' ' + n;
}

// One BICDirectoryEntry, the reader on its start; the reader ends on its end.
void readEntry(QXmlStreamReader& x, const QDate& directoryDate, BikImport& r) {
    BikBank bank;
    bank.bik = x.attributes().value("BIC"_L1).toString().trimmed();
    bool described = false;
    while (x.readNextStartElement()) {
        const QXmlStreamAttributes a = x.attributes();
        if (x.name() == u"ParticipantInfo") {
            described = true;
            bank.name = oneLine(a.value("NameP"_L1));
            bank.town = townOf(a.value("Tnp"_L1), a.value("Nnp"_L1));
            bank.closed = isoDate(a.value("DateOut"_L1));
            // A participant struck out of the directory without a date ended by its date.
            if (!bank.closed.isValid() && a.value("ParticipantStatus"_L1) == u"PSDL")
                bank.closed = directoryDate;
        } else if (x.name() == u"Accounts") {
            // Correspondent accounts of banks and the treasury's single accounts; closed
            // accounts and the other kinds are not what an order names.
            const QStringView kind = a.value("RegulationAccountType"_L1);
            const bool inForce =
                a.value("AccountStatus"_L1) != u"ACDL" && a.value("DateOut"_L1).isEmpty();
            const QString account = a.value("Account"_L1).toString().trimmed();
            if ((kind == u"CRSA" || kind == u"TRSA") && inForce && digitsOnly(account, 20))
                bank.accounts << account;
        }
        x.skipCurrentElement();
    }
    if (!digitsOnly(bank.bik, 9))
        r.leftOut << u"запись с БИК «%1»: БИК должен состоять из 9 цифр"_s.arg(bank.bik);
    else if (!described)
        r.leftOut << u"БИК %1: нет сведений об участнике"_s.arg(bank.bik);
    else
        r.directory.banks.append(std::move(bank));
}

bool parseFile(const QByteArray& bytes, BikDirectory& d, int& badLine) {
    const QList<QByteArray> lines = bytes.split('\n');
    badLine = 1;
    if (lines.size() < 2 || lines[0] != FileMark)
        return false;
    badLine = 2;
    d.date = isoDate(QString::fromLatin1(lines[1]));
    if (!d.date.isValid())
        return false;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (lines[i].isEmpty() && i == lines.size() - 1)
            break;
        badLine = int(i + 1);
        const QStringList f = QString::fromUtf8(lines[i]).split(u'\t');
        if (f.size() != 5 || !digitsOnly(f[0], 9) || (!f[3].isEmpty() && !isoDate(f[3]).isValid()))
            return false;
        BikBank b{f[0], f[1], f[2], f[4].split(u' ', Qt::SkipEmptyParts), isoDate(f[3])};
        d.banks.append(std::move(b));
    }
    d.normalize();
    return true;
}

QString filePath(const QString& dataDir) {
    return dataDir + QLatin1StringView(BikFileName);
}

} // namespace

const BikBank* BikDirectory::find(QStringView bik) const {
    const auto it = std::lower_bound(banks.begin(), banks.end(), bik,
                                     [](const BikBank& b, QStringView key) { return b.bik < key; });
    return it != banks.end() && it->bik == bik ? &*it : nullptr;
}

const BikBank* BikDirectory::find(std::string_view bik) const {
    return find(QString::fromLatin1(bik.data(), qsizetype(bik.size())));
}

void BikDirectory::normalize() {
    std::stable_sort(banks.begin(), banks.end(),
                     [](const BikBank& a, const BikBank& b) { return a.bik < b.bik; });
    banks.erase(std::unique(banks.begin(), banks.end(),
                            [](const BikBank& a, const BikBank& b) { return a.bik == b.bik; }),
                banks.end());
}

BikImport readBikMessage(const QByteArray& bytes) {
    BikImport r;
    const QString prefix = u"Справочник БИК не прочитан: "_s;
    QByteArray xml;
    if (looksLikeZip(bytes)) {
        QString error;
        if (!unzipEntry(bytes, u".xml"_s, MaxMessageBytes, xml, error)) {
            r.error = prefix + error;
            return r;
        }
    } else {
        xml = bytes;
    }
    QXmlStreamReader x(xml);
    if (!x.readNextStartElement() || x.name() != u"ED807") {
        r.error = prefix + u"это не справочник БИК (сообщение ED807)"_s;
        return r;
    }
    const QXmlStreamAttributes root = x.attributes();
    QDate date = isoDate(root.value("BusinessDay"_L1));
    if (!date.isValid())
        date = isoDate(root.value("EDDate"_L1));
    while (x.readNextStartElement()) {
        if (x.name() == u"BICDirectoryEntry")
            readEntry(x, date, r);
        else
            x.skipCurrentElement();
    }
    if (x.hasError()) {
        // Qt's own text of the fault is English; the place is what helps the user.
        r = {};
        r.error = prefix + u"файл поврежден или неполон (строка %1)"_s.arg(x.lineNumber());
        return r;
    }
    if (!date.isValid()) {
        r = {};
        r.error = prefix + u"в нем нет даты справочника"_s;
        return r;
    }
    r.directory.date = date;
    r.directory.normalize();
    if (r.directory.isEmpty()) {
        r.error = prefix + u"в нем нет ни одного банка"_s;
        return r;
    }
    return r;
}

BikImport readBikMessageFile(const QString& path) {
    QByteArray bytes;
    if (const IoResult read = readChosenFile(path, bytes, MaxMessageBytes); !read) {
        BikImport r;
        r.error = read.error;
        return r;
    }
    return readBikMessage(bytes);
}

QByteArray bikFileBytes(const BikDirectory& directory) {
    QByteArray out = FileMark;
    out += '\n';
    out += directory.date.toString(Qt::ISODate).toLatin1();
    out += '\n';
    for (const BikBank& b : directory.banks) {
        const QStringList fields{b.bik, oneLine(b.name), oneLine(b.town),
                                 b.closed.isValid() ? b.closed.toString(Qt::ISODate) : QString(),
                                 b.accounts.join(u' ')};
        out += fields.join(u'\t').toUtf8();
        out += '\n';
    }
    return out;
}

IoResult saveBikDirectory(const QString& dataDir, const BikDirectory& directory) {
    return writeFileAtomic(filePath(dataDir), bikFileBytes(directory));
}

IoResult loadBikDirectory(const QString& dataDir, BikDirectory& directory) {
    directory = {};
    const QString path = filePath(dataDir);
    if (!QFileInfo::exists(path))
        return {};
    QByteArray bytes;
    if (const IoResult read = readFile(path, bytes, MaxMessageBytes); !read)
        return read;
    BikDirectory d;
    int badLine = 0;
    if (!parseFile(bytes, d, badLine))
        return IoResult::failure(fileMessage(u"Не могу прочитать справочник БИК"_s, path,
                                             u"файл поврежден (строка %1)"_s.arg(badLine)));
    directory = std::move(d);
    return {};
}

BikImport importBikDirectory(const QString& dataDir, bool readOnlyFolder, const QString& path) {
    if (readOnlyFolder) {
        BikImport r;
        r.error = u"Справочник БИК не загружен: папка программы открыта только для чтения"_s;
        return r;
    }
    BikImport r = readBikMessageFile(path);
    if (r.error.isEmpty())
        if (const IoResult w = saveBikDirectory(dataDir, r.directory); !w)
            r.error = w.error;
    return r;
}

QString bikImportReport(const BikImport& import) {
    if (!import.error.isEmpty())
        return import.error;
    QString text = bikImportedLine(import.directory);
    if (!import.leftOut.isEmpty())
        text += u"\n\nПропущены:\n"_s + import.leftOut.join(u'\n');
    return text;
}

QString bikImportedLine(const BikDirectory& directory) {
    return u"Загружен справочник БИК %1."_s.arg(bikDirectorySummary(directory));
}

QString bikDirectorySummary(const BikDirectory& directory) {
    return u"от %1 (записей: %2)"_s.arg(directory.date.toString(u"dd.MM.yyyy"_s))
        .arg(directory.banks.size());
}

BankNameLines bankNames(const BikBank& bank) {
    const QString full = bank.town.isEmpty() ? bank.name : bank.name + u' ' + bank.town;
    return {full.size() <= 64 ? full : bank.name.left(64), full.left(128)};
}

QByteArray bankTown(const BikDirectory* directory, std::string_view bik, std::string_view shortName,
                    std::string_view fullName) {
    if (directory)
        if (const BikBank* b = directory->find(bik); b && !b->town.isEmpty())
            return cp1251::fromUnicode(b->town);
    // "г." as a word of its own, then the town's name to the end of the line.
    static const QRegularExpression town(u"(?:^|\\s)г\\.\\s*(\\S.*)$"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    for (std::string_view name : {shortName, fullName})
        if (const QRegularExpressionMatch m = town.match(cp1251::toUnicode(name)); m.hasMatch())
            return cp1251::fromUnicode(u"г. "_s + m.captured(1).trimmed());
    const std::string_view shown = fullName.empty() ? shortName : fullName;
    return QByteArray(shown.data(), qsizetype(shown.size()));
}

} // namespace storage
