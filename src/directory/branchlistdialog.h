// The branches of the current organization Firms[CurFirm] ("Филиалы - ..."): added through
// BranchDialog, edited, deleted after a question, and one of them linked to the
// organization with "Show", so that the organization list shows its contacts. Every change of
// the branch table is written at once; a deletion that moves organizations' links writes the
// directory too.
#pragma once

#include "recordwindows.h"

#include <memory>

class QCheckBox;
class QToolButton;

namespace Ui {
class BranchListDialog;
}

namespace directory {

class BranchDialog;

class BranchListDialog : public OrgRecordsWindow {
    Q_OBJECT
public:
    BranchListDialog(storage::Store& store, core::Settings& settings, BranchDialog& entry,
                     QWidget* parent = nullptr);
    ~BranchListDialog() override;

    // Bring the buttons, the grid and "Show" in line with the branches.
    void updateButtons();
    void showGrid();
    void updateShowBranch();

    void addNew() override;
    void editCurrent() override;
    void deleteCurrent() override;
    void setShowBranch(bool checked);
    void selectRow(int row) override;

private:
    // Collects the organization's records; the first becomes current.
    void fillRecords() override;
    void refresh() override;
    storage::IoResult saveTable() override;

    BranchDialog& entry_;
    std::unique_ptr<Ui::BranchListDialog> ui;
};

} // namespace directory
