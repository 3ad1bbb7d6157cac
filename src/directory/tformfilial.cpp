#include "tformfilial.h"

#include "ui_tformfilial.h"

#include "directorysave.h"
#include "filials.h"
#include "listwindows.h"
#include "tformaddfilial.h"
#include "tformdelfilial.h"

#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QMessageBox>
#include <QShowEvent>

namespace directory {

TFormFilial::TFormFilial(storage::Store& store, TFormAddFilial& add, TFormDelFilial& del,
                         QWidget* parent)
    : OrgRecordsWindow(store, QStringLiteral("Филиалы - "), parent), add_(add), del_(del),
      ui(std::make_unique<Ui::TFormFilial>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, storage::ColBaseFilials,
            {QStringLiteral("Адрес"), QStringLiteral("Телефон"), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return filialTexts(store_.Filials[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Филиалы"));
    connect(showBranchBox(), &QCheckBox::clicked, this, &TFormFilial::CheckBox1Click);
    finishSetUp(addButton(), editButton(), deleteButton(), closeButton(), storage::TagFormFilial);
}

TFormFilial::~TFormFilial() = default;

QCheckBox* TFormFilial::showBranchBox() const {
    return ui->CheckBox1;
}

QToolButton* TFormFilial::addButton() const {
    return ui->SpeedButton1;
}

QToolButton* TFormFilial::editButton() const {
    return ui->SpeedButton2;
}

QToolButton* TFormFilial::deleteButton() const {
    return ui->SpeedButton3;
}

QToolButton* TFormFilial::closeButton() const {
    return ui->SpeedButton4;
}

void TFormFilial::refresh() {
    SetBut();
    SetGreed();
    SetCheckBox();
}

void TFormFilial::FillFilial() {
    setRecords(directory::FillFilial(store_, store_.CurFirm));
}

void TFormFilial::SetBut() {
    editButton()->setEnabled(!records().empty());
    deleteButton()->setEnabled(!records().empty());
}

void TFormFilial::SetGreed() {
    showRecords();
}

void TFormFilial::SetCheckBox() {
    showBranchBox()->setEnabled(!records().empty());
    showBranchBox()->setChecked(!records().empty() &&
                                isLinked(store_, store_.CurFirm, currentRecord()));
}

void TFormFilial::StringGrid1Click(int row) {
    OrgRecordsWindow::StringGrid1Click(row);
    SetCheckBox();
}

void TFormFilial::CheckBox1Click(bool checked) {
    if (!records().empty())
        setLink(store_, store_.CurFirm, currentRecord(), checked);
}

storage::IoResult TFormFilial::saveTable() {
    return storage::SaveFileFilial(store_);
}

void TFormFilial::SpeedButton1Click() {
    if (store_.FilialCount >= storage::MaxFilials) {
        QMessageBox::warning(this, windowTitle(), filialLimitText());
        return;
    }
    addRecord(&add_, QStringLiteral("Новый филиал для - ") + shortFirmName(store_, store_.CurFirm),
              store_.FilialCount,
              [this](const FilialTexts& t) { return AddFilial(store_, store_.CurFirm, t); });
}

void TFormFilial::SpeedButton2Click() {
    editRecord(
        &add_, [this](int index) { return filialTexts(store_.Filials[std::size_t(index)]); },
        [this](int index, const FilialTexts& t) { return EditFilial(store_, index, t); });
}

void TFormFilial::SpeedButton3Click() {
    const int index = currentRecord();
    if (index < 0 || !del_.confirm(shortFirmName(store_, store_.CurFirm)))
        return;
    const DirectorySnapshot before(store_);
    const unsigned files = DeleteFilial(store_, index);
    if (const storage::IoResult r = SaveOrUndo(store_, files, before); !r)
        showWriteFailure(this, r.error, QStringLiteral("Филиал не удален."));
    FillFilial();
    refresh();
}

} // namespace directory
