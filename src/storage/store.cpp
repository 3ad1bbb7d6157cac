#include "store.h"

#include "settings.h"

#include <QDir>

namespace storage {

Store::Store() {
    for (auto& f : Firms)
        clearRecord(f);
    for (auto& f : FirmsDel)
        clearRecord(f);
    clearRecord(FirmShow);
    clearRecord(Filials);
    clearRecord(Employees);
    clearRecord(Plat);
    clearRecord(PlatSnapshot);
    clearRecord(PlatFileName);
    clearRecord(OpenedParties);
    clearRecord(DateYY);
    clearRecord(PlatList);
    clearRecord(PayerInnTable);
    clearRecord(PayeeInnTable);
    setDefaultSettings(*this);
}

void Store::setProgramDir(const QString& dir) {
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    if (!d.endsWith(u'/'))
        d += u'/';
    ProgramDir = d;
    PlatDir = d + QStringLiteral("PP/");
    DataDir = d + QStringLiteral("Data/");
    PlatDelDir = d + QStringLiteral("PPDel/");
}

} // namespace storage
