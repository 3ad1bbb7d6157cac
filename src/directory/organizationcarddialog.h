// The organization card window: the details window's boxes, as they stand, turned into 17
// labelled lines that the user may edit, save as a text file or print as plain text.
#pragma once

#include "core/settings.h"

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}
class QPlainTextEdit;
class QToolButton;

namespace Ui {
class OrganizationCardDialog;
}

namespace directory {

class OrganizationDetailsDialog;

class OrganizationCardDialog : public QDialog {
    Q_OBJECT
public:
    // The card shows the boxes of details as they stand when it opens.
    OrganizationCardDialog(storage::Store& store, core::Settings& settings,
                           const OrganizationDetailsDialog& details, QWidget* parent = nullptr);
    ~OrganizationCardDialog() override;

    // "Save": asks for a file name and writes the text, ".txt" appended to the name, lines
    // ended by CR LF in code page 1251, replacing a file of that name. The window stays.
    void saveToFile();
    // Print: prints the text as plain text on the current printer and closes the window.
    void print();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const storage::Store& store_;
    const OrganizationDetailsDialog& details_;
    std::unique_ptr<Ui::OrganizationCardDialog> ui;
};

} // namespace directory
