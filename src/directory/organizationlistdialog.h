// The organization list "Организации": the directory in a grid, from which organizations are
// created, edited, viewed (double click) and deleted, the deleted ones are shown ("Deleted")
// and restored, and the branches and employees of the current one are opened. The list follows
// every change of the directory, whoever made it.
#pragma once

#include "organizationdetails.h"

#include "core/directory.h"
#include "core/orderarchive.h"
#include "core/settings.h"

#include <QDialog>
#include <memory>

class QAction;
namespace editor {
class ListGrid;
}
class QLabel;
class QMenu;

class QStatusBar;
class QToolButton;

namespace Ui {
class OrganizationListDialog;
}

namespace directory {

class OrganizationListDialog : public QDialog {
    Q_OBJECT
public:
    // The list counts the saved orders that name an organization before it is deleted.
    OrganizationListDialog(core::Directory& directory, const core::ProgramFolder& folder,
                           core::Settings& settings, const core::OrderArchive& orders,
                           QWidget* parent = nullptr);
    ~OrganizationListDialog() override;

    // What the grid shows: 0 nothing, 1 the organizations, 2 the deleted organizations.
    enum ListMode { ListEmpty = 0, ListFirms = 1, ListDeleted = 2 };
    ListMode listMode() const { return listMode_; }
    editor::ListGrid* grid() const { return grid_; }
    // The organization current in the list and the deleted one current in its list.
    int current() const { return current_; }
    int currentDeleted() const { return currentDeleted_; }
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
    // "New", "Edit", a double click: the details window is to be shown for a new organization
    // (with the organization current in the list), for the current one, or to look at one.
    void addRequested(int current);
    void editRequested(int organization);
    void viewRequested(int organization);
    // "Филиал", "Сотр.": the branches or the employees of the current organization.
    void branchesRequested(int organization);
    void employeesRequested(int organization);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Shows the organizations or the deleted ones, selects the current one, sets the buttons.
    void showList();
    void updateButtons();
    // The full text of a cell of an organization (column 0 the name, then phone, address,
    // e-mail).
    QString firmCell(int row, int column) const;
    // Shows the full text of the current organization's current cell in the status panel.
    void showCurrentCell();
    // The status panel shows text (a cell's whole text, or nothing).
    void showInPanel(const QString& text);
    // The first item of the "БИК" menu says which BIK directory is imported (or why none can
    // be used); the second imports one from a file the user chooses.
    void showBikDirectory();
    void importBikDirectory();

    core::Directory& directory_;
    const core::ProgramFolder& folder_;
    core::Settings& settings_;
    const core::OrderArchive& orders_;
    std::unique_ptr<Ui::OrganizationListDialog> ui;
    editor::ListGrid* grid_ = nullptr;
    QLabel* panel_ = nullptr;
    ListMode listMode_ = ListEmpty;
    int current_ = 0;
    int currentDeleted_ = 0;
    QMenu* bikMenu_ = nullptr;
    QAction* bikShown_ = nullptr; // which directory is imported; not an action
};

} // namespace directory
