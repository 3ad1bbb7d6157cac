// The organization details window: one organization's details typed, edited or only looked
// at. The organization list sets store.EditMode (0 new, 1 edit, 2 view), clears
// store.Confirmed, sets the caption with setWindowTitle() and opens the window modally; a new
// organization is assembled in slot store.FirmCount, an edited or viewed one is
// store.Firms[store.CurFirm]. Confirmed is 1 afterwards when a new or edited organization
// was stored; writing the directory file is the list's part.
#pragma once

#include "firmdetails.h"

#include <QDialog>
#include <array>
#include <memory>

class QLineEdit;

namespace storage {
class Store;
}
namespace editor {
struct Windows;
}
namespace Ui {
class TFormRekvizit;
}

namespace directory {

class TFormRekvizit : public QDialog {
    Q_OBJECT
public:
    TFormRekvizit(storage::Store& store, editor::Windows& windows, QWidget* parent = nullptr);
    ~TFormRekvizit() override;

    // The texts of the 24 boxes as they stand, saved or not (the card and the bank window
    // read them).
    DetailTexts boxTexts() const;

    // Stores the boxes (all but the bank boxes) into the free slot FirmCount.
    void NewFirm();
    // Sets Confirmed and stores the boxes (all but the bank boxes) into Firms[CurFirm].
    void EditFirm();
    // Shows Firms[CurFirm] in all boxes, the bank boxes with its selected bank slot.
    void FillEdit();
    // Shows the selected bank slot of Firms[CurFirm], or of the free slot FirmCount.
    void FillEditBank();
    void FillEditBankNew();

    void Button1Click(); // "OK"
    void Button2Click(); // "No"
    void Button3Click(); // "Банк"
    void Button4Click(); // "Филиал"
    void Button5Click(); // "Text"

    // Every way of closing ends here: the boxes become editable again, and bank details
    // changed in the bank window are taken back unless the organization was stored.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBoxes(const DetailTexts& texts);
    void setBankBoxes(const storage::TFirm* firm);
    void setEditable(bool editable);
    // Marks the boxes whose check digits or format are wrong (a warning only).
    void showWarnings();
    // Shows a refused check's message and puts the cursor into the box concerned.
    void refuse(DetailsCheck check);

    storage::Store& store_;
    editor::Windows& windows_;
    std::unique_ptr<Ui::TFormRekvizit> ui;
    std::array<QLineEdit*, DetailBoxCount> edits_{};

    // The bank slots of the record the bank window may change, as they were on showing.
    struct BankBackup {
        int slot = -1;
        storage::TFirmBank banks[4];
        std::uint8_t bankNo = 0;
    } bankBackup_;
    bool stored_ = false;
};

} // namespace directory
