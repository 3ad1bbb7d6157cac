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
#include <QCloseEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace app {

std::unique_ptr<AllWindows> createWindows(storage::Store& store) {
    auto all = std::make_unique<AllWindows>();
    all->form1 = std::make_unique<editor::TForm1>(store);
    editor::TForm1* form1 = all->form1.get();
    auto* formFirm = new directory::TFormFirm(store, *form1, form1);
    auto* formRekvizit = new directory::TFormRekvizit(store, form1);
    auto* formDelFirm = new directory::TFormDelFirm(store, form1);
    auto* formPlat = new archive::TFormPlat(store, *form1, form1);
    auto* formChangePlat = new editor::TFormChangePlat(form1);
    auto* formNalog = new editor::TFormNalog(store, form1);
    auto* formDelFirm1 = new directory::TFormDelFirm1(store, form1);
    auto* formDelPlat = new archive::TFormDelPlat(store, form1);
    auto* formSave = new directory::TFormSave(store, *formRekvizit, form1);
    auto* formFilter = new archive::TFormFilter(store, form1);
    auto* formBank = new directory::TFormBank(store, form1);
    auto* formAddFilial = new directory::TFormAddFilial(form1);
    auto* formDelFilial = new directory::TFormDelFilial(form1);
    auto* formFilial = new directory::TFormFilial(store, *formAddFilial, *formDelFilial, form1);
    auto* formSet = new archive::TFormSet(store, form1);
    auto* formEmpl = new directory::TFormEmpl(store, form1);
    auto* formAddEmpl = new directory::TFormAddEmpl(form1);
    auto* formDelEmpl = new directory::TFormDelEmpl(form1);

    // The windows a window opens are created after it: each gets them now that all exist.
    editor::SizedWindows sized{};
    sized[storage::TagForm1] = form1;
    sized[storage::TagFormFirm] = formFirm;
    sized[storage::TagFormRekvizit] = formRekvizit;
    sized[storage::TagFormPlat] = formPlat;
    sized[storage::TagFormNalog] = formNalog;
    sized[storage::TagFormSave] = formSave;
    sized[storage::TagFormFilter] = formFilter;
    sized[storage::TagFormBank] = formBank;
    // The branch entry dialog keeps no size of its own at start; its size is saved.
    sized[storage::TagFormAddFilial] = formAddFilial;
    sized[storage::TagFormFilial] = formFilial;
    sized[storage::TagFormEmpl] = formEmpl;
    form1->setDialogs({formPlat, formFirm, formSet, formNalog, formChangePlat, sized});
    formFirm->setDialogs({formRekvizit, formDelFirm, formFilial, formEmpl});
    formRekvizit->setDialogs({formBank, formFilial, formSave});
    formDelFirm->setQuestion(formDelFirm1);
    formPlat->setDialogs({formFilter, formDelPlat, formChangePlat});
    formEmpl->setDialogs(formAddEmpl, formDelEmpl);

    // What one window did, the others learn here.
    QObject::connect(form1, &editor::TForm1::orderSaved, formPlat, &archive::TFormPlat::PlatGreed);
    QObject::connect(form1, &editor::TForm1::orderSaved, formFilter,
                     &archive::TFormFilter::FillFilter);
    QObject::connect(form1, &editor::TForm1::closing, formPlat, [formPlat](QCloseEvent* event) {
        // An order that could not be saved stays on screen, with the reason already shown.
        if (!formPlat->CheckSave().canLeave())
            event->ignore();
    });
    QObject::connect(formPlat, &archive::TFormPlat::orderSaved, formFilter,
                     &archive::TFormFilter::FillFilter);
    QObject::connect(formPlat, &archive::TFormPlat::orderSaved, form1,
                     &editor::TForm1::UpdateListButton);
    QObject::connect(formPlat, &archive::TFormPlat::orderOpened, form1,
                     &editor::TForm1::ShowOpened);
    QObject::connect(formPlat, &archive::TFormPlat::shownOrderDeleted, form1,
                     &editor::TForm1::DisableNew);
    QObject::connect(formPlat, &archive::TFormPlat::shownOrderDeleted, form1,
                     &editor::TForm1::ClearPlat);
    QObject::connect(formPlat, &archive::TFormPlat::orderDeleted, formFilter,
                     &archive::TFormFilter::FillFilter);
    QObject::connect(formFilter, &archive::TFormFilter::filterChosen, formPlat,
                     &archive::TFormPlat::EnableFilter);
    QObject::connect(formFirm, &directory::TFormFirm::directoryChanged, form1,
                     [form1](int payer, int payee) {
                         form1->FillPickers();
                         form1->setPickerPositions(payer, payee);
                     });
    QObject::connect(formFirm, &directory::TFormFirm::organizationChanged, form1,
                     &editor::TForm1::ShowFirstPage);
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
