// The organization list "Организации": the directory in a grid, from which organizations are
// created, edited, viewed (double click) and deleted, the deleted ones are shown ("Deleted")
// and restored, and the branches and employees of the current one are opened. After every
// change the main window's payer and payee pickers are filled again.
#pragma once

#include "core/settings.h"

#include "organizationdetails.h"

#include <QDialog>
#include <memory>

class QAction;
class QLabel;
class QMenu;

namespace storage {
class Store;
}
namespace editor {
class ListGrid;
class MainWindow;
} // namespace editor
class QStatusBar;
class QToolButton;

namespace Ui {
class OrganizationListDialog;
}

namespace directory {

class OrganizationDetailsDialog;

class OrganizationListDialog : public QDialog {
    Q_OBJECT
public:
    // The list reads the positions of the editor's payer and payee pickers before a change,
    // so that they can be kept.
    OrganizationListDialog(storage::Store& store, core::Settings& settings,
                           const editor::MainWindow& editor, QWidget* parent = nullptr);
    ~OrganizationListDialog() override;

    // The windows the list opens; they are created after it and handed over once they exist.
    struct Dialogs {
        OrganizationDetailsDialog* details = nullptr;
        QDialog* branches = nullptr;
        QDialog* employees = nullptr;
    };
    void setDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

    // What the grid shows: 0 nothing, 1 the organizations, 2 the deleted organizations.
    enum ListMode { ListEmpty = 0, ListFirms = 1, ListDeleted = 2 };
    ListMode listMode() const { return listMode_; }
    editor::ListGrid* grid() const { return grid_; }
    // The text of the status panel.
    QString statusText() const;

    void addOrganization();
    void editOrganization();
    // Asks "Удалить организацию ?" and, when the organization is named in saved orders or has
    // branches or employees, asks again for each; deletes it when every answer is "Yes".
    void deleteOrganization();
    void openBranches();
    void openEmployees();
    void restoreOrganization();
    void showDeleted(bool on);
    void selectCell(int row, int column);
    void viewOrganization(int row);

signals:
    // The organizations changed: the editor's payer and payee pickers are to be filled again,
    // with the payer and payee at these positions (-1: none). Not sent while a saved order is
    // on screen, whose pickers hold its own parties.
    void directoryChanged(int payer, int payee);
    // An organization was edited or deleted: the editor goes back to its first page.
    void organizationChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Shows the organizations or the deleted ones, selects the current one, sets the buttons.
    void showList();
    void updateButtons();
    // The full text of a cell of Firms (column 0 the name, then phone, address, e-mail).
    QString firmCell(int row, int column) const;
    // Shows the full text of the current cell of Firms[CurFirm] in the status panel.
    void showCurrentCell();
    // The status panel shows text (a cell's whole text, or nothing).
    void showInPanel(const QString& text);
    // Fills the main window's pickers again and gives them these positions (-1: none).
    void refillPickers(int payer, int payee);
    void saveFirms();
    // Opens the details window in mode; true when it stored a change.
    bool openDetails(EditMode mode, const QString& caption);
    // The first item of the "БИК" menu says which BIK directory is imported (or why none can
    // be used); the second imports one from a file the user chooses.
    void showBikDirectory();
    void importBikDirectory();

    storage::Store& store_;
    core::Settings& settings_;
    const editor::MainWindow& editor_;
    Dialogs dialogs_;
    std::unique_ptr<Ui::OrganizationListDialog> ui;
    editor::ListGrid* grid_ = nullptr;
    QLabel* panel_ = nullptr;
    ListMode listMode_ = ListEmpty;
    QMenu* bikMenu_ = nullptr;
    QAction* bikShown_ = nullptr; // which directory is imported; not an action
};

} // namespace directory
