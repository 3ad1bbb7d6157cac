#include "tformsave.h"

#include "ui_tformsave.h"

#include "firmcard.h"
#include "tformrekvizit.h"

#include "editor/printtarget.h"
#include "editor/uiutil.h"
#include "render/print/formprint.h"
#include "render/print/printtarget.h"
#include "storage/fileio.h"
#include "storage/store.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QShowEvent>

namespace directory {

using namespace Qt::StringLiterals;

TFormSave::TFormSave(storage::Store& store, const TFormRekvizit& details, QWidget* parent)
    : QDialog(parent), store_(store), details_(details), ui(std::make_unique<Ui::TFormSave>()) {
    ui->setupUi(this);
    cardText()->setAccessibleName(QStringLiteral("Карточка организации"));
    printButton()->setIcon(render::printIcon());
    editor::restrictToCp1251(cardText());
    cardText()->setTabStopDistance(cardTabStop(QFontMetricsF(cardText()->font())));

    connect(saveButton(), &QToolButton::clicked, this, &TFormSave::SpeedButton1Click);
    connect(printButton(), &QToolButton::clicked, this, &TFormSave::SpeedButton2Click);

    editor::applyFormSize(this, store, storage::TagFormSave);
}

TFormSave::~TFormSave() = default;

QPlainTextEdit* TFormSave::cardText() const {
    return ui->Memo1;
}

QToolButton* TFormSave::saveButton() const {
    return ui->SpeedButton1;
}

QToolButton* TFormSave::printButton() const {
    return ui->SpeedButton2;
}

void TFormSave::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    cardText()->setPlainText(cardLines(details_.boxTexts()).join(u'\n'));
    cardText()->setFocus();
}

void TFormSave::SpeedButton1Click() {
    // The filter shows the text files under the caption ".txt".
    const QString chosen = QFileDialog::getSaveFileName(
        this, u"Сохранить"_s, store_.ProgramDir, u".txt (*.txt)"_s, nullptr,
        QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return;
    const QString path = cardFileName(chosen);
    const storage::IoResult r =
        storage::writeFileAtomic(path, cardFileBytes(textLines(cardText()->toPlainText())));
    if (!r)
        QMessageBox::critical(this, windowTitle(), r.error);
}

void TFormSave::SpeedButton2Click() {
    const QStringList lines = cardPrintLines(textLines(cardText()->toPlainText()));
    if (!lines.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        // No printer and no file instead: nothing happened, so the card stays on screen.
        if (!editor::askPrintTarget(printer, this, store_.ProgramDir))
            return;
        const QFont font = cardText()->font();
        const storage::IoResult printed =
            render::PrintJob(printer, [&](QPainter& painter, QPagedPaintDevice& device) {
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
