// "Удалить организацию ?": asked by the organization list before it deletes Firms[CurFirm].
// "Yes" asks the further questions (saved orders naming the organization, its branches, its
// employees) through TFormDelFirm1 and, when each is answered "Yes", deletes the organization
// with its branches and employees and writes the files. The window is accepted exactly when
// the organization was deleted.
#pragma once

#include <QDialog>
#include <memory>

namespace storage {
class Store;
}
class QLabel;
class QPushButton;

namespace Ui {
class TFormDelFirm;
}

namespace directory {

class TFormDelFirm1;

class TFormDelFirm : public QDialog {
    Q_OBJECT
public:
    explicit TFormDelFirm(storage::Store& store, QWidget* parent = nullptr);
    ~TFormDelFirm() override;

    // The further question; it is created after this window and handed over once it exists.
    void setQuestion(TFormDelFirm1* question) { question_ = question; }

    void BitBtn1Click(); // "Yes"

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls by what they are.
    QPushButton* yesButton() const;
    QPushButton* noButton() const;
    QLabel* namePanel() const;

    storage::Store& store_;
    TFormDelFirm1* question_ = nullptr;
    std::unique_ptr<Ui::TFormDelFirm> ui;
};

} // namespace directory
