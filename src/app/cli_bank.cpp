#include "cli.h"

#include "core/engine.h"
#include "storage/bikdirectory.h"
#include "storage/folderdata.h"
#include "storage/statement.h"

namespace app {

int runImportBik(storage::FolderData& store, const QString& file, QTextStream& out,
                 QTextStream& err) {
    const storage::BikImport r =
        storage::importBikDirectory(store.folder.dataDir, store.folder.readOnly, file);
    if (!r.error.isEmpty()) {
        err << r.error << '\n';
        return 1;
    }
    for (const QString& line : r.leftOut)
        err << line << '\n';
    out << storage::bikImportedLine(r.directory) << '\n';
    return r.leftOut.isEmpty() ? 0 : 1;
}

int runImportStatement(storage::FolderData& store, const QString& file, QTextStream& out,
                       QTextStream& err) {
    core::Engine engine(store);
    const storage::StatementOutcome r = engine.archive.importStatement(file);
    if (!r.error.isEmpty()) {
        err << r.error << '\n';
        return 1;
    }
    for (const QString& line : r.unmatched)
        err << QStringLiteral("Нет среди сохраненных платежек: ") << line << '\n';
    for (const QString& line : r.failures)
        err << line << '\n';
    out << storage::statementMarkedLine(r) << '\n';
    for (const QString& line : r.notDebited)
        out << QStringLiteral("Не списана по выписке: ") << line << '\n';
    return r.unmatched.isEmpty() && r.failures.isEmpty() ? 0 : 1;
}

} // namespace app
