#include "printtarget.h"

#include <QIcon>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>

namespace render {

using namespace Qt::StringLiterals;

QPrinterInfo currentPrinter() {
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (!def.isNull())
        return def;
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QPrinterInfo() : all.constFirst();
}

bool useCurrentPrinter(QPrinter& printer) {
    const QPrinterInfo info = currentPrinter();
    if (info.isNull())
        return false;
    printer.setOutputFormat(QPrinter::NativeFormat);
    // Naming the printer again would reset its settings to the printer's defaults.
    if (printer.printerName() != info.printerName())
        printer.setPrinterName(info.printerName());
    return true;
}

void usePdfFile(QPrinter& printer, QString path) {
    if (!path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        path += u".pdf"_s;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
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
