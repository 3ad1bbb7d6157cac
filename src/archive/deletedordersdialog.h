// "Корзина": the deleted orders of PPDel, the latest deletion first, with when each was
// deleted; "Восстановить" moves the chosen orders back into the list of saved orders under
// their names, never over another order.
#pragma once

#include "core/settings.h"
#include "storage/fileio.h"
#include "storage/savedorders.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string_view>

namespace editor {
class ListGrid;
}

namespace Ui {
class DeletedOrdersDialog;
}

namespace archive {

// What the window works with: the deleted orders, their restoration and the names of their
// parties.
struct DeletedOrdersAccess {
    // Reads the deleted orders.
    std::function<storage::IoResult(storage::DeletedOrders& out)> load;
    // Moves the deleted order of that file name back among the saved orders; taken is set
    // when the saved order's name is taken (nothing then moves).
    std::function<storage::IoResult(std::string_view name, bool& taken)> restore;
    // The name the list shows for an INN.
    std::function<QString(std::string_view inn)> partyName;
};

// The texts of the columns of the trash: number, date, payer, payee, amount, when deleted.
const QStringList& deletedOrderColumnTitles();

class DeletedOrdersDialog : public QDialog {
    Q_OBJECT
public:
    DeletedOrdersDialog(core::Settings& settings, DeletedOrdersAccess access,
                        QWidget* parent = nullptr);
    ~DeletedOrdersDialog() override;

    // Reads the deleted orders again and shows them.
    void reload();
    editor::ListGrid* grid() const { return grid_; }
    // The text of a cell (row 0 is the latest deletion).
    QString cellText(int row, int column) const;

    // Moves the selected orders back; each that cannot come back is named in one message.
    void restoreSelected();

signals:
    // Orders came back into PP, under these file names.
    void ordersRestored(const QStringList& names);

protected:
    void done(int result) override;

private:
    void showMessage(const QString& text);

    core::Settings& settings_;
    DeletedOrdersAccess access_;
    std::unique_ptr<Ui::DeletedOrdersDialog> ui;
    editor::ListGrid* grid_ = nullptr;
    storage::DeletedOrders orders_;
};

} // namespace archive
