#include "organizationcarddialog.h"

#include "ui_organizationcarddialog.h"

#include "organizationcard.h"

#include "core/programfolder.h"
#include "editor/printtarget.h"
#include "editor/uiutil.h"
#include "render/print/formprint.h"
#include "render/print/printtarget.h"
#include "storage/fileio.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>

namespace directory {

using namespace Qt::StringLiterals;

OrganizationCardDialog::OrganizationCardDialog(const core::ProgramFolder& folder,
                                               core::Settings& settings, QWidget* parent)
    : QDialog(parent), folder_(folder), ui(std::make_unique<Ui::OrganizationCardDialog>()) {
    ui->setupUi(this);
    ui->cardEdit->setAccessibleName(QStringLiteral("Карточка организации"));
    ui->printButton->setIcon(render::printIcon());
    editor::restrictToCp1251(ui->cardEdit);
    ui->cardEdit->setTabStopDistance(cardTabStop(QFontMetricsF(ui->cardEdit->font())));

    connect(ui->saveButton, &QToolButton::clicked, this, &OrganizationCardDialog::saveToFile);
    connect(ui->printButton, &QToolButton::clicked, this, &OrganizationCardDialog::print);

    editor::applyFormSize(this, settings, core::WindowTag::OrganizationCard);
}

OrganizationCardDialog::~OrganizationCardDialog() = default;

void OrganizationCardDialog::setCard(const DetailTexts& boxes) {
    ui->cardEdit->setPlainText(cardLines(boxes).join(u'\n'));
    ui->cardEdit->setFocus();
}

void OrganizationCardDialog::showCard(const DetailTexts& boxes) {
    setCard(boxes);
    editor::showModal(this);
}

void OrganizationCardDialog::saveToFile() {
    // The filter shows the text files under the caption ".txt".
    const QString chosen = QFileDialog::getSaveFileName(
        this, u"Сохранить"_s, folder_.programDir(), u".txt (*.txt)"_s, nullptr,
        QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    const QString path = cardFileName(chosen);
    const storage::IoResult r =
        storage::writeFileAtomic(path, cardFileBytes(textLines(ui->cardEdit->toPlainText())));
    if (!r)
        QMessageBox::critical(this, windowTitle(), r.error);
}

void OrganizationCardDialog::print() {
    const QStringList lines = cardPrintLines(textLines(ui->cardEdit->toPlainText()));
    if (!lines.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        // No printer and no file instead: nothing happened, so the card stays on screen.
        if (!editor::askPrintTarget(printer, this, folder_.programDir()))
            return;
        const QFont font = ui->cardEdit->font();
        const storage::IoResult printed =
            render::printJob(printer, [&](QPainter& painter, QPagedPaintDevice& device) {
                return printTextLines(painter, device, font,
                                      cardTabStop(QFontMetricsF(font), CardIndent), lines);
            });
        // A job that failed printed nothing whole: the card stays on screen.
        if (!printed) {
            QMessageBox::critical(this, u"Печать"_s, printed.error);
            return;
        }
    }
    accept();
}

} // namespace directory
