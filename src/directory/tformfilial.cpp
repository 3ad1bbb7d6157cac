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
    : OrgRecordsWindow(store, parent), add_(add), del_(del),
      ui(std::make_unique<Ui::TFormFilial>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, storage::ColBaseFilials,
            {QStringLiteral("Адрес"), QStringLiteral("Телефон"), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return filialTexts(store_.Filials[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Филиалы"));
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TFormFilial::SpeedButton1Click);
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TFormFilial::SpeedButton2Click);
    connect(ui->SpeedButton3, &QToolButton::clicked, this, &TFormFilial::SpeedButton3Click);
    connect(ui->SpeedButton4, &QToolButton::clicked, this, &QDialog::close);
    connect(ui->CheckBox1, &QCheckBox::clicked, this, &TFormFilial::CheckBox1Click);
    editor::applyFormSize(this, store_, storage::TagFormFilial);
    fitColumnsWhenUnsized(this, grid(), store_, storage::TagFormFilial);
}

TFormFilial::~TFormFilial() = default;

void TFormFilial::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing changed meanwhile
    setWindowTitle(QStringLiteral("Филиалы - ") + shortFirmName(store_, store_.CurFirm));
    FillFilial();
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

void TFormFilial::saveFilials() {
    if (const storage::IoResult r = storage::SaveFileFilial(store_); !r)
        showWriteFailure(this, r.error, keptInMemoryNote());
}

void TFormFilial::SpeedButton1Click() {
    if (store_.FilialCount >= storage::MaxFilials) {
        QMessageBox::warning(this, windowTitle(), filialLimitText());
        return;
    }
    if (!add_.showFor(QStringLiteral("Новый филиал для - ") + shortFirmName(store_, store_.CurFirm),
                      FilialTexts{}))
        return;
    const int index = store_.FilialCount;
    if (!AddFilial(store_, store_.CurFirm, add_.texts()))
        return;
    appendRecord(index);
    SetBut();
    SetGreed();
    SetCheckBox();
    saveFilials();
}

void TFormFilial::SpeedButton2Click() {
    const int index = currentRecord();
    if (index < 0 || !add_.showFor(QStringLiteral("Редактирование"),
                                   filialTexts(store_.Filials[std::size_t(index)])))
        return;
    if (!EditFilial(store_, index, add_.texts()))
        return;
    grid()->refresh();
    saveFilials();
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
    SetBut();
    SetGreed();
    SetCheckBox();
}

} // namespace directory
