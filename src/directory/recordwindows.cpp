#include "recordwindows.h"

#include "listwindows.h"

#include "editor/uiutil.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

namespace directory {

// --- list window ----------------------------------------------------------------------------

OrgRecordsWindow::OrgRecordsWindow(core::Directory& directory, core::Settings& settings,
                                   QString titlePrefix, QWidget* parent)
    : QDialog(parent), directory_(directory), settings_(settings),
      titlePrefix_(std::move(titlePrefix)) {}

void OrgRecordsWindow::finishSetUp(QAbstractButton* add, QAbstractButton* edit,
                                   QAbstractButton* del, QAbstractButton* close,
                                   core::WindowTag tag) {
    connect(add, &QAbstractButton::clicked, this, [this] { addNew(); });
    connect(edit, &QAbstractButton::clicked, this, [this] { editCurrent(); });
    connect(del, &QAbstractButton::clicked, this, [this] { deleteCurrent(); });
    connect(close, &QAbstractButton::clicked, this, &QDialog::close);
    editor::applyFormSize(this, settings_, tag);
    fitColumnsWhenUnsized(this, grid_, settings_, tag);
}

void OrgRecordsWindow::showFor(int organization) {
    organization_ = organization;
    editor::showModal(this);
}

void OrgRecordsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing changed meanwhile
    setWindowTitle(titlePrefix_ + shortFirmName(directory_, organization_));
    reload();
}

void OrgRecordsWindow::reload(int current) {
    list_ = collect();
    const auto at = std::find(list_.begin(), list_.end(), current);
    row_ = at == list_.end() ? 0 : int(at - list_.begin());
    refresh();
}

void OrgRecordsWindow::changed(const core::DirectoryChange& change, const QString& note) {
    if (change.made || !change.io)
        reload(change.index);
    reportChange(this, change, note);
}

void OrgRecordsWindow::addGrid(QBoxLayout* place, core::Grid kept, const QStringList& titles,
                               std::function<QString(int index, int column)> cell) {
    grid_ = addListGrid(
        this, place, settings_, kept, titles, [this] { return int(list_.size()); },
        [this, cell = std::move(cell)](int row, int column) {
            return cell(list_[std::size_t(row)], column);
        });
    connect(grid_, &editor::ListGrid::cellClicked, this, [this](int row, int) { selectRow(row); });
    connect(grid_, &editor::ListGrid::cellSelected, this, [this](int row, int) { selectRow(row); });
}

void OrgRecordsWindow::selectRow(int row) {
    if (row >= 0 && row < int(list_.size()))
        row_ = row;
}

int OrgRecordsWindow::currentRecord() const {
    return list_.empty() ? -1 : list_[std::size_t(row_)];
}

void OrgRecordsWindow::showRecords() {
    grid_->refresh();
    grid_->setCurrentDataRow(list_.empty() ? 0 : row_);
}

// --- record dialog --------------------------------------------------------------------------

RecordDialog::RecordDialog(QWidget* parent) : QDialog(parent) {}

void RecordDialog::setUp(std::vector<QLineEdit*> boxes, const std::vector<int>& capacities,
                         int required, QString emptyMessage, QPushButton* yes, QPushButton* no) {
    boxes_ = std::move(boxes);
    for (std::size_t i = 0; i < boxes_.size() && i < capacities.size(); ++i)
        editor::restrictToCp1251(boxes_[i], capacities[i]);
    required_ = required;
    emptyMessage_ = std::move(emptyMessage);
    connect(yes, &QPushButton::clicked, this, &RecordDialog::answerYes);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

bool RecordDialog::showTexts(const QString& caption, const QStringList& texts) {
    setWindowTitle(caption);
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setText(texts.value(qsizetype(i)));
    return editor::showModal(this) == QDialog::Accepted;
}

QString RecordDialog::boxTextAt(std::size_t i) const {
    return boxes_[i]->text();
}

void RecordDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!boxes_.empty())
        boxes_.front()->setFocus();
}

void RecordDialog::answerYes() {
    if (boxes_[std::size_t(required_)]->text().trimmed().isEmpty()) // blanks only count as empty
        QMessageBox::warning(this, windowTitle(), emptyMessage_);
    else
        accept();
    boxes_.front()->setFocus();
}

} // namespace directory
