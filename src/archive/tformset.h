// The settings dialog "FormSet": whether only the saved orders of the current year are loaded.
// The check box changes the setting at once; the editor writes the settings file afterwards
// when it changed.
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}

namespace Ui {
class TFormSet;
}

namespace archive {

class TFormSet : public QDialog {
    Q_OBJECT
public:
    // The check box starts from the setting as loaded at program start.
    explicit TFormSet(storage::Store& store, QWidget* parent = nullptr);
    ~TFormSet() override;

private:
    void CheckBox3Click(bool checked);

    storage::Store& store_;
    std::unique_ptr<Ui::TFormSet> ui;
};

} // namespace archive
