#include "windows.h"

#include "cli.h"

#include "archive/deletedordersdialog.h"
#include "archive/orderfilterdialog.h"
#include "archive/orderlistdialog.h"
#include "archive/settingsdialog.h"
#include "directory/bankaccountsdialog.h"
#include "directory/branchdialog.h"
#include "directory/branchlistdialog.h"
#include "directory/employeedialog.h"
#include "directory/employeelistdialog.h"
#include "directory/listwindows.h"
#include "directory/organizationcarddialog.h"
#include "directory/organizationdetailsdialog.h"
#include "directory/organizationlistdialog.h"
#include "editor/budgetfieldsdialog.h"
#include "editor/mainwindow.h"
#include "editor/uiutil.h"
#include "editor/windowsizes.h"
#include "storage/folderdata.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace app {

namespace {

// The directory's windows open each other through the requests wired here: the list opens the
// details (whose stored record goes to the directory), the branches and the employees; the
// details open the bank window, the branches and the card; the two record lists their entry
// dialogs.
void wireDirectory(core::Directory& directory, directory::OrganizationListDialog& list,
                   directory::OrganizationDetailsDialog& details,
                   directory::BankAccountsDialog& bank, directory::OrganizationCardDialog& card,
                   directory::BranchListDialog& branches, directory::BranchDialog& branch,
                   directory::EmployeeListDialog& employees, directory::EmployeeDialog& employee) {
    using directory::DetailsSubject;
    using directory::EditMode;
    using directory::OrganizationListDialog;
    QObject::connect(&list, &OrganizationListDialog::addRequested, &list, [&](int current) {
        if (const auto record =
                details.edit({EditMode::New, {}, -1, current, QStringLiteral("Новая организация")}))
            directory::reportChange(&list, directory.addOrganization(*record));
    });
    QObject::connect(&list, &OrganizationListDialog::editRequested, &list, [&](int index) {
        if (const auto record = details.edit({EditMode::Edit, directory.organization(index), index,
                                              index, QStringLiteral("Редактирование")}))
            directory::reportChange(&list, directory.modifyOrganization(index, *record));
    });
    QObject::connect(&list, &OrganizationListDialog::viewRequested, &list, [&](int index) {
        details.edit({EditMode::View, directory.organization(index), index, index, {}});
    });
    QObject::connect(&list, &OrganizationListDialog::branchesRequested, &branches,
                     &directory::BranchListDialog::showFor);
    QObject::connect(&details, &directory::OrganizationDetailsDialog::branchesRequested, &branches,
                     &directory::BranchListDialog::showFor);
    QObject::connect(&list, &OrganizationListDialog::employeesRequested, &employees,
                     &directory::EmployeeListDialog::showFor);
    QObject::connect(&details, &directory::OrganizationDetailsDialog::cardRequested, &card,
                     &directory::OrganizationCardDialog::showCard);
    details.setBankEditor(
        [&bank](const directory::FirmBanks& banks, EditMode mode, int page, const QString& name) {
            return bank.editBanks(banks, mode, page, name);
        });
    branches.setEntryEditor([&branch](const QString& caption, const directory::BranchTexts& t) {
        return branch.edit(caption, t);
    });
    employees.setEntryEditor(
        [&employee](const QString& caption, const directory::EmployeeTexts& t) {
            return employee.edit(caption, t);
        });
}

} // namespace

