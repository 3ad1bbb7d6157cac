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
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TFormFilial::CheckBox1Click);
    finishSetUp(ui->SpeedButton1, ui->SpeedButton2, ui->SpeedButton3, ui->SpeedButton4,
                storage::TagFormFilial);
}

TFormFilial::~TFormFilial() = default;

void TFormFilial::refresh() {
    SetBut();
    SetGreed();
    SetCheckBox();
}

void TFormFilial::FillFilial() {
    setRecords(directory::FillFilial(store_, store_.CurFirm));
}

void TFormFilial::SetBut() {
    ui->SpeedButton2->setEnabled(!records().empty());
    ui->SpeedButton3->setEnabled(!records().empty());
}

void TFormFilial::SetGreed() {
    showRecords();
}

void TFormFilial::SetCheckBox() {
    ui->CheckBox1->setEnabled(!records().empty());
    ui->CheckBox1->setChecked(!records().empty() &&
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
