// The employees of one organization ("Сотрудники - ..."): added and edited through the
// employee dialog, deleted after a question. Every change goes to the directory, which writes
// it at once. "Add" is disabled while the table of all organizations' employees is full.
#pragma once

#include "employees.h"
#include "recordwindows.h"

#include <memory>

class QToolButton;

namespace Ui {
class EmployeeListDialog;
}

namespace directory {

class EmployeeListDialog : public OrgRecordsWindow {
    Q_OBJECT
public:
    EmployeeListDialog(core::Directory& directory, core::Settings& settings,
                       QWidget* parent = nullptr);
    ~EmployeeListDialog() override;

    // The dialog that types or edits an employee's texts.
    void setEntryEditor(EntryEditor<EmployeeTexts> editor) { entry_ = std::move(editor); }

    void addNew() override;
    void editCurrent() override;
    void deleteCurrent() override;

private:
    std::vector<int> collect() const override;
    void refresh() override;

    EntryEditor<EmployeeTexts> entry_;
    std::unique_ptr<Ui::EmployeeListDialog> ui;
};

} // namespace directory
