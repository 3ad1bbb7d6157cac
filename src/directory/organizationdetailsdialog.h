// The organization details window: one organization's details typed, edited or only looked
// at. The organization list sets the caption with setWindowTitle() and opens the window with
// its mode; a new organization is assembled in slot store.directory.organizationCount, an edited or
// viewed one is store.directory.organizations[store.CurFirm]. The bank window edits a copy of the
// organization's banks, which is stored with the rest of the details. The answer tells whether a
// new or edited organization was stored; writing the directory file is the list's part.
#pragma once

#include "core/settings.h"

#include "organizationdetails.h"

#include "storage/bikdirectory.h"

#include <QDialog>
#include <array>
#include <memory>

class QLineEdit;

namespace storage {
class Store;
}
class QPushButton;

namespace Ui {
class OrganizationDetailsDialog;
}

namespace directory {

class BankAccountsDialog;
class OrganizationCardDialog;

class OrganizationDetailsDialog : public QDialog {
    Q_OBJECT
public:
    OrganizationDetailsDialog(storage::Store& store, core::Settings& settings,
                              QWidget* parent = nullptr);
    ~OrganizationDetailsDialog() override;

    // The windows the details window opens; they are created after it and handed over once
    // they exist. Without a branch window the "Филиал" button stays disabled.
    struct Dialogs {
        BankAccountsDialog* bank = nullptr;
        QDialog* branches = nullptr;
        OrganizationCardDialog* card = nullptr;
    };
    void setDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

    // The texts of the 24 boxes as they stand, saved or not (the card and the bank window
    // read them).
    DetailTexts boxTexts() const;

    // Shows the window modally in mode; true when a new or edited organization was stored.
    bool editDetails(EditMode mode);
    // The mode of the next showing, for a window shown without waiting (editDetails sets it).
    void setEditMode(EditMode mode) { mode_ = mode; }
    EditMode editMode() const { return mode_; }
    // Whether the last showing stored a new or edited organization.
    bool confirmed() const { return stored_; }

    // Stores the boxes and the edited banks into the free slot FirmCount.
    void storeNew();
    // Stores the boxes and the edited banks into Firms[CurFirm].
    void storeEdited();
    // Shows Firms[CurFirm] in all boxes, the bank boxes with its selected bank slot.
    void showOrganization();
    // Shows the selected slot of the edited banks in the bank boxes.
    void showSelectedBank();

    // "OK": stores the boxes unless a check refuses them; "Банк", "Филиал", "Text".
    void confirm();
    void editBanks();
    void openBranches();
    void openCard();

    // Every way of closing ends here: the boxes become editable again.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBoxes(const DetailTexts& texts);
    void storeInto(storage::OrganizationRecord& f) const;
    void setEditable(bool editable);
    // Marks the boxes whose check digits or format are wrong, or that the BIK directory does
    // not confirm (a warning only).
    void showWarnings();
    // Shows a refused check's message and puts the cursor into the box concerned.
    void refuse(DetailsCheck check);

    storage::Store& store_;
    Dialogs dialogs_;
    std::unique_ptr<Ui::OrganizationDetailsDialog> ui;
    std::array<QLineEdit*, DetailBoxCount> edits_{};

    EditMode mode_ = EditMode::New;
    // The organization's banks as the bank window left them; stored with the organization.
    FirmBanks banks_;
    bool stored_ = false;
    storage::BikDirectory bik_; // as imported when the window was shown; empty when none
};

} // namespace directory
