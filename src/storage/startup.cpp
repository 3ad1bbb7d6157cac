#include "startup.h"

#include "convert.h"
#include "datafiles.h"
#include "folder.h"
#include "platfile.h"
#include "settings.h"
#include "words.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

namespace storage {

namespace {

QString cannotCreate(const Store& s, const QString& folder) {
    return QStringLiteral("Не могу создать папку - %1 по пути - %2")
        .arg(folder, QDir::toNativeSeparators(s.ProgramDir));
}

// Creates ProgramDir + folder when it is missing; false (with the message) when it cannot.
bool ensureFolder(const Store& s, const QString& folder, bool& created, QStringList& messages) {
    created = false;
    if (QFileInfo(s.ProgramDir + folder).isDir())
        return true;
    if (!QDir(s.ProgramDir).mkdir(folder)) {
        messages << cannotCreate(s, folder);
        return false;
    }
    created = true;
    return true;
}

// Converts the earlier version's directory file ProgramDir + name into DataDir + name. The
// new file is written first and the old one is renamed only then, so a failed write leaves
// the old file where it was.
void convertOldFirms(const Store& s, const QString& name, QStringList& messages) {
    const QString path = s.ProgramDir + name;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != FirmsOldFileSize)
        return;
    std::vector<FirmOld> old(FirmsOldFileSize / sizeof(FirmOld));
    if (const IoResult r = readExactly(path, old.data(), FirmsOldFileSize); !r) {
        messages << r.error;
        return;
    }
    auto firms = std::make_unique<std::array<TFirm, MaxFirms>>();
    clearRecord(*firms);
    std::size_t n = 0;
    while (n < old.size() && old[n].Name.len != 0) {
        (*firms)[n] = ConvertFirmOld(old[n]);
        ++n;
    }
    if (n == 0)
        return;
    if (const IoResult r = writeFileAtomic(s.DataDir + name, recordBytes(*firms)); !r) {
        messages << r.error;
        return;
    }
    if (const IoResult r = moveFile(path, path + QStringLiteral("_Old")); !r)
        messages << r.error;
}

// Copies the order files of the current layout (extension ext) from the program folder into
// ProgramDir + folder and deletes each source after its copy succeeded. A name that the
// folder already holds stays where it is.
void moveIntoFolder(const Store& s, const QString& folder, QStringView ext, QStringList& messages) {
    bool created = false;
    if (!ensureFolder(s, folder, created, messages))
        return;
    const QString target = s.ProgramDir + folder + u'/';
    for (const FolderEntry& f : listFiles(s.ProgramDir, ext)) {
        if (f.size != PlatFileSize)
            continue;
        const QString to = target + f.name;
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        // When only the removal of the original failed, its reason is the message.
        if (const IoResult r = moveFile(s.ProgramDir + f.name, to); !r)
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
        if (c != '_' && (c < '0' || c > '9'))
            return {};
    WordList parts;
    SplitAtUnderscores(std::string_view(stem.constData(), std::size_t(stem.size())), parts);
    return parts.count == 2 ? stem : QByteArray();
}

// Gives each order of the earlier version named by number and INN the two-digit year of
// its date as a third part of its name, when that year is two digits and the new name is
// free. A file that cannot be read keeps its name; the conversion reports it.
void nameOldOrders(const Store& s, QStringList& messages) {
    for (const FolderEntry& f : listFiles(s.ProgramDir, u".plat")) {
        if (f.size != PlatOldFileSize)
            continue;
        const QByteArray stem = numberAndInn(f.name);
        if (stem.isEmpty())
            continue;
        const QString path = s.ProgramDir + f.name;
        PlatOld old;
        if (!readExactly(path, &old, PlatOldFileSize))
            continue;
        const std::string_view yy = DateYearDigits(old.Date.view());
        if (yy.size() != 2 || !isDigits(yy))
            continue;
        // A name already taken leaves the order under its old name, as a failure does; the
        // failure is reported.
        bool existed = false;
        if (const IoResult r =
                moveFile(path,
                         s.ProgramDir + QString::fromLatin1(stem) + u'_' +
                             QString::fromLatin1(yy.data(), 2) + QStringLiteral(".plat"),
                         &existed);
            !r && !existed)
            messages << r.error;
    }
}

// Rewrites every order of the earlier version in the program folder in the current layout,
// with the parties completed from the directory.
void convertOldOrders(const Store& s, QStringList& messages) {
    for (const FolderEntry& f : listFiles(s.ProgramDir, u".plat")) {
        if (f.size != PlatOldFileSize)
            continue;
        const QString path = s.ProgramDir + f.name;
        PlatOld old;
        if (const IoResult r = readExactly(path, &old, PlatOldFileSize); !r) {
            messages << r.error;
            continue;
        }
        TPlat plat = ConvertPlatOld(old);
        CompletePlatParties(s, plat);
        if (const IoResult r = writeFileAtomic(path, recordBytes(plat)); !r)
            messages << r.error;
    }
}

} // namespace

QStringList StartUp(Store& s, const QString& programDir) {
    QStringList messages;
    s.setProgramDir(programDir);
    SetDefaultSettings(s);
    LoadFilePathPlt(s, messages);
    LoadFileForm(s, messages);
    LoadFileCol(s, messages);
    if (s.ReadOnlyFolder) {
        // The folder is another program's for now: what is there is read as it is.
        LoadFirms(s, messages);
        LoadFilials(s, messages);
        LoadEmployees(s, messages);
        LoadFileSet(s, messages);
        return messages;
    }

    bool dataCreated = false;
    if (ensureFolder(s, QStringLiteral("Data"), dataCreated, messages) && dataCreated) {
        convertOldFirms(s, QStringLiteral("Firms"), messages);
        convertOldFirms(s, QStringLiteral("FirmsDel"), messages);
    }
    FinishTableSave(s, messages);
    LoadFirms(s, messages);
    LoadFilials(s, messages);
    LoadEmployees(s, messages);

    moveIntoFolder(s, QStringLiteral("PP"), u".plat", messages);
    moveIntoFolder(s, QStringLiteral("PPDel"), u".pdel", messages);
    nameOldOrders(s, messages);
    convertOldOrders(s, messages);

    LoadFileSet(s, messages);
    return messages;
}

} // namespace storage
