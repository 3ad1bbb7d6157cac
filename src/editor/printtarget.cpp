#include "printtarget.h"

#include "render/print/printtarget.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>

namespace editor {

using namespace Qt::StringLiterals;

namespace {

// Asks for the PDF file that stands in for a missing printer; empty when cancelled.
QString askPdfFile(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, u"Сохранить в файл PDF"_s, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(u"PDF (*.pdf)"_s);
    dialog.setDefaultSuffix(u"pdf"_s);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

bool askPrintTarget(QPrinter& printer, QWidget* parent, const QString& folder) {
    if (render::useCurrentPrinter(printer))
        return true;
    const auto answer = QMessageBox::question(
        parent, u"Печать"_s, u"Принтер не установлен.\nСохранить документ в файл PDF?"_s,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    const QString file = askPdfFile(parent, folder);
    if (file.isEmpty())
        return false;
    render::usePdfFile(printer, file);
    return true;
}

} // namespace editor
