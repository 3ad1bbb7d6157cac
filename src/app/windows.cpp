#include "windows.h"

#include "cli.h"

#include "archive/tformdelplat.h"
#include "archive/tformfilter.h"
#include "archive/tformplat.h"
#include "archive/tformset.h"
#include "directory/tformaddempl.h"
#include "directory/tformaddfilial.h"
#include "directory/tformbank.h"
#include "directory/tformdelempl.h"
#include "directory/tformdelfilial.h"
#include "directory/tformdelfirm.h"
#include "directory/tformdelfirm1.h"
#include "directory/tformempl.h"
#include "directory/tformfilial.h"
#include "directory/tformfirm.h"
#include "directory/tformrekvizit.h"
#include "directory/tformsave.h"
#include "editor/tform1.h"
#include "editor/tformchangeplat.h"
#include "editor/tformnalog.h"
#include "storage/store.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace app {

std::unique_ptr<AllWindows> createWindows(storage::Store& store) {
    auto all = std::make_unique<AllWindows>();
    editor::Windows& links = all->links;
    all->form1 = std::make_unique<editor::TForm1>(store, links);
    QWidget* main = all->form1.get();
    auto* formFirm = new directory::TFormFirm(store, links, main);
    links.formFirm = formFirm;
    links.sized[storage::TagFormFirm] = formFirm;
    auto* formRekvizit = new directory::TFormRekvizit(store, links, main);
    links.formRekvizit = formRekvizit;
    links.sized[storage::TagFormRekvizit] = formRekvizit;
    links.formDelFirm = new directory::TFormDelFirm(store, links, main);
    new archive::TFormPlat(store, links, main); // registers itself in links
    auto* formChangePlat = new editor::TFormChangePlat(main);
    links.formChangePlat = formChangePlat;
    auto* formNalog = new editor::TFormNalog(store, main);
    links.formNalog = formNalog;
    links.sized[storage::TagFormNalog] = formNalog;
    links.formDelFirm1 = new directory::TFormDelFirm1(store, main);
    links.formDelPlat = new archive::TFormDelPlat(store, main);
    auto* formSave = new directory::TFormSave(store, links, main);
    links.formSave = formSave;
    links.sized[storage::TagFormSave] = formSave;
    new archive::TFormFilter(store, links, main); // registers itself in links
    auto* formBank = new directory::TFormBank(store, main);
    links.formBank = formBank;
    links.sized[storage::TagFormBank] = formBank;
    // The branch entry dialog keeps no size of its own at start; its size is saved.
    links.formAddFilial = new directory::TFormAddFilial(main);
    links.sized[storage::TagFormAddFilial] = links.formAddFilial;
    links.formDelFilial = new directory::TFormDelFilial(main);
    auto* formFilial = new directory::TFormFilial(store, links, main);
    links.formFilial = formFilial;
    links.sized[storage::TagFormFilial] = formFilial;
    auto* formSet = new archive::TFormSet(store, main);
    links.formSet = formSet;
    auto* formEmpl = new directory::TFormEmpl(store, links, main);
    links.formEmpl = formEmpl;
    links.sized[storage::TagFormEmpl] = formEmpl;
    links.formAddEmpl = new directory::TFormAddEmpl(main);
    links.formDelEmpl = new directory::TFormDelEmpl(main);
    return all;
}

namespace {

// The standard buttons and dialogs of Qt speak Russian, like the rest of the program.
void installQtTexts(QTranslator& qtTexts) {
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
}

} // namespace

int runWindows(storage::Store& store, const QStringList& startupMessages) {
    QTranslator qtTexts;
    installQtTexts(qtTexts);
    for (const QString& m : startupMessages)
        QMessageBox::warning(nullptr, QStringLiteral("Quenmara"), m);
    const std::unique_ptr<AllWindows> windows = createWindows(store);
    editor::TForm1& main = *windows->form1;
    main.show();
    for (const QString& m : main.creationMessages())
        QMessageBox::warning(&main, main.windowTitle(), m);
    return QApplication::exec();
}

int refuseHeldFolder(const QString& text) {
    QTranslator qtTexts;
    installQtTexts(qtTexts);
    QMessageBox::critical(nullptr, QStringLiteral("Quenmara"), text);
    return 1;
}

} // namespace app
