// The list of saved orders "Платежки": a grid of the archive's rows (every saved order, or those
// the filter and the search leave, sorted by the column whose title was clicked), drawn from
// the archive on demand; opening an order in the editor after the offer to save the one on
// screen; the exact sum of the selected amounts, which goes to the clipboard; the filter
// switch; the search box; the deletion of an order; the deleted orders ("Корзина"); the orders
// sent to the bank as a client-bank exchange file and the bank's statement.
#pragma once

#include "core/orderdocument.h"
#include "core/settings.h"

#include "opening.h"
#include "orderlist.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;

namespace editor {
class ListGrid;
} // namespace editor

class QStatusBar;
class QToolButton;

namespace Ui {
class OrderListDialog;
}

namespace archive {

class OrderListDialog : public QDialog {
    Q_OBJECT
public:
    // Orders are opened into the document, which the list offers to save first.
    OrderListDialog(core::OrderArchive& archive, core::OrderDocument& document,
                    const core::ProgramFolder& folder, core::Settings& settings,
                    QWidget* parent = nullptr);
    ~OrderListDialog() override;

    // What the editor's controls hold of the order on screen, for the offer to save it; the
    // program hands it over (until then the document's record is offered).
    using FieldsOnScreen = std::function<core::OrderFields()>;
    void setFieldsOnScreen(FieldsOnScreen fields) { fieldsOnScreen_ = std::move(fields); }

    // The filter chosen in the filter dialog, which the program hands over once it exists
    // (until then the filter shows no order).
    using FilterSource = std::function<FilterChoice()>;
    void setFilterSource(FilterSource source) { filterChoice_ = std::move(source); }

    // Shows every saved order that the search finds, with "Open" and "Del" enabled when it shows
    // orders and the filter switched off.
    void showAllOrders();
    // Offers to save the order on screen; reports a failed write itself. After a new order
    // was saved the list shows the rescanned orders.
    CheckSaveResult offerToSave();
    // The filter dialog's "OK": "Filter" is enabled when a filter was chosen.
    void enableFilter(bool enabled);

    // Whether the filter is switched on.
    bool filtered() const { return filtered_; }
    editor::ListGrid* grid() const { return grid_; }
    // The text of a status bar panel (0..3).
    QString panelText(int panel) const;

    // Asks where the orders for the bank go, proposing defaultPath; an empty answer cancels.
    // The save-file dialog unless replaced (tests answer without a dialog).
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& defaultPath)>;
    void setSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }

signals:
    // "Set filter": the filter dialog is to be shown.
    void filterRequested();
    // A new order on screen was saved from the offer to save it; the list was scanned again.
    void orderSaved();
    // The chosen order was opened into the document (or, when it could not be, a new order
    // saved on the way stays there as saved): the editor shows the document.
    void orderOpened();
    // An order was deleted; shownOrderDeleted comes first when it was the one on screen (the
    // document, which follows the archive, holds a new order again).
    void shownOrderDeleted();
    void orderDeleted();
    // A bank statement marked saved orders accepted by the bank (maybe the one on screen).
    void ordersMarked();
    // "Корзина": the deleted orders are to be shown.
    void deletedOrdersRequested();

private:
    void openSelectedOrder();
    void deleteSelectedOrder();
    void switchFilter(bool on);
    // Enables the buttons, shows the count and the sort arrow after the archive's rows changed
    // (the grid itself follows the archive).
    void followArchive();
    // Sorts by column, the other way round when it is already sorted by it; the current order
    // stays current.
    void sortBy(int column);
    void search(const QString& text);
    // The folder the orders for the bank went to last time, else the home folder.
    QString bankFolder() const;
    void sendToBank();
    // "Выписка": reads a statement of the bank client that the user chooses, marks the saved
    // orders it shows debited and says what it found.
    void importStatement();
    void showSelection();
    void openDoubleClicked();
    void copySum();
    // Moves the order shown at row into the folder of deleted orders and takes it out of the
    // list; a failure is reported and changes nothing. Returns whether it was deleted.
    bool deleteOrder(int row);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Makes row current, in the current column, and its cell alone selected.
    void showRow(int row);
    void showError(const QString& text);
    QWidget* messageParent();
    // Shows text in a status bar panel (0..3).
    void setPanel(int panel, const QString& text);

    core::OrderArchive& archive_;
    core::OrderDocument& document_;
    const core::ProgramFolder& folder_;
    core::Settings& settings_;
    FieldsOnScreen fieldsOnScreen_;
    FilterSource filterChoice_;
    std::unique_ptr<Ui::OrderListDialog> ui;
    editor::ListGrid* grid_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QMenu* sumMenu_ = nullptr;
    bool filtered_ = false;
    SaveFileChooser chooseSaveFile_;
};

} // namespace archive
