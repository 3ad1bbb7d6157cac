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
    : OrgRecordsWindow(store, QStringLiteral("Сотрудники - "), parent),
      ui(std::make_unique<Ui::TFormEmpl>()) {
    ui->setupUi(this);
    addGrid(ui->gridPlace, storage::ColBaseEmployees,
            {QStringLiteral("Должность"), QStringLiteral("Фамилия"), QStringLiteral("Имя"),
             QStringLiteral("Отчество"), QStringLiteral("Тел.раб."), QStringLiteral("Тел.сот."),
             QStringLiteral("Тел.внутр."), QStringLiteral("E-Mail")},
            [this](int index, int column) {
                return emplTexts(store_.Employees[std::size_t(index)])[std::size_t(column)];
            });
    grid()->setAccessibleName(QStringLiteral("Сотрудники"));
    finishSetUp(addButton(), editButton(), deleteButton(), closeButton(), storage::TagFormEmpl);
}

TFormEmpl::~TFormEmpl() = default;

QToolButton* TFormEmpl::addButton() const {
    return ui->SpeedButton1;
}

QToolButton* TFormEmpl::editButton() const {
    return ui->SpeedButton2;
}

QToolButton* TFormEmpl::deleteButton() const {
    return ui->SpeedButton3;
}

QToolButton* TFormEmpl::closeButton() const {
    return ui->SpeedButton4;
}

void TFormEmpl::refresh() {
    SetBut();
    SetGreed();
}

void TFormEmpl::FillEmpl() {
    setRecords(directory::FillEmpl(store_, store_.CurFirm));
}

void TFormEmpl::SetBut() {
    addButton()->setEnabled(emplTableHasRoom(store_));
    editButton()->setEnabled(!records().empty());
    deleteButton()->setEnabled(!records().empty());
}

void TFormEmpl::SetGreed() {
    showRecords();
}

storage::IoResult TFormEmpl::saveTable() {
    return storage::SaveFileEmpl(store_);
}

void TFormEmpl::SpeedButton1Click() {
    if (emplTableHasRoom(store_))
        addRecord(add_, QStringLiteral("Новый сотрудник"), store_.EmplCount,
                  [this](const EmplTexts& t) { return AddEmpl(store_, store_.CurFirm, t); });
}

void TFormEmpl::SpeedButton2Click() {
    editRecord(
        add_, [this](int index) { return emplTexts(store_.Employees[std::size_t(index)]); },
        [this](int index, const EmplTexts& t) { return EditEmpl(store_, index, t); });
}

void TFormEmpl::SpeedButton3Click() {
    TFormDelEmpl* del = del_;
    const int index = currentRecord();
    if (index < 0 || !del ||
        !del->confirm(editor::toUi(store_.Employees[std::size_t(index)].Surname)))
        return;
    DeleteEmpl(store_, index);
    FillEmpl();
    refresh();
    saveRecords();
}

} // namespace directory
