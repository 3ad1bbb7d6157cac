#include "tformempl.h"

#include "ui_tformempl.h"

#include "directorysave.h"
#include "employees.h"
#include "listwindows.h"
#include "tformaddempl.h"
#include "tformdelempl.h"

#include "editor/uiutil.h"
#include "storage/datafiles.h"
#include "storage/store.h"

#include <QShowEvent>

namespace directory {

TFormEmpl::TFormEmpl(storage::Store& store, QWidget* parent)
    : OrgRecordsWindow(store, parent), ui(std::make_unique<Ui::TFormEmpl>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, storage::ColBaseEmployees,
            {QStringLiteral("Должность"), QStringLiteral("Фамилия"), QStringLiteral("Имя"),
             QStringLiteral("Отчество"), QStringLiteral("Тел.раб."), QStringLiteral("Тел.сот."),
             QStringLiteral("Тел.внутр."), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return emplTexts(store_.Employees[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Сотрудники"));
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TFormEmpl::SpeedButton1Click);
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TFormEmpl::SpeedButton2Click);
    connect(ui->SpeedButton3, &QToolButton::clicked, this, &TFormEmpl::SpeedButton3Click);
    connect(ui->SpeedButton4, &QToolButton::clicked, this, &QDialog::close);
    editor::applyFormSize(this, store_, storage::TagFormEmpl);
    fitColumnsWhenUnsized(this, grid(), store_, storage::TagFormEmpl);
}

TFormEmpl::~TFormEmpl() = default;

void TFormEmpl::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again after being minimised: nothing changed meanwhile
    setWindowTitle(QStringLiteral("Сотрудники - ") + shortFirmName(store_, store_.CurFirm));
    FillEmpl();
    SetBut();
    SetGreed();
}

void TFormEmpl::FillEmpl() {
    setRecords(directory::FillEmpl(store_, store_.CurFirm));
}

void TFormEmpl::SetBut() {
    ui->SpeedButton1->setEnabled(emplTableHasRoom(store_));
    ui->SpeedButton2->setEnabled(!records().empty());
    ui->SpeedButton3->setEnabled(!records().empty());
}

void TFormEmpl::SetGreed() {
    showRecords();
}

void TFormEmpl::saveEmployees() {
    if (const storage::IoResult r = storage::SaveFileEmpl(store_); !r)
        showWriteFailure(this, r.error, keptInMemoryNote());
}

void TFormEmpl::SpeedButton1Click() {
    TFormAddEmpl* add = add_;
    if (!add || !emplTableHasRoom(store_) ||
        !add->showFor(QStringLiteral("Новый сотрудник"), EmplTexts{}))
        return;
    const int index = store_.EmplCount;
    if (!AddEmpl(store_, store_.CurFirm, add->texts()))
        return;
    appendRecord(index);
    SetBut();
    SetGreed();
    saveEmployees();
}

void TFormEmpl::SpeedButton2Click() {
    TFormAddEmpl* add = add_;
    const int index = currentRecord();
    if (index < 0 || !add ||
        !add->showFor(QStringLiteral("Редактирование"),
                      emplTexts(store_.Employees[std::size_t(index)])))
        return;
    if (!EditEmpl(store_, index, add->texts()))
        return;
    grid()->refresh();
    saveEmployees();
}

void TFormEmpl::SpeedButton3Click() {
    TFormDelEmpl* del = del_;
    const int index = currentRecord();
    if (index < 0 || !del ||
        !del->confirm(editor::toUi(store_.Employees[std::size_t(index)].Surname)))
        return;
    DeleteEmpl(store_, index);
    FillEmpl();
    SetBut();
    SetGreed();
    saveEmployees();
}

} // namespace directory
