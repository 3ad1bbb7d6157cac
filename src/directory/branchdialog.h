// The dialog in which a branch is typed ("Новый филиал для - ...") or edited
// ("Редактирование"): address, telephone and e-mail. "Yes" accepts unless the address is
// empty; "No" and closing the window refuse. The caller stores the texts.
#pragma once

#include "branches.h"
#include "recordwindows.h"

#include <memory>

namespace Ui {
class BranchDialog;
}

namespace directory {

class BranchDialog : public RecordDialog {
    Q_OBJECT
public:
    explicit BranchDialog(QWidget* parent = nullptr);
    ~BranchDialog() override;

    // Shows the dialog with this caption and these texts; the texts "Yes" accepted, or nothing.
    std::optional<BranchTexts> edit(const QString& caption, const BranchTexts& t) {
        return editTexts(caption, t);
    }

private:
    std::unique_ptr<Ui::BranchDialog> ui;
};

} // namespace directory
