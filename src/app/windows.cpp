#include "cli.h"

#include "editor/tform1.h"
#include "storage/store.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

int runWindows(storage::Store& store, const QStringList& startupMessages) {
    for (const QString& m : startupMessages)
        QMessageBox::warning(nullptr, QStringLiteral("Quenmara"), m);
    editor::TForm1 form1(store);
    form1.show();
    return QApplication::exec();
}

} // namespace app
