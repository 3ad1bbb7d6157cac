#include "branchlistdialog.h"

#include "ui_branchlistdialog.h"

#include "listwindows.h"

#include "editor/questiondialog.h"
#include "editor/uiutil.h"

#include <QMessageBox>

namespace directory {

BranchListDialog::BranchListDialog(core::Directory& directory, core::Settings& settings,
                                   QWidget* parent)
    : OrgRecordsWindow(directory, settings, QStringLiteral("Филиалы - "), parent),
      ui(std::make_unique<Ui::BranchListDialog>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, core::Grid::Branches,
            {QStringLiteral("Адрес"), QStringLiteral("Телефон"), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return branchTexts(directory_.branch(index))[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Филиалы"));
    connect(ui->showBranchCheck, &QCheckBox::clicked, this, &BranchListDialog::setShowBranch);
    finishSetUp(ui->addButton, ui->editButton, ui->deleteButton, ui->closeButton,
                core::WindowTag::BranchList);
}

BranchListDialog::~BranchListDialog() = default;

std::vector<int> BranchListDialog::collect() const {
    return directory_.branchesOf(organization());
}

void BranchListDialog::refresh() {
    ui->editButton->setEnabled(!records().empty());
    ui->deleteButton->setEnabled(!records().empty());
    showRecords();
    updateShowBranch();
}

void BranchListDialog::updateShowBranch() {
    ui->showBranchCheck->setEnabled(!records().empty());
    ui->showBranchCheck->setChecked(!records().empty() &&
                                    directory_.isLinked(organization(), currentRecord()));
}

void BranchListDialog::selectRow(int row) {
    OrgRecordsWindow::selectRow(row);
    updateShowBranch();
}

void BranchListDialog::setShowBranch(bool on) {
    if (!records().empty())
        reportChange(this, directory_.setBranchLink(organization(), currentRecord(), on));
}

void BranchListDialog::addNew() {
    if (directory_.branchTableFull()) {
        QMessageBox::warning(this, windowTitle(), branchLimitText());
        return;
    }
    if (!entry_)
        return;
    if (const std::optional<BranchTexts> t = entry_(
            QStringLiteral("Новый филиал для - ") + shortFirmName(directory_, organization()), {}))
        changed(directory_.addBranch(organization(), branchRecord(*t)));
}

void BranchListDialog::editCurrent() {
    const int index = currentRecord();
    if (index < 0 || !entry_)
        return;
    if (const std::optional<BranchTexts> t =
            entry_(QStringLiteral("Редактирование"), branchTexts(directory_.branch(index))))
        changed(directory_.editBranch(index, branchRecord(*t)));
}

void BranchListDialog::deleteCurrent() {
    const int index = currentRecord();
    if (index < 0 || !editor::QuestionDialog::ask(
                         this, deleteBranchQuestion(shortFirmName(directory_, organization()))))
        return;
    core::DirectoryChange change = directory_.deleteBranch(index);
    change.index = -1; // the first branch becomes current
    changed(change, QStringLiteral("Филиал не удален."));
}

} // namespace directory
