// The employees of the current organization Firms[CurFirm] ("Сотрудники - ..."): added and
// edited through TFormAddEmpl, deleted through TFormDelEmpl. Every change of the employee
// table is written at once. "Add" is disabled while the table of all organizations' employees
// is full.
#pragma once

#include "recordwindows.h"

#include <memory>

class QToolButton;

namespace Ui {
class TFormEmpl;
}

namespace directory {

class TFormAddEmpl;
class TFormDelEmpl;

class TFormEmpl : public OrgRecordsWindow {
    Q_OBJECT
public:
    explicit TFormEmpl(storage::Store& store, QWidget* parent = nullptr);
    ~TFormEmpl() override;

    // The entry and deletion dialogs; they are created after this window and handed over once
    // they exist.
    void setDialogs(TFormAddEmpl* add, TFormDelEmpl* del) {
        add_ = add;
        del_ = del;
    }

    // Collects the organization's employees; the first becomes current.
    void FillEmpl();
    // Bring the buttons and the grid in line with the employees.
    void SetBut();
    void SetGreed();

    void SpeedButton1Click() override; // Add
    void SpeedButton2Click() override; // Edit
    void SpeedButton3Click() override; // Del

private:
    // The controls by what they are.
    QToolButton* addButton() const;
    QToolButton* editButton() const;
    QToolButton* deleteButton() const;
    QToolButton* closeButton() const;

    void fillRecords() override { FillEmpl(); }
    void refresh() override;
    storage::IoResult saveTable() override;

    TFormAddEmpl* add_ = nullptr;
    TFormDelEmpl* del_ = nullptr;
    std::unique_ptr<Ui::TFormEmpl> ui;
};

} // namespace directory
