// The list of saved orders "Платежки": a grid of PlatList, or of the orders a filter leaves,
// drawn from the list on demand; opening an order in the editor after the offer to save the
// one on screen; the exact sum of the selected amounts, which goes to the clipboard; the
// filter switch; the deletion of an order; and the orders sent to the bank as a client-bank
// exchange file.
#pragma once

#include "core/settings.h"

#include "opening.h"
#include "orderlist.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>

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
class OrderListDialog;
}

namespace archive {

class OrderFilterDialog;

class OrderListDialog : public QDialog {
    Q_OBJECT
public:
    // The list reads the order on screen from the editor when it offers to save it.
    OrderListDialog(storage::Store& store, core::Settings& settings,
                    const editor::MainWindow& editor, QWidget* parent = nullptr);
    ~OrderListDialog() override;

    // The filter dialog; it is created after the list and handed over once it exists.
    void setFilterDialog(OrderFilterDialog* filter) { filter_ = filter; }

    // Shows the whole list (PlatList), with "Open" and "Del" enabled when it holds orders and
    // the filter switched off.
    void showAllOrders();
    // Shows the orders the filter left (filtered_).
    void showFilteredOrders();
    // Rebuilds filtered_ from PlatList by the filter chosen in the filter dialog.
    void applyFilter();
    // Offers to save the order on screen; reports a failed write itself. After a new order
    // was saved the list shows the rescanned orders.
    CheckSaveResult offerToSave();
    // The filter dialog's "OK": "Filter" is enabled when a filter was chosen.
    void enableFilter(bool enabled);

    ListMode listMode() const { return listMode_; }
    int filterCount() const { return filteredCount_; }
    editor::ListGrid* grid() const { return grid_; }
    // The text of a status bar panel (0..3).
    QString panelText(int panel) const;

    // Asks where the orders for the bank go, proposing defaultPath; an empty answer cancels.
    // The save-file dialog unless replaced (tests answer without a dialog).
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& defaultPath)>;
    void setSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }

signals:
    // A new order on screen was saved from the offer to save it; the list was scanned again.
    void orderSaved();
    // The chosen order was read into the current record, to be shown in the editor.
    void orderOpened();
    // An order was deleted; shownOrderDeleted comes first when it was the one on screen
    // (no longer a saved order).
    void shownOrderDeleted();
    void orderDeleted();
    // A bank statement marked saved orders accepted by the bank (maybe the one on screen).
    void ordersMarked();

private:
    void openSelectedOrder();
    void deleteSelectedOrder();
    void switchFilter(bool on);
    void chooseFilter();
    // The folder the orders for the bank went to last time, else the home folder.
    QString bankFolder() const;
    void sendToBank();
    // "Выписка": reads a statement of the bank client that the user chooses, marks the saved
    // orders it shows debited and says what it found.
    void importStatement();
    void showSelection();
    void openDoubleClicked();
    void copySum();
    // Moves the listed order at row into the folder of deleted orders and takes it out of the
    // list; a failure is reported and changes nothing. Returns the row to show next, or
    // nothing when the order was not deleted.
    std::optional<int> deleteOrder(int row);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The entries the grid shows and their number.
    const PlatItems& shownItems() const;
    int shownCount() const;
    void showGrid(ListMode mode, int count);
    // Rereads the rows and makes row current, in the current column.
    void refreshGrid(int row);
    void showError(const QString& text);
    QWidget* messageParent();
    // Shows text in a status bar panel (0..3).
    void setPanel(int panel, const QString& text);

    storage::Store& store_;
    core::Settings& settings_;
    const editor::MainWindow& editor_;
    OrderFilterDialog* filter_ = nullptr;
    std::unique_ptr<Ui::OrderListDialog> ui;
    editor::ListGrid* grid_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QMenu* sumMenu_ = nullptr;
    ListMode listMode_ = ListMode::Nothing;
    std::unique_ptr<PlatItems> filtered_;
    int filteredCount_ = 0;
    int current_ = 0; // the list position the window last acted on
    SaveFileChooser chooseSaveFile_;
};

} // namespace archive