std::unique_ptr<AllWindows> createWindows(storage::FolderData& store) {
    using core::WindowTag;
    // The windows' font is proportional, also where the system's default is not.
    QApplication::setFont(editor::proportionalFont(QApplication::font()));
    auto all = std::make_unique<AllWindows>(store);
    core::Engine& engine = all->engine;
    core::Settings& settings = engine.settings;
    core::OrderDocument& document = engine.document;
    QStringList creationMessages;
    if (const storage::IoResult scanned = engine.archive.scan(); !scanned)
        creationMessages << scanned.error;
    all->mainWindow = std::make_unique<editor::MainWindow>(
        engine.folder, settings, engine.directory, document, creationMessages);
    editor::MainWindow* mainWindow = all->mainWindow.get();
    auto* organizationList = new directory::OrganizationListDialog(
        engine.directory, engine.folder, settings, engine.archive, mainWindow);
    auto* details = new directory::OrganizationDetailsDialog(engine.directory, engine.folder,
                                                             settings, mainWindow);
    auto* orderList =
        new archive::OrderListDialog(engine.archive, document, engine.folder, settings, mainWindow);
    auto* budgetFields = new editor::BudgetFieldsDialog(settings, mainWindow);
    auto* card = new directory::OrganizationCardDialog(engine.folder, settings, mainWindow);
    auto* filter = new archive::OrderFilterDialog(engine.archive, settings, mainWindow);
    auto* bankAccounts = new directory::BankAccountsDialog(engine.folder, settings, mainWindow);
    auto* branch = new directory::BranchDialog(mainWindow);
    auto* branchList = new directory::BranchListDialog(engine.directory, settings, mainWindow);
    auto* settingsDialog = new archive::SettingsDialog(mainWindow);
    auto* employeeList = new directory::EmployeeListDialog(engine.directory, settings, mainWindow);
    auto* employee = new directory::EmployeeDialog(mainWindow);
    core::OrderArchive& orders = engine.archive;
    auto* deletedOrders = new archive::DeletedOrdersDialog(
        settings,
        {[&orders](storage::DeletedOrders& out) { return orders.readDeleted(out); },
         [&orders](std::string_view name, bool& taken) { return orders.restoreOrder(name, taken); },
         [&orders](std::string_view inn) { return orders.partyName(inn); }},
        mainWindow);

    // The windows whose sizes are kept when the program closes; then the requests by which a
    // window opens another.
    editor::SizedWindows sized{};
    sized[WindowTag::Main] = mainWindow;
    sized[WindowTag::OrganizationList] = organizationList;
    sized[WindowTag::OrganizationDetails] = details;
    sized[WindowTag::OrderList] = orderList;
    sized[WindowTag::BudgetFields] = budgetFields;
    sized[WindowTag::OrganizationCard] = card;
    sized[WindowTag::OrderFilter] = filter;
    sized[WindowTag::BankAccounts] = bankAccounts;
    // The branch entry dialog keeps no size of its own at start; its size is saved.
    sized[WindowTag::Branch] = branch;
    sized[WindowTag::BranchList] = branchList;
    sized[WindowTag::EmployeeList] = employeeList;
    mainWindow->setBudgetEditor(
        [budgetFields](const editor::BudgetRequest& r) { return budgetFields->edit(r); });
    QObject::connect(mainWindow, &editor::MainWindow::orderListRequested, orderList,
                     [orderList] { editor::showModal(orderList); });
    orderList->setFilterSource([filter] { return filter->choice(); });
    QObject::connect(orderList, &archive::OrderListDialog::filterRequested, filter,
                     [filter] { editor::showModal(filter); });
    orderList->setFieldsOnScreen([mainWindow] { return mainWindow->fields(); });
    wireDirectory(engine.directory, *organizationList, *details, *bankAccounts, *card, *branchList,
                  *branch, *employeeList, *employee);
    QObject::connect(mainWindow, &editor::MainWindow::organizationsRequested, organizationList,
                     [organizationList] { editor::showModal(organizationList); });

    // What one window did, the others learn here.
    using archive::OrderFilterDialog;
    using archive::OrderListDialog;
    using directory::OrganizationListDialog;
    using editor::MainWindow;
    // The order on screen follows its file in the archive: a mark of the bank, its deletion.
    QObject::connect(&orders, &core::OrderArchive::orderChanged, &document,
                     &core::OrderDocument::followFile);
    QObject::connect(&orders, &core::OrderArchive::orderRemoved, &document,
                     &core::OrderDocument::followRemoval);
    QObject::connect(&orders, &core::OrderArchive::listChanged, mainWindow,
                     &MainWindow::updateListButton);
    QObject::connect(&document, &core::OrderDocument::saved, orderList,
                     [orderList](const QString&, bool created) {
                         if (created)
                             orderList->showAllOrders();
                     });
    // Closing: the sizes of the windows are kept (not in a folder opened only for reading, as
    // the user was told at the start), then the order on screen is offered for saving.
    QObject::connect(mainWindow, &MainWindow::closing, mainWindow, [&engine, sized, mainWindow] {
        if (engine.folder.readOnly())
            return;
        if (storage::IoResult r = editor::keepWindowSizes(engine.settings, sized); !r)
            QMessageBox::critical(mainWindow, mainWindow->windowTitle(), r.error);
    });
    QObject::connect(mainWindow, &MainWindow::closing, orderList, [orderList](QCloseEvent* event) {
        // An order that could not be saved stays on screen, with the reason already shown.
        if (!orderList->offerToSave().canLeave())
            event->ignore();
    });
    QObject::connect(orderList, &OrderListDialog::orderOpened, mainWindow,
                     &MainWindow::showDocument);
    QObject::connect(orderList, &OrderListDialog::ordersMarked, mainWindow,
                     &MainWindow::showAccepted);
    QObject::connect(orderList, &OrderListDialog::orderDeleted, filter, &OrderFilterDialog::refill);
    QObject::connect(orderList, &OrderListDialog::deletedOrdersRequested, deletedOrders,
                     [deletedOrders] {
                         deletedOrders->reload();
                         editor::showModal(deletedOrders);
                     });
    QObject::connect(&orders, &core::OrderArchive::listChanged, filter, &OrderFilterDialog::refill);
    QObject::connect(filter, &OrderFilterDialog::filterChosen, orderList,
                     &OrderListDialog::enableFilter);
    QObject::connect(mainWindow, &MainWindow::settingsRequested, mainWindow,
                     [mainWindow, settingsDialog, &settings] {
                         archive::editSettings(mainWindow, *settingsDialog, settings);
                     });
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

int runWindows(storage::FolderData& store, const QStringList& startupMessages) {
    QTranslator qtTexts;
    installQtTexts(qtTexts);
    for (const QString& m : startupMessages)
        QMessageBox::warning(nullptr, QStringLiteral("Quenmara"), m);
    const std::unique_ptr<AllWindows> windows = createWindows(store);
    editor::MainWindow& main = *windows->mainWindow;
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
