#include "branchlistdialog.h"

#include "ui_branchlistdialog.h"

#include "branchdialog.h"
#include "branches.h"
#include "directorysave.h"
#include "listwindows.h"

#include "editor/questiondialog.h"
#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QMessageBox>
#include <QShowEvent>

namespace directory {

BranchListDialog::BranchListDialog(storage::Store& store, core::Settings& settings,
                                   BranchDialog& entry, QWidget* parent)
    : OrgRecordsWindow(store, settings, QStringLiteral("Филиалы - "), parent), entry_(entry),
      ui(std::make_unique<Ui::BranchListDialog>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, core::Grid::Branches,
            {QStringLiteral("Адрес"), QStringLiteral("Телефон"), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return filialTexts(
                    store_.directory.branches[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Филиалы"));
    connect(ui->showBranchCheck, &QCheckBox::clicked, this, &BranchListDialog::setShowBranch);
    finishSetUp(ui->addButton, ui->editButton, ui->deleteButton, ui->closeButton,
                core::WindowTag::BranchList);
}

BranchListDialog::~BranchListDialog() = default;

void BranchListDialog::refresh() {
    updateButtons();
    showGrid();
    updateShowBranch();
}

void BranchListDialog::fillRecords() {
    setRecords(directory::branchesOf(store_, store_.CurFirm));
}

void BranchListDialog::updateButtons() {
    ui->editButton->setEnabled(!records().empty());
    ui->deleteButton->setEnabled(!records().empty());
}

void BranchListDialog::showGrid() {
    showRecords();
}

void BranchListDialog::updateShowBranch() {
    ui->showBranchCheck->setEnabled(!records().empty());
    ui->showBranchCheck->setChecked(!records().empty() &&
                                    isLinked(store_, store_.CurFirm, currentRecord()));
}

void BranchListDialog::selectRow(int row) {
    OrgRecordsWindow::selectRow(row);
    updateShowBranch();
}

void BranchListDialog::setShowBranch(bool checked) {
    if (!records().empty())
        setLink(store_, store_.CurFirm, currentRecord(), checked);
}

storage::IoResult BranchListDialog::saveTable() {
    return storage::saveBranchesFile(store_);
}

void BranchListDialog::addNew() {
    if (store_.directory.branchCount >= storage::MaxFilials) {
        QMessageBox::warning(this, windowTitle(), filialLimitText());
        return;
    }
    addRecord(&entry_,
              QStringLiteral("Новый филиал для - ") + shortFirmName(store_, store_.CurFirm),
              store_.directory.branchCount,
              [this](const FilialTexts& t) { return addBranch(store_, store_.CurFirm, t); });
}

void BranchListDialog::editCurrent() {
    editRecord(
        &entry_,
        [this](int index) { return filialTexts(store_.directory.branches[std::size_t(index)]); },
        [this](int index, const FilialTexts& t) { return editBranch(store_, index, t); });
}

void BranchListDialog::deleteCurrent() {
    const int index = currentRecord();
    if (index < 0 || !editor::QuestionDialog::ask(
                         this, deleteBranchQuestion(shortFirmName(store_, store_.CurFirm))))
        return;
    const DirectorySnapshot before(store_);
    const unsigned files = deleteBranch(store_, index);
    if (const storage::IoResult r = saveOrUndo(store_, files, before); !r)
        showWriteFailure(this, r.error, QStringLiteral("Филиал не удален."));
    fillRecords();
    refresh();
}

} // namespace directory
