#include "tformdelplat.h"

#include "platlist.h"
#include "ui_tformdelplat.h"

#include "editor/uiutil.h"
#include "storage/platfile.h"
#include "storage/store.h"

#include <QFileInfo>
#include <QMessageBox>

namespace archive {

TFormDelPlat::TFormDelPlat(storage::Store& store, QWidget* parent)
    : QDialog(parent), store_(store), ui(std::make_unique<Ui::TFormDelPlat>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    connect(yesButton(), &QPushButton::clicked, this, &TFormDelPlat::BitBtn1Click);
    connect(noButton(), &QPushButton::clicked, this, &QDialog::reject);
}

TFormDelPlat::~TFormDelPlat() = default;

QPushButton* TFormDelPlat::yesButton() const {
    return ui->BitBtn1;
}

QPushButton* TFormDelPlat::noButton() const {
    return ui->BitBtn2;
}

QLabel* TFormDelPlat::orderPanel() const {
    return ui->Panel1;
}

std::optional<int> TFormDelPlat::ask(int curPlat) {
    if (curPlat < 0 || curPlat >= store_.PlatCount)
        return std::nullopt;
    orderPanel()->setText(DeletionPanelText(store_.PlatList[std::size_t(curPlat)]));
    curPlat_ = curPlat;
    const bool deleted = editor::showModal(this) == QDialog::Accepted;
    curPlat_ = -1;
    return deleted ? std::optional<int>(nextPlat_) : std::nullopt;
}

void TFormDelPlat::BitBtn1Click() {
    if (curPlat_ < 0 || curPlat_ >= store_.PlatCount)
        return;
    const storage::TPlatItem& entry = store_.PlatList[std::size_t(curPlat_)];
    // An order whose file has gone is not deleted; "No" leaves the dialog.
    if (!QFileInfo::exists(store_.PlatDir + QString::fromLatin1(entry.FileName.bytes())))
        return;
    if (storage::IoResult r = storage::MovePlatToDeleted(store_, entry.FileName.view()); !r) {
        QMessageBox::critical(this, windowTitle(),
                              r.error + QStringLiteral("\nПлатежка не удалена."));
        reject();
        return;
    }
    nextPlat_ = RemovePlatEntry(store_, curPlat_);
    accept();
}

} // namespace archive
