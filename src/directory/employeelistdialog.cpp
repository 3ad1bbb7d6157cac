#include "employeelistdialog.h"

#include "ui_employeelistdialog.h"

#include "directorysave.h"
#include "employeedialog.h"
#include "employees.h"
#include "listwindows.h"

#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QShowEvent>

namespace directory {

EmployeeListDialog::EmployeeListDialog(storage::Store& store, core::Settings& settings,
                                       QWidget* parent)
    : OrgRecordsWindow(store, settings, QStringLiteral("Сотрудники - "), parent),
      ui(std::make_unique<Ui::EmployeeListDialog>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, core::Grid::Employees,
            {QStringLiteral("Должность"), QStringLiteral("Фамилия"), QStringLiteral("Имя"),
             QStringLiteral("Отчество"), QStringLiteral("Тел.раб."), QStringLiteral("Тел.сот."),
             QStringLiteral("Тел.внутр."), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return emplTexts(
                    store_.directory.employees[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Сотрудники"));
    finishSetUp(ui->addButton, ui->editButton, ui->deleteButton, ui->closeButton,
                core::WindowTag::EmployeeList);
}

EmployeeListDialog::~EmployeeListDialog() = default;

void EmployeeListDialog::refresh() {
    updateButtons();
    showGrid();
}

void EmployeeListDialog::fillRecords() {
    setRecords(directory::employeesOf(store_, store_.CurFirm));
}

void EmployeeListDialog::updateButtons() {
    ui->addButton->setEnabled(emplTableHasRoom(store_));
    ui->editButton->setEnabled(!records().empty());
    ui->deleteButton->setEnabled(!records().empty());
}

void EmployeeListDialog::showGrid() {
    showRecords();
}

storage::IoResult EmployeeListDialog::saveTable() {
    return storage::saveEmployeesFile(store_);
}

void EmployeeListDialog::addNew() {
    if (emplTableHasRoom(store_))
        addRecord(entry_, QStringLiteral("Новый сотрудник"), store_.directory.employeeCount,
                  [this](const EmplTexts& t) { return addEmployee(store_, store_.CurFirm, t); });
}

void EmployeeListDialog::editCurrent() {
    editRecord(
        entry_,
        [this](int index) { return emplTexts(store_.directory.employees[std::size_t(index)]); },
        [this](int index, const EmplTexts& t) { return editEmployee(store_, index, t); });
}

void EmployeeListDialog::deleteCurrent() {
    const int index = currentRecord();
    if (index < 0 || !editor::QuestionDialog::ask(
                         this, deleteEmployeeQuestion(editor::toUi(
                                   store_.directory.employees[std::size_t(index)].surname))))
        return;
    deleteEmployee(store_, index);
    fillRecords();
    refresh();
    saveRecords();
}

} // namespace directory
