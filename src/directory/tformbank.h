// The bank details window: the four bank slots of one organization and the slot used in
// payment orders. Opened from the details window only, it follows store.EditMode: a new
// organization's slots are those of the free slot FirmCount, an edited or viewed one's those
// of Firms[CurFirm]. In modes 0 and 1 every way of closing stores the boxes; in view mode
// nothing can be changed.
#pragma once

#include "firmdetails.h"

#include <QDialog>
#include <array>
#include <memory>

class QButtonGroup;
class QLineEdit;

namespace storage {
class Store;
}
namespace editor {
struct Windows;
}
namespace Ui {
class TFormBank;
}

namespace directory {

class TFormBank : public QDialog {
    Q_OBJECT
public:
    TFormBank(storage::Store& store, editor::Windows& windows, QWidget* parent = nullptr);
    ~TFormBank() override;

    // Shows the four bank slots of Firms[CurFirm], or of the free slot FirmCount.
    void FillEdit();
    void FillEditNew();
    // Stores the 20 boxes and the chosen slot into Firms[CurFirm], or into slot FirmCount.
    void FillBank();
    void FillBankNew();

    void Button1Click(); // "OK"

    // Every way of closing ends here: modes 0 and 1 store, view mode makes the window
    // editable again.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setBoxes(const storage::TFirm* firm);
    void storeInto(storage::TFirm* firm) const;
    void setEditable(bool editable);
    // Marks the boxes whose check digits or format are wrong (a warning only).
    void showWarnings();

    storage::Store& store_;
    editor::Windows& windows_;
    std::unique_ptr<Ui::TFormBank> ui;
    std::array<QLineEdit*, BankBoxCount> edits_{};
    QButtonGroup* radio_ = nullptr; // "Выбор банка": ids 0..3 are BankNo
};

} // namespace directory
