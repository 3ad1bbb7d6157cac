#include "tformdelfirm1.h"

#include "ui_tformdelfirm1.h"

#include "editor/uiutil.h"
#include "storage/store.h"

namespace directory {

TFormDelFirm1::TFormDelFirm1(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormDelFirm1>()) {
    ui->setupUi(this);
    ui->Panel1->setMinimumWidth(420);
    // A name of 128 characters wraps rather than widening the dialog past the screen.
    ui->Panel1->setWordWrap(true);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelFirm1::~TFormDelFirm1() = default;

bool TFormDelFirm1::ask(const QString& line1, const QString& line2) {
    ui->Label1->setText(line1);
    ui->Label2->setText(line2);
    ui->Label2->setVisible(!line2.isEmpty());
    const int cur = store_.CurFirm;
    ui->Panel1->setText(cur >= 0 && cur < store_.FirmCount
                            ? editor::toUi(store_.Firms[std::size_t(cur)].Name)
                            : QString());
    return editor::showModal(this) == QDialog::Accepted;
}

} // namespace directory
