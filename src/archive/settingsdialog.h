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
class SettingsDialog;
}

namespace archive {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The check boxes start from the settings as loaded at program start.
    explicit SettingsDialog(storage::Store& store, QWidget* parent = nullptr);
    ~SettingsDialog() override;

private:
    void setCurrentYearOnly(bool checked);

    storage::Store& store_;
    std::unique_ptr<Ui::SettingsDialog> ui;
};

} // namespace archive
