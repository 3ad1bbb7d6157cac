#include "tformdelfirm1.h"

#include "ui_tformdelfirm1.h"

#include "editor/uiutil.h"
#include "storage/store.h"

namespace directory {

TFormDelFirm1::TFormDelFirm1(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormDelFirm1>()) {
    ui->setupUi(this);
    namePanel()->setMinimumWidth(420);
    // A name of 128 characters wraps rather than widening the dialog past the screen.
    namePanel()->setWordWrap(true);
    connect(yesButton(), &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton(), &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelFirm1::~TFormDelFirm1() = default;

QPushButton* TFormDelFirm1::yesButton() const {
    return ui->BitBtn1;
}

QPushButton* TFormDelFirm1::noButton() const {
    return ui->BitBtn2;
}

QLabel* TFormDelFirm1::firstLine() const {
    return ui->Label1;
}

QLabel* TFormDelFirm1::secondLine() const {
    return ui->Label2;
}

QLabel* TFormDelFirm1::namePanel() const {
    return ui->Panel1;
}

bool TFormDelFirm1::ask(const QString& line1, const QString& line2) {
    firstLine()->setText(line1);
    secondLine()->setText(line2);
    secondLine()->setVisible(!line2.isEmpty());
    const int cur = store_.CurFirm;
    namePanel()->setText(cur >= 0 && cur < store_.FirmCount
                             ? editor::toUi(store_.Firms[std::size_t(cur)].Name)
                             : QString());
    return editor::showModal(this) == QDialog::Accepted;
}

} // namespace directory
