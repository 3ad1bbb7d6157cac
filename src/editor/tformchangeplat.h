// The yes-or-no question "Заменить платежку": two lines written by the caller, answered with
// "Yes" or "No".
#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace Ui {
class TFormChangePlat;
}

namespace editor {

class TFormChangePlat : public QDialog {
    Q_OBJECT
public:
    explicit TFormChangePlat(QWidget* parent = nullptr);
    ~TFormChangePlat() override;

    // Shows line1 above the question line2 and waits for the answer; true for "Yes".
    // "No" and closing the window answer no.
    bool ask(const QString& line1, const QString& line2);

private:
    // The controls by what they are.
    QPushButton* yesButton() const;
    QPushButton* noButton() const;
    QLabel* firstLine() const;
    QLabel* questionLine() const;

    std::unique_ptr<Ui::TFormChangePlat> ui;
};

} // namespace editor
