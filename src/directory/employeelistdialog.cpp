#include "employeelistdialog.h"

#include "ui_employeelistdialog.h"

#include "listwindows.h"

#include "editor/questiondialog.h"
#include "editor/uiutil.h"

namespace directory {

EmployeeListDialog::EmployeeListDialog(core::Directory& directory, core::Settings& settings,
                                       QWidget* parent)
    : OrgRecordsWindow(directory, settings, QStringLiteral("Сотрудники - "), parent),
      ui(std::make_unique<Ui::EmployeeListDialog>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, core::Grid::Employees,
            {QStringLiteral("Должность"), QStringLiteral("Фамилия"), QStringLiteral("Имя"),
             QStringLiteral("Отчество"), QStringLiteral("Тел.раб."), QStringLiteral("Тел.сот."),
             QStringLiteral("Тел.внутр."), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return employeeTexts(directory_.employee(index))[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Сотрудники"));
    finishSetUp(ui->addButton, ui->editButton, ui->deleteButton, ui->closeButton,
                core::WindowTag::EmployeeList);
}

EmployeeListDialog::~EmployeeListDialog() = default;

std::vector<int> EmployeeListDialog::collect() const {
    return directory_.employeesOf(organization());
}

void EmployeeListDialog::refresh() {
    ui->addButton->setEnabled(directory_.employeeTableHasRoom());
    ui->editButton->setEnabled(!records().empty());
    ui->deleteButton->setEnabled(!records().empty());
    showRecords();
}

void EmployeeListDialog::addNew() {
    if (!directory_.employeeTableHasRoom() || !entry_)
        return;
    if (const std::optional<EmployeeTexts> t = entry_(QStringLiteral("Новый сотрудник"), {}))
        changed(directory_.addEmployee(organization(), employeeRecord(*t)));
}

void EmployeeListDialog::editCurrent() {
    const int index = currentRecord();
    if (index < 0 || !entry_)
        return;
    if (const std::optional<EmployeeTexts> t =
            entry_(QStringLiteral("Редактирование"), employeeTexts(directory_.employee(index))))
        changed(directory_.editEmployee(index, employeeRecord(*t)));
}

void EmployeeListDialog::deleteCurrent() {
    const int index = currentRecord();
    if (index < 0 || !editor::QuestionDialog::ask(this, deleteEmployeeQuestion(editor::toUi(
                                                            directory_.employee(index).surname))))
        return;
    core::DirectoryChange change = directory_.deleteEmployee(index);
    change.index = -1; // the first employee becomes current
    changed(change);
}

} // namespace directory
