#include "windows.h"

#include "cli.h"

#include "archive/orderfilterdialog.h"
#include "archive/orderlistdialog.h"
#include "archive/settingsdialog.h"
#include "directory/bankaccountsdialog.h"
#include "directory/branchdialog.h"
#include "directory/branchlistdialog.h"
#include "directory/employeedialog.h"
#include "directory/employeelistdialog.h"
#include "directory/organizationcarddialog.h"
#include "directory/organizationdetailsdialog.h"
#include "directory/organizationlistdialog.h"
#include "editor/budgetfieldsdialog.h"
#include "editor/mainwindow.h"
#include "editor/uiutil.h"
#include "storage/store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace app {

std::unique_ptr<AllWindows> createWindows(storage::Store& store) {
    using core::WindowTag;
    // The windows' font is proportional, also where the system's default is not.
    QApplication::setFont(editor::proportionalFont(QApplication::font()));
    auto all = std::make_unique<AllWindows>(store);
    core::Settings& settings = all->engine.settings;
    all->mainWindow = std::make_unique<editor::MainWindow>(store, settings);
    editor::MainWindow* mainWindow = all->mainWindow.get();
    auto* organizationList =
        new directory::OrganizationListDialog(store, settings, *mainWindow, mainWindow);
    auto* details = new directory::OrganizationDetailsDialog(store, settings, mainWindow);
    auto* orderList = new archive::OrderListDialog(store, settings, *mainWindow, mainWindow);
    auto* budgetFields = new editor::BudgetFieldsDialog(settings, mainWindow);
    auto* card = new directory::OrganizationCardDialog(store, settings, *details, mainWindow);
    auto* filter = new archive::OrderFilterDialog(store, settings, mainWindow);
    auto* bankAccounts = new directory::BankAccountsDialog(store, settings, mainWindow);
    auto* branch = new directory::BranchDialog(mainWindow);
    auto* branchList = new directory::BranchListDialog(store, settings, *branch, mainWindow);
    auto* settingsDialog = new archive::SettingsDialog(mainWindow);
    auto* employeeList = new directory::EmployeeListDialog(store, settings, mainWindow);
    auto* employee = new directory::EmployeeDialog(mainWindow);

    // The windows a window opens are created after it: each gets them now that all exist.
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
    mainWindow->setDialogs({orderList, organizationList, budgetFields, sized});
    organizationList->setDialogs({details, branchList, employeeList});
    details->setDialogs({bankAccounts, branchList, card});
    orderList->setFilterDialog(filter);
    employeeList->setEntryDialog(employee);

    // What one window did, the others learn here.
    using archive::OrderFilterDialog;
    using archive::OrderListDialog;
    using directory::OrganizationListDialog;
    using editor::MainWindow;
    QObject::connect(mainWindow, &MainWindow::orderSaved, orderList,
                     &OrderListDialog::showAllOrders);
    QObject::connect(mainWindow, &MainWindow::orderSaved, filter, &OrderFilterDialog::refill);
    QObject::connect(mainWindow, &MainWindow::closing, orderList, [orderList](QCloseEvent* event) {
        // An order that could not be saved stays on screen, with the reason already shown.
        if (!orderList->offerToSave().canLeave())
            event->ignore();
    });
    QObject::connect(orderList, &OrderListDialog::orderSaved, filter, &OrderFilterDialog::refill);
    QObject::connect(orderList, &OrderListDialog::orderSaved, mainWindow,
                     &MainWindow::updateListButton);
    QObject::connect(orderList, &OrderListDialog::orderOpened, mainWindow,
                     &MainWindow::showOpenedOrder);
    QObject::connect(orderList, &OrderListDialog::shownOrderDeleted, mainWindow,
                     &MainWindow::disableNew);
    QObject::connect(orderList, &OrderListDialog::shownOrderDeleted, mainWindow,
                     &MainWindow::clearOrder);
    QObject::connect(orderList, &OrderListDialog::ordersMarked, mainWindow,
                     &MainWindow::showAccepted);
    QObject::connect(orderList, &OrderListDialog::orderDeleted, filter, &OrderFilterDialog::refill);
    QObject::connect(filter, &OrderFilterDialog::filterChosen, orderList,
                     &OrderListDialog::enableFilter);
    QObject::connect(organizationList, &OrganizationListDialog::directoryChanged, mainWindow,
                     [mainWindow](int payer, int payee) {
                         mainWindow->fillPickers();
                         mainWindow->setPickerPositions(payer, payee);
                     });
    QObject::connect(organizationList, &OrganizationListDialog::organizationChanged, mainWindow,
                     &MainWindow::showFirstPage);
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

int runWindows(storage::Store& store, const QStringList& startupMessages) {
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
