// "Удалить сотрудника?": asked before deleting an employee; the panel shows the employee's surname.
#pragma once

#include "recordwindows.h"

#include <memory>

namespace Ui {
class TFormDelEmpl;
}

namespace directory {

class TFormDelEmpl : public PanelQuestion {
    Q_OBJECT
public:
    explicit TFormDelEmpl(QWidget* parent = nullptr);
    ~TFormDelEmpl() override;

private:
    std::unique_ptr<Ui::TFormDelEmpl> ui;
};

} // namespace directory
