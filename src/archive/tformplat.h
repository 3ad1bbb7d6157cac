// The list of saved orders "Платежки": a grid of PlatList, or of the orders a filter leaves,
// drawn from the list on demand; opening an order in the editor after the offer to save the
// one on screen; the exact sum of the selected amounts, which goes to the clipboard; the
// filter switch; the deletion of an order; and the orders sent to the bank as a client-bank
// exchange file.
#pragma once

#include "opening.h"
#include "platlist.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QLabel;
class QMenu;

namespace storage {
class Store;
}

namespace editor {
class ListGrid;
class TForm1;
class TFormChangePlat;
} // namespace editor

class QStatusBar;
class QToolButton;

namespace Ui {
class TFormPlat;
}

namespace archive {

class TFormDelPlat;
class TFormFilter;

class TFormPlat : public QDialog {
    Q_OBJECT
public:
    // The list reads the order on screen from the editor when it offers to save it.
    TFormPlat(storage::Store& store, const editor::TForm1& editor, QWidget* parent = nullptr);
    ~TFormPlat() override;

    // The windows the list opens; they are created after it and handed over once they exist.
    struct Dialogs {
        TFormFilter* filter = nullptr;
        TFormDelPlat* deletion = nullptr;
        editor::TFormChangePlat* replace = nullptr; // "Заменить платежку"
    };
    void setDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

    // Shows the whole list (PlatList), with "Open" and "Del" enabled when it holds orders and
    // the filter switched off.
    void PlatGreed();
    // Shows the orders the filter left (FilterList).
    void PlatGreedFilter();
    // Rebuilds FilterList from PlatList by the filter chosen in the filter dialog.
    void FillFilter();
    // Offers to save the order on screen; reports a failed write itself. After a new order
    // was saved the list shows the rescanned orders.
    CheckSaveResult CheckSave();
    // The filter dialog's "OK": "Filter" is enabled when a filter was chosen.
    void EnableFilter(bool enabled);

    ListMode listMode() const { return ListMode_; }
    int filterCount() const { return FilterCount; }
    editor::ListGrid* grid() const { return StringGrid1; }
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

private:
    // The controls by what they are.
    QToolButton* openButton() const;
    QToolButton* deleteButton() const;
    QToolButton* filterButton() const;
    QToolButton* closeButton() const;
    QToolButton* setFilterButton() const;
    QToolButton* toBankButton() const;
    QStatusBar* statusBar() const;

    void SpeedButton1Click();          // Open
    void SpeedButton2Click();          // Del
    void SpeedButton3Click(bool down); // Filter
    void SpeedButton5Click();          // Set Filter
    void SpeedButton6Click();          // В банк
    void StringGrid1MouseUp();
    void StringGrid1DblClick();
    void N1Click(); // "В буфер"
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
    const editor::TForm1& editor_;
    Dialogs dialogs_;
    std::unique_ptr<Ui::TFormPlat> ui;
    editor::ListGrid* StringGrid1 = nullptr;
    std::array<QLabel*, 4> panels_{};
    QMenu* PopupMenu1 = nullptr;
    ListMode ListMode_ = ListMode::Nothing;
    std::unique_ptr<PlatItems> FilterList;
    int FilterCount = 0;
    int CurPlat = 0; // the list position the window last acted on
    SaveFileChooser chooseSaveFile_;
};

} // namespace archive
