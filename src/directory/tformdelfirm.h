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
namespace editor {
struct Windows;
}
namespace Ui {
class TFormDelFirm;
}

namespace directory {

class TFormDelFirm : public QDialog {
    Q_OBJECT
public:
    TFormDelFirm(storage::Store& store, editor::Windows& windows, QWidget* parent = nullptr);
    ~TFormDelFirm() override;

    void BitBtn1Click(); // "Yes"

protected:
    void showEvent(QShowEvent* event) override;

private:
    storage::Store& store_;
    editor::Windows& windows_;
    std::unique_ptr<Ui::TFormDelFirm> ui;
};

} // namespace directory
