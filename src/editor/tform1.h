// The main window: one payment order is composed, checked, previewed, printed and saved
// here. The window only moves texts between its controls and OrderFields; what happens to
// an order is in orderlogic.h.
#pragma once

#include "orderlogic.h"
#include "windowsizes.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QWidget;

namespace storage {
class Store;
}

namespace Ui {
class TForm1;
}

namespace editor {

class PreviewBox;
class TFormChangePlat;
class TFormNalog;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(storage::Store& store, QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows the main window opens. They are created after it, so the program hands
    // them over once they all exist; until then the buttons that open them do nothing.
    struct Dialogs {
        QDialog* formPlat = nullptr; // list of saved orders
        QDialog* formFirm = nullptr; // organization list
        QDialog* formSet = nullptr;  // settings
        TFormNalog* formNalog = nullptr;
        TFormChangePlat* formChangePlat = nullptr;
        SizedWindows sized{}; // the windows whose sizes are kept, this one always among them
    };
    void setDialogs(const Dialogs& dialogs);

    // Messages of the creation (the first scan of the saved orders) for the caller to show.
    const QStringList& creationMessages() const { return creationMessages_; }

    // The contents of the controls, and showing fields in them.
    OrderFields fields() const;
    void showFields(const OrderFields& f);

    // The payer and payee pickers: all organizations in directory order, nothing chosen.
    void FillPickers();
    int payerPosition() const;
    int payeePosition() const;
    void setPickerPositions(int payer, int payee);
    void ShowFirstPage();

    // Shows the order just read into the current record as the saved order on screen
    // (the list window's Open).
    void ShowOpened();
    // Empties the editor after the order on screen was deleted; the editor returns to a new
    // order.
    void ClearPlat();

    // Enables "List" when saved orders exist.
    void UpdateListButton();
    // Disables "New" (the list window, when the order on screen was deleted).
    void DisableNew();

    // Lays the order on screen out for the preview.
    void PreparePreview();

signals:
    // A new order was saved; the list of saved orders was scanned again.
    void orderSaved();
    // The window is about to close; a receiver that must keep it open ignores the event.
    void closing(QCloseEvent* event);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void ComboBox1Select(int index);
    void ComboBox2Select(int index);
    void ChoiceGroupClick(QGroupBox* group);
    void GroupBox9ContextMenu(const QPoint& pos);
    void CheckBox1Click(bool checked);
    void PageControl1Change(int index);
    void SpeedButton1Click(); // List
    void SpeedButton2Click(); // Firms
    void SpeedButton4Click(); // Налоги
    void SpeedButton5Click(); // Save
    void SpeedButton6Click(); // print
    void SpeedButton7Click(); // Set
    void SpeedButton8Click(); // Help
    void SpeedButton9Click(); // New

    void showChoices();
    void setLocked(bool locked);
    void setSavedLook(bool saved);
    void showPickersForSaved();
    void showError(const QString& text);
    void leaveFocus();

    // The controls the window works with, by what they are.
    QComboBox* payerPicker() const;      // "Кто платит"
    QComboBox* payeePicker() const;      // "Кому платит"
    QGroupBox* payerGroup() const;       // the group of the payer picker
    QGroupBox* payeeGroup() const;       // the group of the payee picker
    QLineEdit* numberBox() const;        // "№"
    QLineEdit* dateBox() const;          // "Дата"
    QLineEdit* amountBox() const;        // "Сумма"
    QGroupBox* vatGroup() const;         // "НДС": a click advances the choice
    QGroupBox* payKindGroup() const;     // "Вид платежа"
    QGroupBox* priorityGroup() const;    // "Очер. плат."
    QGroupBox* statusGroup() const;      // "Статус"
    QLineEdit* vatField() const;         // the text of the VAT choice
    QLineEdit* payKindField() const;     // the text of the payment kind
    QLineEdit* priorityField() const;    // the text of the priority
    QLineEdit* statusField() const;      // the text of the payer status
    QCheckBox* acceptedBox() const;      // "Принята в банк"
    QPlainTextEdit* purposeBox() const;  // "Назначение платежа"
    QWidget* orderPage() const;          // the first page: the fields of the order
    QTabWidget* pages() const;           // the order page and the preview page
    QScrollArea* previewArea() const;    // the preview page's scrolled form
    QLabel* previewWarning() const;      // warnings about the parties above the preview
    QToolButton* listButton() const;     // "List"
    QToolButton* firmsButton() const;    // "Firms"
    QToolButton* closeButton() const;    // "Close"
    QPushButton* taxesButton() const;    // "Налоги"
    QToolButton* saveButton() const;     // "Save"
    QToolButton* printButton() const;    // print
    QToolButton* settingsButton() const; // "Set"
    QToolButton* helpButton() const;     // "Help"
    QToolButton* newButton() const;      // "New"

    storage::Store& store_;
    Dialogs windows_;
    std::unique_ptr<Ui::TForm1> ui;
    PreviewBox* PaintBox1 = nullptr;
    QMenu* StatusMenu = nullptr; // the right-click menu of "Статус"
    std::uint8_t VatRate = 0, PayKindChoice = 0, PriorityChoice = 0, StatusChoice = 0;
    QStringList creationMessages_;
    bool showing_ = false; // controls are being filled by the program, not the user
};

} // namespace editor
