// The branches of one organization ("Филиалы - ..."): added and edited through the branch
// dialog, deleted after a question, and one of them linked to the organization with "Show",
// so that the organization list shows its contacts. Every change goes to the directory, which
// writes it at once.
#pragma once

#include "branches.h"
#include "recordwindows.h"

#include <memory>

class QCheckBox;
class QToolButton;

namespace Ui {
class BranchListDialog;
}

namespace directory {

class BranchListDialog : public OrgRecordsWindow {
    Q_OBJECT
public:
    BranchListDialog(core::Directory& directory, core::Settings& settings,
                     QWidget* parent = nullptr);
    ~BranchListDialog() override;

    // The dialog that types or edits a branch's texts.
    void setEntryEditor(EntryEditor<BranchTexts> editor) { entry_ = std::move(editor); }

    void addNew() override;
    void editCurrent() override;
    void deleteCurrent() override;
    void selectRow(int row) override;

private:
    std::vector<int> collect() const override;
    void refresh() override;
    // "Show" follows the current branch's link.
    void updateShowBranch();
    void setShowBranch(bool on);

    EntryEditor<BranchTexts> entry_;
    std::unique_ptr<Ui::BranchListDialog> ui;
};

} // namespace directory
