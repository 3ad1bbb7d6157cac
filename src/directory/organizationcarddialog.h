// The organization card window: the details window's boxes, as they stand, turned into 17
// labelled lines that the user may edit, save as a text file or print as plain text.
#pragma once

#include "organizationdetails.h"

#include "core/settings.h"

#include <QDialog>
#include <memory>

class QPlainTextEdit;
class QToolButton;

namespace Ui {
class OrganizationCardDialog;
}

namespace directory {

class OrganizationCardDialog : public QDialog {
    Q_OBJECT
public:
    OrganizationCardDialog(const core::ProgramFolder& folder, core::Settings& settings,
                           QWidget* parent = nullptr);
    ~OrganizationCardDialog() override;

    // Shows the card of the details boxes modally.
    void showCard(const DetailTexts& boxes);
    // The card's text for boxes, for a window shown without waiting.
    void setCard(const DetailTexts& boxes);

    // "Save": asks for a file name and writes the text, ".txt" appended to the name, lines
    // ended by CR LF in code page 1251, replacing a file of that name. The window stays.
    void saveToFile();
    // Print: prints the text as plain text on the current printer and closes the window.
    void print();

private:
    const core::ProgramFolder& folder_;
    std::unique_ptr<Ui::OrganizationCardDialog> ui;
};

} // namespace directory
