#include "printtarget.h"

#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>

namespace render {

using namespace Qt::StringLiterals;

namespace {

const QString printTitle = u"Печать"_s;

// Asks for the PDF file that stands in for a missing printer; empty when cancelled.
QString askPdfFile(QWidget* parent) {
    QFileDialog dialog(parent, u"Сохранить в файл PDF"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(u"PDF (*.pdf)"_s);
    dialog.setDefaultSuffix(u"pdf"_s);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QPrinterInfo currentPrinter() {
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (!def.isNull())
        return def;
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QPrinterInfo() : all.constFirst();
}

bool preparePrintTarget(QPrinter& printer, QWidget* parent) {
    const QPrinterInfo info = currentPrinter();
    if (!info.isNull()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        // Naming the printer again would reset its settings to the printer's defaults.
        if (printer.printerName() != info.printerName())
            printer.setPrinterName(info.printerName());
        return true;
    }
    const auto answer = QMessageBox::question(
        parent, printTitle, u"Принтер не установлен.\nСохранить документ в файл PDF?"_s,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    QString file = askPdfFile(parent);
    if (file.isEmpty())
        return false;
    if (!file.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        file += u".pdf"_s;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return true;
}

QIcon printIcon() {
    const QIcon themed = QIcon::fromTheme(u"document-print"_s);
    if (!themed.isNull())
        return themed;
    // A printer seen from the front: paper in, body, tray with a printed sheet.
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 7));
    p.setBrush(QColor(150, 150, 150));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    p.drawLine(QPointF(8.5, 17.5), QPointF(15.5, 17.5));
    p.drawLine(QPointF(8.5, 19.5), QPointF(13.5, 19.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 200, 80));
    p.drawEllipse(QPointF(18.5, 12), 1, 1);
    p.end();
    return QIcon(pm);
}

} // namespace render
