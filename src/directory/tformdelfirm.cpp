#include "tformdelfirm.h"

#include "ui_tformdelfirm.h"

#include "firmlist.h"
#include "listwindows.h"
#include "tformdelfirm1.h"

#include "editor/uiutil.h"
#include "storage/store.h"

#include <QShowEvent>

namespace directory {

TFormDelFirm::TFormDelFirm(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormDelFirm>()) {
    ui->setupUi(this);
    namePanel()->setMinimumWidth(360);
    // A name of 128 characters wraps rather than widening the dialog past the screen.
    namePanel()->setWordWrap(true);
    connect(yesButton(), &QPushButton::clicked, this, &TFormDelFirm::BitBtn1Click);
    connect(noButton(), &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelFirm::~TFormDelFirm() = default;

QPushButton* TFormDelFirm::yesButton() const {
    return ui->BitBtn1;
}

QPushButton* TFormDelFirm::noButton() const {
    return ui->BitBtn2;
}

QLabel* TFormDelFirm::namePanel() const {
    return ui->Panel1;
}

void TFormDelFirm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const int cur = store_.CurFirm;
    namePanel()->setText(cur >= 0 && cur < store_.FirmCount
                             ? editor::toUi(store_.Firms[std::size_t(cur)].Name)
                             : QString());
}

void TFormDelFirm::BitBtn1Click() {
    const int firm = store_.CurFirm;
    if (firm < 0 || firm >= store_.FirmCount) {
        reject();
        return;
    }
    for (const DeletionQuestion& q : DeletionQuestions(store_, firm)) {
        if (!question_ || !question_->ask(q.line1, q.line2)) {
            reject();
            return;
        }
    }
    if (const storage::IoResult r = DeleteFirmAndSave(store_, firm); !r) {
        showWriteFailure(this, r.error, QStringLiteral("Организация не удалена."));
        reject();
        return;
    }
    accept();
}

} // namespace directory
