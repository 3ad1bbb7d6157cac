// "Удалить филиал организации": asked before deleting a branch of the current organization; the
// panel shows the organization's shortened name.
#pragma once

#include "recordwindows.h"

#include <memory>

namespace Ui {
class TFormDelFilial;
}

namespace directory {

class TFormDelFilial : public PanelQuestion {
    Q_OBJECT
public:
    explicit TFormDelFilial(QWidget* parent = nullptr);
    ~TFormDelFilial() override;

private:
    std::unique_ptr<Ui::TFormDelFilial> ui;
};

} // namespace directory
