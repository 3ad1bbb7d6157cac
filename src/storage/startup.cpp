#include "startup.h"

#include "convert.h"
#include "datafiles.h"
#include "digits.h"
#include "folder.h"
#include "platfile.h"
#include "settings.h"
#include "words.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <memory>

namespace storage {

namespace {

QString cannotCreate(const FolderData& s, const QString& folder) {
    return QStringLiteral("Не могу создать папку - %1 по пути - %2")
        .arg(folder, QDir::toNativeSeparators(s.folder.programDir));
}

// Creates ProgramDir + folder when it is missing; false (with the message) when it cannot.
bool ensureFolder(const FolderData& s, const QString& folder, QStringList& messages) {
    if (QFileInfo(s.folder.programDir + folder).isDir())
        return true;
    if (!QDir(s.folder.programDir).mkdir(folder)) {
        messages << cannotCreate(s, folder);
        return false;
    }
    syncFolder(s.folder.programDir);
    return true;
}

// --- leftovers of interrupted writes --------------------------------------------------------

// The temporary file of a save: the file's own name, "." and six random letters (the name
// QSaveFile gives it). The letters are taken for random only when both cases are among them:
// a suffix of one case may be a word a person gave a copy ("Firms.backup"), and such a file is
// never removed.
bool randomSuffix(QStringView s) {
    if (s.size() != 6)
        return false;
    bool upper = false, lower = false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        upper = upper || (u >= u'A' && u <= u'Z');
        lower = lower || (u >= u'a' && u <= u'z');
        if (!((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')))
            return false;
    }
    return upper && lower;
}

// The names the program writes in each of its folders, as patterns of whole names: the
// tables and settings files, their kept copies (".damaged", ".damaged1" ...), the index of the
// orders and the orders
// (the program folder also holds orders of the earlier version under any name).
const QRegularExpression& ownNames(int folder) {
    static const QRegularExpression names[] = {
        QRegularExpression(QStringLiteral("^((FormW|ArCol|Set|PathPlt|Firms1)(\\.damaged\\d*)?|"
                                          "[^/]+\\.(plat|pdel))$"),
                           QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral("^(Firms|FirmsDel|Filial|Employee|Journal)"
                                          "(\\.damaged\\d*)?$|^Index$")),
        QRegularExpression(QStringLiteral("^[0-9_]+\\.plat$"),
                           QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral("^[0-9_]+(\\(\\d+\\))?\\.pdel$"),
                           QRegularExpression::CaseInsensitiveOption),
    };
    return names[folder];
}

// Removes what interrupted writes of the program left in its folders: the temporary files of
// saves ("Set.AbcDeF", "Firms.new.XyZabc"), and the complete copies written beside a file
// under the name + ".new" that never took its place. A new order complete as "NAME.plat.new"
// in PP takes its name when that name is free: it was saved whole and only its last step
// was missed. A table's ".new" files belong to the journal of table changes and are left to it.
void clearLeftovers(const FolderData& s) {
    const QString folders[] = {s.folder.programDir, s.folder.dataDir, s.folder.ordersDir,
                               s.folder.deletedDir};
    for (int k = 0; k < 4; ++k) {
        // Only a name whose last part is six characters (a temporary file) or "new" (a copy)
        // can be a leftover: the rest (every order of PP) is passed over on its bytes.
        std::vector<QString> candidates;
        forEachFolderFile(folders[k], u"", [&candidates](const char* name, int) {
            const std::string_view n(name);
            const std::size_t dot = n.rfind('.');
            if (dot != std::string_view::npos && dot > 0 &&
                (n.size() - dot - 1 == 6 || n.substr(dot + 1) == "new"))
                candidates.push_back(QFile::decodeName(name));
            return true;
        });
        bool removed = false;
        for (const QString& name : candidates) {
            const QString path = folders[k] + name;
            QString base = name;
            const qsizetype dot = name.lastIndexOf(u'.');
            const bool temporary = dot > 0 && randomSuffix(QStringView(name).mid(dot + 1));
            if (temporary)
                base.truncate(dot);
            const bool copy = base.endsWith(QStringLiteral(".new"));
            if (copy)
                base.chop(4);
            if ((!temporary && !copy) || !ownNames(k).match(base).hasMatch())
                continue;
            if (!temporary && k == 1 && !base.contains(u'.'))
                continue; // a table's new file: the journal's
            if (!temporary && k == 2 && fileSize(path) == PlatFileSize &&
                renameNoReplace(path, folders[k] + base)) {
                syncFolder(folders[k]);
                continue;
            }
            removed = QFile::remove(path) || removed;
        }
        if (removed)
            syncFolder(folders[k]);
    }
}

// --- the directory of the earlier version ---------------------------------------------------

bool sameOrganization(const OrganizationRecord& a, const OrganizationRecord& b) {
    return a.name == b.name && a.inn == b.inn;
}

bool held(const FolderData& s, const OrganizationRecord& f) {
    for (int i = 0; i < s.directory.organizationCount; ++i)
        if (sameOrganization(s.directory.organizations[std::size_t(i)], f))
            return true;
    for (int i = 0; i < s.directory.deletedCount; ++i)
        if (sameOrganization(s.directory.deleted[std::size_t(i)], f))
            return true;
    return false;
}

// Converts the earlier version's directory file ProgramDir + name ("Firms" or "FirmsDel") into
// the table of that name, whenever the old file is there and the current tables do not hold
// its organizations (by name and INN): those they lack are added after the table's own, the
// table is written, and only then does the old file get its new name (name + "_Old"). So a
// start that stops anywhere in between, or a table that cannot be written, leaves the old
// file to be converted by the next start, and nothing is added twice. Returns false while
// the old file's organizations are not all in the tables.
bool convertOldFirms(FolderData& s, const QString& name, QStringList& messages) {
    const QString path = s.folder.programDir + name;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != FirmsOldFileSize)
        return true;
    std::vector<OldOrganizationRecord> old(FirmsOldFileSize / sizeof(OldOrganizationRecord));
    if (const IoResult r = readExactly(path, old.data(), FirmsOldFileSize); !r) {
        messages << r.error;
        return false;
    }
    const bool deleted = name == QLatin1String("FirmsDel");
    auto& table = deleted ? s.directory.deleted : s.directory.organizations;
    int& count = deleted ? s.directory.deletedCount : s.directory.organizationCount;
    const int room = deleted ? MaxFirms : MaxFirmsInUse;
    const int before = count;
    bool used = false;
    for (std::size_t i = 0; i < old.size() && old[i].name.len != 0; ++i) {
        used = true;
        const OrganizationRecord f = convertOldOrganization(old[i]);
        if (held(s, f))
            continue;
        if (count >= room) {
            messages << QStringLiteral("В справочнике нет места для организаций из файла %1 "
                                       "прежней версии; файл оставлен как есть.")
                            .arg(QDir::toNativeSeparators(path));
            break;
        }
        table[std::size_t(count++)] = f;
    }
    if (!used)
        return true; // nothing to convert: the old file is left as it is
    if (count > before) {
        const IoResult r = saveWholeFile(s.folder, s.folder.dataDir + name, recordBytes(table));
        if (!r) {
            for (int i = before; i < count; ++i)
                clearRecord(table[std::size_t(i)]);
            count = before;
            messages << r.error +
                            QStringLiteral("\nСправочник прежней версии будет преобразован при "
                                           "следующем запуске программы.");
            return false;
        }
    }
    for (std::size_t i = 0; i < old.size() && old[i].name.len != 0; ++i)
        if (!held(s, convertOldOrganization(old[i])))
            return false;
    if (const IoResult r = moveAside(path, QStringLiteral("_Old")); !r)
        messages << r.error;
    return true;
}

// --- orders of the earlier version and orders to move ---------------------------------------

// Copies the order files of the current layout (extension ext) from the program folder into
// ProgramDir + folder and deletes each source after its copy succeeded. A name that the
// folder already holds stays where it is.
void moveIntoFolder(const FolderData& s, const QString& folder, QStringView ext,
                    QStringList& messages) {
    if (!ensureFolder(s, folder, messages))
        return;
    const QString target = s.folder.programDir + folder + u'/';
    for (const FolderEntry& f : listFiles(s.folder.programDir, ext)) {
        if (f.size != PlatFileSize)
            continue;
        const QString to = target + f.name;
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        // When only the removal of the original failed, its reason is the message.
        if (const IoResult r = moveFile(s.folder.programDir + f.name, to); !r)
            messages << (QFileInfo::exists(to)
                             ? r.error
                             : QStringLiteral("Не могу скопировать файл - ") + f.name);
    }
}

// The name without the extension of an order file of the earlier version whose name is an
// order number and a payer INN ("12_1234567890.plat"); empty for any other name.
QByteArray numberAndInn(const QString& fileName) {
    const QByteArray stem = fileName.left(fileName.size() - 5).toLatin1();
    for (char c : stem)
        if (c != '_' && !isDigit(c))
            return {};
    WordList parts;
    splitAtUnderscores(std::string_view(stem.constData(), std::size_t(stem.size())), parts);
    return parts.count == 2 ? stem : QByteArray();
}

// Gives each order of the earlier version named by number and INN the two-digit year of
// its date as a third part of its name, when that year is two digits and the new name is
// free. A file that cannot be read keeps its name; the conversion reports it.
void nameOldOrders(const FolderData& s, QStringList& messages) {
    for (const FolderEntry& f : listFiles(s.folder.programDir, u".plat")) {
        if (f.size != PlatOldFileSize)
            continue;
        const QByteArray stem = numberAndInn(f.name);
        if (stem.isEmpty())
            continue;
        const QString path = s.folder.programDir + f.name;
        OldOrderRecord old;
        if (!readExactly(path, &old, PlatOldFileSize))
            continue;
        const std::string_view yy = dateYearDigits(old.date.view());
        if (yy.size() != 2 || !isDigits(yy))
            continue;
        // A name already taken leaves the order under its old name, as a failure does; the
        // failure is reported.
        bool existed = false;
        if (const IoResult r =
                moveFile(path,
                         s.folder.programDir + QString::fromLatin1(stem) + u'_' +
                             QString::fromLatin1(yy.data(), 2) + QStringLiteral(".plat"),
                         &existed);
            !r && !existed)
            messages << r.error;
    }
}

// Rewrites every order of the earlier version in the program folder in the current layout,
// with the parties completed from the directory.
void convertOldOrders(const FolderData& s, QStringList& messages) {
    for (const FolderEntry& f : listFiles(s.folder.programDir, u".plat")) {
        if (f.size != PlatOldFileSize)
            continue;
        const QString path = s.folder.programDir + f.name;
        OldOrderRecord old;
        if (const IoResult r = readExactly(path, &old, PlatOldFileSize); !r) {
            messages << r.error;
            continue;
        }
        OrderRecord plat = convertOldOrder(old);
        completeOrderParties(s.directory, plat);
        if (const IoResult r = writeFileAtomic(path, recordBytes(plat)); !r)
            messages << r.error;
    }
}

} // namespace

QStringList startUp(FolderData& s, const QString& programDir) {
    QStringList messages;
    s.folder.setProgramDir(programDir);
    setDefaultSettings(s.settings);
    if (s.folder.readOnly) {
        // The folder is not this run's to change: what is there is read as it is.
        loadPathFile(s.folder, s.settings, messages);
        loadWindowSizesFile(s.folder, s.settings, messages);
        loadColumnWidthsFile(s.folder, s.settings, messages);
        loadOrganizations(s.folder, s.directory, messages);
        loadBranches(s.folder, s.directory, messages);
        loadEmployees(s.folder, s.directory, messages);
        loadSettingsFile(s.folder, s.settings, messages);
        return messages;
    }

    // Each step below either finishes or is left whole for the next start to do again.
    clearLeftovers(s);
    loadPathFile(s.folder, s.settings, messages);
    loadWindowSizesFile(s.folder, s.settings, messages);
    loadColumnWidthsFile(s.folder, s.settings, messages);
    if (ensureFolder(s, QStringLiteral("Data"), messages))
        finishTableSave(s.folder, messages);
    loadOrganizations(s.folder, s.directory, messages);
    // The old directory before the old orders, whose parties are completed from it.
    const bool firmsConverted = convertOldFirms(s, QStringLiteral("Firms"), messages);
    const bool directoryConverted =
        convertOldFirms(s, QStringLiteral("FirmsDel"), messages) && firmsConverted;
    loadBranches(s.folder, s.directory, messages);
    loadEmployees(s.folder, s.directory, messages);

    // Old orders are converted in the program folder before the orders there move into PP,
    // so that they are listed from this start on.
    if (directoryConverted) {
        nameOldOrders(s, messages);
        convertOldOrders(s, messages);
    }
    moveIntoFolder(s, QStringLiteral("PP"), u".plat", messages);
    moveIntoFolder(s, QStringLiteral("PPDel"), u".pdel", messages);

    loadSettingsFile(s.folder, s.settings, messages);
    return messages;
}

} // namespace storage
