// The organization card window: the details window's boxes, as they stand, turned into 17
// labelled lines that the user may edit, save as a text file or print as plain text.
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}
class QPlainTextEdit;
class QToolButton;

namespace Ui {
class TFormSave;
}

namespace directory {

class TFormRekvizit;

class TFormSave : public QDialog {
    Q_OBJECT
public:
    // The card shows the boxes of details as they stand when it opens.
    TFormSave(storage::Store& store, const TFormRekvizit& details, QWidget* parent = nullptr);
    ~TFormSave() override;

    // "Save": asks for a file name and writes the text, ".txt" appended to the name, lines
    // ended by CR LF in code page 1251, replacing a file of that name. The window stays.
    void SpeedButton1Click();
    // Print: prints the text as plain text on the current printer and closes the window.
    void SpeedButton2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls by what they are.
    QPlainTextEdit* cardText() const;
    QToolButton* saveButton() const;
    QToolButton* printButton() const;

    const storage::Store& store_;
    const TFormRekvizit& details_;
    std::unique_ptr<Ui::TFormSave> ui;
};

} // namespace directory
