// The bank details window: the four bank slots of one organization and the slot used in
// payment orders. Opened from the details window only, it edits a copy of the organization's
// banks and hands the copy back: in the new and edit modes every way of closing keeps what the
// boxes hold; in view mode nothing can be changed.
#pragma once

#include "core/settings.h"

#include "organizationdetails.h"

#include "storage/bikdirectory.h"

#include <QDialog>
#include <array>
#include <memory>

class QButtonGroup;
class QLineEdit;

class QGroupBox;
class QPushButton;
class QTabWidget;

namespace Ui {
class BankAccountsDialog;
}

namespace directory {

class BankAccountsDialog : public QDialog {
    Q_OBJECT
public:
    BankAccountsDialog(const core::ProgramFolder& folder, core::Settings& settings,
                       QWidget* parent = nullptr);
    ~BankAccountsDialog() override;

    // Shows banks modally in mode and returns them as the window leaves them. The window
    // opens on slot page (0..3); name is the organization's name for the caption.
    FirmBanks editBanks(const FirmBanks& banks, EditMode mode, int page, const QString& name);
    // The same in two steps, for a window shown without waiting: what the next showing
    // shows, and the copy as it stands.
    void setBanks(const FirmBanks& banks, EditMode mode, int page, const QString& name);
    const FirmBanks& banks() const { return banks_; }
    EditMode editMode() const { return mode_; }

    // Shows the copy in the 20 boxes; stores the boxes and the chosen slot into the copy.
    void showBanks();
    void takeBanks();

    // Every way of closing ends here: the new and edit modes keep the boxes in the copy,
    // view mode makes the window editable again.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setEditable(bool editable);
    // Marks the boxes whose check digits or format are wrong, or that the BIK directory does
    // not confirm (a warning only).
    void showWarnings();
    // A BIK typed into slot's box: the bank's empty boxes are filled from the BIK directory.
    void fillFromDirectory(int slot);

    const core::ProgramFolder& folder_;
    std::unique_ptr<Ui::BankAccountsDialog> ui;
    std::array<QLineEdit*, BankBoxCount> edits_{};
    QButtonGroup* radio_ = nullptr; // "Выбор банка": ids 0..3 are BankNo
    FirmBanks banks_;
    EditMode mode_ = EditMode::View;
    int page_ = 0;
    QString name_;
    storage::BikDirectory bik_; // as imported when the window was shown; empty when none
};

} // namespace directory
