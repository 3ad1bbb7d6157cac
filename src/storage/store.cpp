#include "store.h"

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
    clearRecord(PathPlt);
    for (auto& s : FormSizes) {
        s.Width = 256;
        s.Height = 256;
    }
    for (auto& w : ColWidths)
        w = 16;
    Settings.fill(0);
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
