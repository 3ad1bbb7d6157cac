// The main window: one payment order is composed, checked, previewed, printed and saved
// here. The window only moves texts between its controls and OrderFields; the order on screen
// is the order document's (core/orderdocument.h), which it follows by its signals. The windows
// it opens are asked for through signals and the budget editor that the program hands over.
#pragma once

#include "core/directory.h"
#include "core/orderdocument.h"
#include "core/settings.h"

#include "orderlogic.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
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

namespace Ui {
class MainWindow;
}

namespace editor {

class PreviewBox;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // creationMessages: what the program's start found (the first scan of the saved orders),
    // for the caller to show once the window is up.
    MainWindow(core::ProgramFolder& folder, core::Settings& settings, core::Directory& directory,
               core::OrderDocument& document, const QStringList& creationMessages = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Edits the budget texts of the order on screen and gives back the edited copy (the
    // budget dialog, which the program hands over once it exists; until then "Налоги" does
    // nothing).
    using BudgetEditor = std::function<BudgetAnswer(const BudgetRequest&)>;
    void setBudgetEditor(BudgetEditor editor) { editBudget_ = std::move(editor); }

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

    // Shows the order the document holds (opened, or begun as a new order) on the first page.
    void showDocument();
    // Enables "List" when saved orders exist.
    void updateListButton();

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
    // "List": the list of saved orders is to be shown.
    void orderListRequested();
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
    void editBudgetFields();
    void save();
    void print();
    void openHelp();
    void startNewOrder();

    void showChoices();
    void setLocked(bool locked);
    void setSavedLook(bool saved);
    void showPickersForSaved();
    void showCleared();
    void showError(const QString& text);
    void leaveFocus();

    core::ProgramFolder& folder_;
    core::Settings& settings_;
    core::Directory& directory_;
    core::OrderDocument& document_;
    BudgetEditor editBudget_;
    std::unique_ptr<Ui::MainWindow> ui;
    PreviewBox* preview_ = nullptr;
    QMenu* statusMenu_ = nullptr; // the right-click menu of "Статус"
    std::uint8_t vatChoice_ = 0, payKindChoice_ = 0, priorityChoice_ = 0, statusChoice_ = 0;
    bool locked_ = false; // the bank accepted the order: nothing can be changed
    QStringList creationMessages_;
    bool showing_ = false; // controls are being filled by the program, not the user
};

} // namespace editor
