// What the branch and employee windows and their dialogs share: a list window over the records
// the current organization has in a table of all organizations, a dialog that types or edits
// the texts of one record, and the question asked before one record is deleted.
#pragma once

#include "editor/listgrid.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace storage {
class Store;
}

namespace directory {

// A list window over the records of Firms[CurFirm] in a shared table (its branches, its
// employees): their table indexes in table order, the current row, and the grid showing them.
class OrgRecordsWindow : public QDialog {
public:
    editor::ListGrid* grid() const { return grid_; }
    // Table indexes of the organization's records, and the current one's row.
    const std::vector<int>& records() const { return list_; }
    int currentRow() const { return row_; }

    // A grid row was clicked or made current with the keys: it becomes the current row.
    virtual void StringGrid1Click(int row);

protected:
    OrgRecordsWindow(storage::Store& store, QWidget* parent);

    // Puts the grid into place; cell(index, column) is the text of record index in a column.
    void addGrid(QBoxLayout* place, int base, const QStringList& titles,
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

private:
    editor::ListGrid* grid_ = nullptr;
    std::vector<int> list_;
    int row_ = 0;
};

// A dialog with the text boxes of one record: shown with a caption and the texts, "Yes"
// accepts unless the required box is empty (then a message says so), "No" and closing the
// window refuse. The first box has the focus on showing and after "Yes".
class RecordDialog : public QDialog {
public:
    void BitBtn1Click(); // "Yes"

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

// A question before a record is deleted: a panel names what goes, "YES" accepts, "Cancel" and
// closing the window refuse; the caller deletes.
class PanelQuestion : public QDialog {
public:
    // Shows panel under the question and waits for the answer; true for "YES".
    bool confirm(const QString& panel);

protected:
    explicit PanelQuestion(QWidget* parent);
    void setUp(QLabel* panel, QPushButton* yes, QPushButton* no);

private:
    QLabel* panel_ = nullptr;
};

} // namespace directory
