// The further question before an organization is deleted, "Все равно удалить ?": two lines
// that say what was found (saved orders, branches or employees), the organization's name in
// a panel, "Yes" and "No".
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}
class QLabel;
class QPushButton;

namespace Ui {
class TFormDelFirm1;
}

namespace directory {

class TFormDelFirm1 : public QDialog {
    Q_OBJECT
public:
    explicit TFormDelFirm1(storage::Store& store, QWidget* parent = nullptr);
    ~TFormDelFirm1() override;

    // Shows the two lines over the question with the name of Firms[CurFirm] and waits for
    // the answer; true for "Yes". "No" and closing the window answer no.
    bool ask(const QString& line1, const QString& line2);

private:
    // The controls by what they are.
    QPushButton* yesButton() const;
    QPushButton* noButton() const;
    QLabel* firstLine() const;
    QLabel* secondLine() const;
    QLabel* namePanel() const;

    storage::Store& store_;
    std::unique_ptr<Ui::TFormDelFirm1> ui;
};

} // namespace directory
