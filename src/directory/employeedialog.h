// The dialog in which an employee is typed ("Новый сотрудник") or edited
// ("Редактирование"): position, surname, first name, patronymic, three telephones, e-mail.
// "Yes" accepts unless the surname is empty; "No" and closing the window refuse. The caller
// stores the texts.
#pragma once

#include "employees.h"
#include "recordwindows.h"

#include <memory>

namespace Ui {
class EmployeeDialog;
}

namespace directory {

class EmployeeDialog : public RecordDialog {
    Q_OBJECT
public:
    explicit EmployeeDialog(QWidget* parent = nullptr);
    ~EmployeeDialog() override;

    // Shows the dialog with this caption and these texts; the texts "Yes" accepted, or nothing.
    std::optional<EmployeeTexts> edit(const QString& caption, const EmployeeTexts& t) {
        return editTexts(caption, t);
    }

private:
    std::unique_ptr<Ui::EmployeeDialog> ui;
};

} // namespace directory
