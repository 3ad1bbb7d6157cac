// The branches of the current organization Firms[CurFirm] ("Филиалы - ..."): added through
// TFormAddFilial, edited, deleted through TFormDelFilial, and one of them linked to the
// organization with "Show", so that the organization list shows its contacts. Every change of
// the branch table is written at once; a deletion that moves organizations' links writes the
// directory too.
#pragma once

#include "recordwindows.h"

#include <memory>

class QCheckBox;
class QToolButton;

namespace Ui {
class TFormFilial;
}

namespace directory {

class TFormAddFilial;
class TFormDelFilial;

class TFormFilial : public OrgRecordsWindow {
    Q_OBJECT
public:
    TFormFilial(storage::Store& store, TFormAddFilial& add, TFormDelFilial& del,
                QWidget* parent = nullptr);
    ~TFormFilial() override;

    // Collects the organization's branches; the first becomes current.
    void FillFilial();
    // Bring the buttons, the grid and "Show" in line with the branches.
    void SetBut();
    void SetGreed();
    void SetCheckBox();

    void SpeedButton1Click() override; // Add
    void SpeedButton2Click() override; // Edit
    void SpeedButton3Click() override; // Del
    void CheckBox1Click(bool checked);
    void StringGrid1Click(int row) override;

private:
    // The controls by what they are.
    QCheckBox* showBranchBox() const;
    QToolButton* addButton() const;
    QToolButton* editButton() const;
    QToolButton* deleteButton() const;
    QToolButton* closeButton() const;

    void fillRecords() override { FillFilial(); }
    void refresh() override;
    storage::IoResult saveTable() override;

    TFormAddFilial& add_;
    TFormDelFilial& del_;
    std::unique_ptr<Ui::TFormFilial> ui;
};

} // namespace directory
