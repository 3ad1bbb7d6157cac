// The organization details window: one organization's details typed, edited or only looked
// at. It is given the record and its mode and gives back the record as "OK" stored it; the
// bank window edits a copy of the organization's banks, which is stored with the rest of the
// details. Writing the directory is the directory's part.
#pragma once

#include "organizationdetails.h"

#include "core/directory.h"
#include "core/settings.h"
#include "storage/bikdirectory.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class OrganizationDetailsDialog;
}

namespace directory {

// What the details window is opened on.
struct DetailsSubject {
    EditMode mode = EditMode::New;
    storage::OrganizationRecord record{}; // all zero for a new organization
    int organization = -1;                // its index in the directory; -1 for a new one
    int listCurrent = -1;                 // the organization current in the list
    QString caption;                      // empty: the caption stays as it was
};

class OrganizationDetailsDialog : public QDialog {
    Q_OBJECT
public:
    OrganizationDetailsDialog(const core::Directory& directory, const core::ProgramFolder& folder,
                              core::Settings& settings, QWidget* parent = nullptr);
    ~OrganizationDetailsDialog() override;

    // Shows subject modally; the record as "OK" stored it (the boxes and the banks over the
    // subject's record), or nothing.
    std::optional<storage::OrganizationRecord> edit(const DetailsSubject& subject);
    // The same in two steps, for a window shown without waiting: what the next showing shows,
    // and what the last one stored.
    void setSubject(const DetailsSubject& subject) { subject_ = subject; }
    const std::optional<storage::OrganizationRecord>& stored() const { return stored_; }
    EditMode editMode() const { return subject_.mode; }

    // The bank window: it is given the banks, the mode, the slot to open on and the name for its
    // caption, and gives the banks back as it leaves them.
    using BankEditor =
        std::function<FirmBanks(const FirmBanks&, EditMode, int page, const QString& name)>;
    void setBankEditor(BankEditor editor) { bankEditor_ = std::move(editor); }

    // The texts of the 24 boxes as they stand, saved or not.
    DetailTexts boxTexts() const;

    // "OK": stores the boxes unless a check refuses them; "Банк", "Филиал", "Text".
    void confirm();
    void editBanks();
    void openBranches();
    void openCard();

    // Every way of closing ends here: the boxes become editable again.
    void done(int result) override;

signals:
    // "Филиал": the branches of an organization of the directory are to be shown.
    void branchesRequested(int organization);
    // "Text": the card of the boxes as they stand is to be shown.
    void cardRequested(const DetailTexts& boxes);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBoxes(const DetailTexts& texts);
    // Shows the selected slot of the edited banks in the bank boxes.
    void showSelectedBank();
    void setEditable(bool editable);
    // Marks the boxes whose check digits or format are wrong, or that the BIK directory does
    // not confirm (a warning only).
    void showWarnings();
    // Shows a refused check's message and puts the cursor into the box concerned.
    void refuse(DetailsCheck check);

    const core::Directory& directory_;
    const core::ProgramFolder& folder_;
    std::unique_ptr<Ui::OrganizationDetailsDialog> ui;
    std::array<QLineEdit*, DetailBoxCount> edits_{};

    DetailsSubject subject_;
    // The organization's banks as the bank window left them; stored with the organization.
    FirmBanks banks_;
    BankEditor bankEditor_;
    std::optional<storage::OrganizationRecord> stored_;
    storage::BikDirectory bik_; // as imported when the window was shown; empty when none
};

} // namespace directory
