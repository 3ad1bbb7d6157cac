#include "folderdata.h"

#include "settings.h"

#include <QDir>

namespace storage {

void FolderState::setProgramDir(const QString& dir) {
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    if (!d.endsWith(u'/'))
        d += u'/';
    programDir = d;
    ordersDir = d + QStringLiteral("PP/");
    dataDir = d + QStringLiteral("Data/");
    deletedDir = d + QStringLiteral("PPDel/");
}

SettingsTables::SettingsTables() {
    setDefaultSettings(*this);
}

DirectoryTables::DirectoryTables() {
    clearRecord(organizations);
    clearRecord(deleted);
    clearRecord(branches);
    clearRecord(employees);
}

} // namespace storage
