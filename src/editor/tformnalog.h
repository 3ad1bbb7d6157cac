// The budget-payment dialog "Налоги": КБК, ОКАТО, payment basis, tax period, document number
// and date, payment type, with a shared description list from which a code can be chosen by its
// description, shortcut menus for the most used codes and a tax period builder. It is created
// once at program start; its controls keep the seven texts between openings, and the editor
// reads and loads them.
#pragma once

#include "nalogfields.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace storage {
class Store;
struct TPlat;
} // namespace storage

namespace Ui {
class TFormNalog;
}

namespace editor {

class TFormNalog : public QDialog {
    Q_OBJECT
public:
    explicit TFormNalog(storage::Store& store, QWidget* parent = nullptr);
    ~TFormNalog() override;

    // The seven texts as the controls hold them.
    struct Texts {
        QString kbk, okato, basis, taxPeriod, taxType, docNumber, docDate;
    };
    Texts texts() const;

    // Shows the budget fields of a saved order. КБК, ОКАТО, basis and payment type select the
    // row of their list whose code is equal; a code that is in no row is shown as it is, with
    // no row selected.
    void loadFromRecord(const storage::TPlat& p);

    // The single tax payment ("ЕНП"): fills the seven fields as banks expect it (КБК
    // 18201061201010000510, every other field "0"); every field stays editable.
    void fillSingleTaxPayment();
    // Whether the single tax payment was chosen since the dialog was last shown: the editor
    // then sets the payer status "01".
    bool singleTaxPaymentChosen() const { return singleTaxChosen_; }

    // Dark blue texts for a saved order, black for a new one.
    void setSavedColour(bool saved);

    // The lock of an order the bank has accepted: nothing can be changed while it holds.
    void setLocked(bool locked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Shows the seven texts; a code list selects the row of an equal code.
    void showTexts(const Texts& t);
    QComboBox* ownList(NalogField field) const;
    int selectedRow(NalogField field) const;
    void showDescriptions(const DescriptionList& list);
    void selectRow(NalogField field, int row);
    void loadCode(NalogField field, const QString& text);

    void FieldEnter(NalogField field);
    void EditClick();
    void ComboSelect(NalogField field, int row);
    void ComboChange(NalogField field);
    void ComboBox8Select(int row);
    void PopupMenuClick(NalogField field, int row);

    // The controls the window works with, by what they are.
    QComboBox* kbkBox() const;            // КБК
    QComboBox* okatoBox() const;          // ОКАТО
    QComboBox* basisBox() const;          // the payment basis
    QComboBox* periodBox() const;         // the tax period
    QComboBox* typeBox() const;           // the payment type
    QComboBox* descriptionList() const;   // the shared description list
    QGroupBox* kbkGroup() const;          // right click: КБК shortcuts
    QGroupBox* okatoGroup() const;        // right click: ОКАТО shortcuts
    QGroupBox* descriptionGroup() const;  // its caption says what is described
    QLineEdit* docNumberBox() const;      // the document number
    QLineEdit* docDateBox() const;        // the document date
    QToolButton* infoButton() const;      // the information sign
    QPushButton* okButton() const;        // "OK"
    QPushButton* singleTaxButton() const; // "ЕНП"

    std::unique_ptr<Ui::TFormNalog> ui;
    NalogFields fields_;
    QMenu* PopupMenu1 = nullptr; // ОКАТО shortcuts
    QMenu* PopupMenu2 = nullptr; // КБК shortcuts
    bool singleTaxChosen_ = false;
};

} // namespace editor
