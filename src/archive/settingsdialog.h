// The settings dialog "FormSet": whether only the saved orders of the current year are loaded,
// and whether the "НДС" group offers the rates of the simplified tax system. It is given the
// settings and gives back what the boxes hold when it is left, by "OK" or by closing its
// window alike: each click counts at once.
#pragma once

#include <QDialog>
#include <memory>

namespace core {
class Settings;
}

namespace Ui {
class SettingsDialog;
}

namespace archive {

struct SettingsChoice {
    bool currentYearOnly = false;
    bool usnVatRates = false;
    bool operator==(const SettingsChoice&) const = default;
};

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);
    ~SettingsDialog() override;

    // Shows choice modally and returns the boxes as the dialog is left.
    SettingsChoice edit(const SettingsChoice& choice);

private:
    std::unique_ptr<Ui::SettingsDialog> ui;
};

// "Set": shows dialog with the settings, takes back what it gives and writes the settings
// file when a setting changed; a failed write is reported over parent.
void editSettings(QWidget* parent, SettingsDialog& dialog, core::Settings& settings);

} // namespace archive
