// What the branch and employee windows and their dialogs share: a list window over the records
// the current organization has in a table of all organizations, and a dialog that types or
// edits the texts of one record.
#pragma once

#include "core/directory.h"
#include "core/settings.h"
#include "editor/listgrid.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QLineEdit;
class QPushButton;

namespace directory {

// A list window over the records one organization has in a table of all organizations (its
// branches, its employees): their table indexes in table order, the current row and the grid
// showing them. The window is opened for an organization; every change goes to the directory,
// which writes it at once.
class OrgRecordsWindow : public QDialog {
public:
    // Shows the window modally for the records of organization (its index in the directory).
    void showFor(int organization);
    // The organization of the next showing, for a window shown without waiting.
    void setOrganization(int organization) { organization_ = organization; }
    int organization() const { return organization_; }

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
    OrgRecordsWindow(core::Directory& directory, core::Settings& settings, QString titlePrefix,
                     QWidget* parent);

    // Connects "Add", "Edit", "Del" and "Close", and sizes the window and its columns from the
    // window-size table by tag.
    void finishSetUp(QAbstractButton* add, QAbstractButton* edit, QAbstractButton* del,
                     QAbstractButton* close, core::WindowTag tag);

    // What the two tables do differently: the organization's records, and bringing the buttons
    // and the grid in line with them.
    virtual std::vector<int> collect() const = 0;
    virtual void refresh() = 0;

    // Collects the organization's records again, the record at table index current (when
    // listed) becoming current, and shows them.
    void reload(int current = -1);
    // After a change: the records again with the changed one current, and a failed write
    // reported with note (the change stays in memory when none is given).
    void changed(const core::DirectoryChange& change, const QString& note = {});

    // On showing: the caption, the organization's records, the buttons and the grid.
    void showEvent(QShowEvent* event) override;

    // Puts the grid into place; cell(index, column) is the text of record index in a column.
    void addGrid(QBoxLayout* place, core::Grid kept, const QStringList& titles,
                 std::function<QString(int index, int column)> cell);
    // The table index of the current row's record; -1 when the list is empty.
    int currentRecord() const;
    // Shows the records in the grid (five empty rows when there are none) with the current
    // row selected.
    void showRecords();

    core::Directory& directory_;
    core::Settings& settings_;

private:
    QString titlePrefix_;
    editor::ListGrid* grid_ = nullptr;
    std::vector<int> list_;
    int row_ = 0;
    int organization_ = 0;
};

// What an entry dialog gives back: the texts it accepted, or nothing.
template <class Texts>
using EntryEditor = std::function<std::optional<Texts>(const QString& caption, const Texts&)>;

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

    // Shows caption over texts modally; the texts of the boxes when "Yes" accepted them.
    template <std::size_t N>
    std::optional<std::array<QString, N>> editTexts(const QString& caption,
                                                    const std::array<QString, N>& t) {
        if (!showTexts(caption, QStringList(t.begin(), t.end())))
            return std::nullopt;
        return boxTexts<N>();
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
