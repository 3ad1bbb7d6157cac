// The settings dialog "FormSet": whether only the saved orders of the current year are loaded,
// and whether the "НДС" group offers the rates of the simplified tax system. The check boxes
// change the settings at once; the editor writes the settings file afterwards when they
// changed.
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}

class QCheckBox;
class QToolButton;

namespace Ui {
class TFormSet;
}

namespace archive {

class TFormSet : public QDialog {
    Q_OBJECT
public:
    // The check boxes start from the settings as loaded at program start.
    explicit TFormSet(storage::Store& store, QWidget* parent = nullptr);
    ~TFormSet() override;

private:
    // The controls by what they are.
    QCheckBox* currentYearBox() const;
    QCheckBox* usnRatesBox() const;
    QToolButton* okButton() const;

    void CheckBox3Click(bool checked);

    storage::Store& store_;
    std::unique_ptr<Ui::TFormSet> ui;
};

} // namespace archive
