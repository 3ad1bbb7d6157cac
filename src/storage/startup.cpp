#include "startup.h"

#include "datafiles.h"

#include <QDir>

namespace storage {

QStringList StartUp(Store& s, const QString& programDir) {
    QStringList messages;
    s.setProgramDir(programDir);
    for (const char* sub : {"Data", "PP", "PPDel"}) {
        if (!QDir(s.ProgramDir).mkpath(QString::fromLatin1(sub)))
            messages << QStringLiteral("Не могу создать папку - %1 по пути - %2")
                            .arg(QString::fromLatin1(sub), s.ProgramDir);
    }
    LoadFirms(s, messages);
    LoadFilials(s, messages);
    LoadEmployees(s, messages);
    return messages;
}

} // namespace storage
