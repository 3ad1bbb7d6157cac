// What the branch and employee windows and their dialogs share: a list window over the records
// the current organization has in a table of all organizations, and a dialog that types or
// edits the texts of one record.
#pragma once

#include "core/settings.h"

#include <cstdint>

#include "editor/listgrid.h"
#include "storage/fileio.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QLineEdit;
class QPushButton;

namespace storage {
class Store;
enum class WindowTag : std::uint8_t;
} // namespace storage

namespace directory {

// A list window over the records of Firms[CurFirm] in a shared table (its branches, its
// employees): their table indexes in table order, the current row, the grid showing them, and
// the add and edit steps, which are the same for both tables. Every change of the table is
// written at once.
class OrgRecordsWindow : public QDialog {
public:
    virtual void addNew() = 0;
    virtual void editCurrent() = 0;
    virtual void deleteCurrent() = 0;

    editor::ListGrid* grid() const { return grid_; }
    // Table indexes of the organization's records, and the current one's row.
    const std::vector<int>& records() const { return list_; }
    int currentRow() const { return row_; }

    // A grid row was clicked or made current with the keys: it becomes the current row.
    virtual void selectRow(int row);

protected:
    // The caption is titlePrefix followed by the organization's shortened name.
    OrgRecordsWindow(storage::Store& store, core::Settings& settings, QString titlePrefix,
                     QWidget* parent);

    // Connects "Add", "Edit", "Del" and "Close", and sizes the window and its columns from the
    // window-size table by tag.
    void finishSetUp(QAbstractButton* add, QAbstractButton* edit, QAbstractButton* del,
                     QAbstractButton* close, core::WindowTag tag);

    // What the two tables do differently: collect the organization's records, bring the
    // buttons and the grid in line with them, and write the table.
    virtual void fillRecords() = 0;
    virtual void refresh() = 0;
    virtual storage::IoResult saveTable() = 0;
    // Writes the table; a failure is reported, the change stays in memory.
    void saveRecords();

    // "Add": the dialog shows caption over empty boxes; its accepted texts go to add(), which
    // appends the record at table index; it becomes current and the table is written.
    template <class Dialog, class Add>
    void addRecord(Dialog* dialog, const QString& caption, int index, Add add) {
        if (!dialog || !dialog->showFor(caption, {}) || !add(dialog->texts()))
            return;
        appendRecord(index);
        refresh();
        saveRecords();
    }
    // "Edit": the dialog shows the current record's texts (textsOf(index)); accepted texts
    // that edit(index, texts) stores are written.
    template <class Dialog, class TextsOf, class Edit>
    void editRecord(Dialog* dialog, TextsOf textsOf, Edit edit) {
        const int index = currentRecord();
        if (index < 0 || !dialog ||
            !dialog->showFor(QStringLiteral("Редактирование"), textsOf(index)) ||
            !edit(index, dialog->texts()))
            return;
        grid()->refresh();
        saveRecords();
    }

    // On showing: the caption, the organization's records, the buttons and the grid.
    void showEvent(QShowEvent* event) override;

    // Puts the grid into place; cell(index, column) is the text of record index in a column.
    void addGrid(QBoxLayout* place, core::Grid kept, const QStringList& titles,
                 std::function<QString(int index, int column)> cell);
    // Shows these records, the first one current.
    void setRecords(std::vector<int> records);
    // Adds a record at the end of the list and makes it current.
    void appendRecord(int index);
    // The table index of the current row's record; -1 when the list is empty.
    int currentRecord() const;
    // Shows the records in the grid (five empty rows when there are none) with the current
    // row selected.
    void showRecords();

    storage::Store& store_;
    core::Settings& settings_;

private:
    QString titlePrefix_;
    editor::ListGrid* grid_ = nullptr;
    std::vector<int> list_;
    int row_ = 0;
};

// A dialog with the text boxes of one record: shown with a caption and the texts, "Yes"
// accepts unless the required box is empty (then a message says so), "No" and closing the
// window refuse. The first box has the focus on showing and after "Yes".
class RecordDialog : public QDialog {
public:
    void answerYes(); // "Yes"

protected:
    explicit RecordDialog(QWidget* parent);
    // The boxes in the order of the texts with their capacities, the required box, the
    // message for it empty, and the two buttons.
    void setUp(std::vector<QLineEdit*> boxes, const std::vector<int>& capacities, int required,
               QString emptyMessage, QPushButton* yes, QPushButton* no);

    template <std::size_t N>
    bool showTexts(const QString& caption, const std::array<QString, N>& t) {
        return showTexts(caption, QStringList(t.begin(), t.end()));
    }
    template <std::size_t N> std::array<QString, N> boxTexts() const {
        std::array<QString, N> t;
        for (std::size_t i = 0; i < N && i < boxes_.size(); ++i)
            t[i] = boxTextAt(i);
        return t;
    }

    void showEvent(QShowEvent* event) override;

private:
    bool showTexts(const QString& caption, const QStringList& texts);
    QString boxTextAt(std::size_t i) const;

    std::vector<QLineEdit*> boxes_;
    int required_ = 0;
    QString emptyMessage_;
};

} // namespace directory
