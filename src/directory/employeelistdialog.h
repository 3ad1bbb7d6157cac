// The employees of the current organization Firms[CurFirm] ("Сотрудники - ..."): added and
// edited through EmployeeDialog, deleted after a question. Every change of the employee
// table is written at once. "Add" is disabled while the table of all organizations' employees
// is full.
#pragma once

#include "recordwindows.h"

#include <memory>

class QToolButton;

namespace Ui {
class EmployeeListDialog;
}

namespace directory {

class EmployeeDialog;

class EmployeeListDialog : public OrgRecordsWindow {
    Q_OBJECT
public:
    EmployeeListDialog(storage::Store& store, core::Settings& settings, QWidget* parent = nullptr);
    ~EmployeeListDialog() override;

    // The entry dialog; it is created after this window and handed over once it exists.
    void setEntryDialog(EmployeeDialog* entry) { entry_ = entry; }

    // Bring the buttons and the grid in line with the employees.
    void updateButtons();
    void showGrid();

    void addNew() override;
    void editCurrent() override;
    void deleteCurrent() override;

private:
    // Collects the organization's records; the first becomes current.
    void fillRecords() override;
    void refresh() override;
    storage::IoResult saveTable() override;

    EmployeeDialog* entry_ = nullptr;
    std::unique_ptr<Ui::EmployeeListDialog> ui;
};

} // namespace directory
