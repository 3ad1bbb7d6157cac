// The main window: one payment order is composed, checked, previewed, printed and saved
// here. The window only moves texts between its controls and OrderFields; what happens to
// an order is in orderlogic.h.
#pragma once

#include "core/directory.h"
#include "core/settings.h"

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
class MainWindow;
}

namespace editor {

class PreviewBox;
class BudgetFieldsDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(storage::Store& store, core::Settings& settings, core::Directory& directory,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows the main window opens. They are created after it, so the program hands
    // them over once they all exist; until then the buttons that open them do nothing.
    struct Dialogs {
        QDialog* orderList = nullptr; // list of saved orders
        BudgetFieldsDialog* budgetFields = nullptr;
        SizedWindows sized{}; // the windows whose sizes are kept, this one always among them
    };
    void setDialogs(const Dialogs& dialogs);

    // Messages of the creation (the first scan of the saved orders) for the caller to show.
    const QStringList& creationMessages() const { return creationMessages_; }

    // The contents of the controls, and showing fields in them.
    OrderFields fields() const;
    void showFields(const OrderFields& f);

    // The payer and payee pickers: all organizations in directory order, nothing chosen.
    void fillPickers();
    int payerPosition() const;
    int payeePosition() const;
    void setPickerPositions(int payer, int payee);
    // The directory changed: a new order's pickers are filled again with the payer and payee at
    // these positions (-1: none); a saved order's pickers hold its own parties and stay.
    void directoryChanged(int payer, int payee);
    void showFirstPage();

    // Shows the order just read into the current record as the saved order on screen
    // (the list window's Open).
    void showOpenedOrder();
    // Empties the editor after the order on screen was deleted; the editor returns to a new
    // order.
    void clearOrder();

    // Enables "List" when saved orders exist.
    void updateListButton();
    // Disables "New" (the list window, when the order on screen was deleted).
    void disableNew();

    // Lays the order on screen out for the preview.
    void preparePreview();
    // The order on screen was marked accepted by the bank elsewhere (a bank statement read in
    // the list window): the accepted box and the lock follow its record, nothing is written.
    void showAccepted();

signals:
    // "Set": the settings dialog is to be shown.
    void settingsRequested();
    // "Firms": the organization list is to be shown.
    void organizationsRequested();
    // A new order was saved; the list of saved orders was scanned again.
    void orderSaved();
    // The window is about to close; a receiver that must keep it open ignores the event.
    void closing(QCloseEvent* event);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choosePayer(int index);
    void choosePayee(int index);
    void advanceChoice(QGroupBox* group);
    void showStatusMenu(const QPoint& pos);
    void setAccepted(bool checked);
    void showPage(int index);
    void openOrderList();
    void editBudgetFields();
    void save();
    void print();
    void openHelp();
    void startNewOrder();

    void showChoices();
    void setLocked(bool locked);
    void setSavedLook(bool saved);
    void showPickersForSaved();
    void showError(const QString& text);
    void leaveFocus();

    storage::Store& store_;
    core::Settings& settings_;
    core::Directory& directory_;
    Dialogs windows_;
    std::unique_ptr<Ui::MainWindow> ui;
    PreviewBox* preview_ = nullptr;
    QMenu* statusMenu_ = nullptr; // the right-click menu of "Статус"
    std::uint8_t vatChoice_ = 0, payKindChoice_ = 0, priorityChoice_ = 0, statusChoice_ = 0;
    QStringList creationMessages_;
    bool showing_ = false; // controls are being filled by the program, not the user
};

} // namespace editor
