#include "organizationcard.h"

#include "storage/cp1251.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextOption>

namespace directory {

using namespace Qt::StringLiterals;

QStringList cardLines(const DetailTexts& b) {
    const QChar tab = u'\t';
    return {
        u"Название организации"_s + tab + b[0],
        u"Свидетельство о регистрации"_s + tab + u"Серия "_s + b[1] + u" № "_s + b[2] + u" от "_s +
            b[3] + u" г., выдано "_s + b[4],
        u"ОГРН "_s + tab + b[5],
        u"Юридический адрес"_s + tab + b[6],
        u"Почтовый адрес"_s + tab + b[7],
        u"Телефон"_s + tab + b[8],
        u"Факс"_s + tab + b[9],
        u"E-Mail "_s + tab + b[10],
        // The bank line names the account, the bank's full name, the corr. account and the
        // БИК of the selected slot; the short name is left out.
        u"Банк"_s + tab + u"Р/Сч. "_s + b[11] + u' ' + b[15] + u" К/Сч. "_s + b[12] + u" БИК "_s +
            b[13],
        u"ИНН"_s + tab + b[16],
        u"КПП"_s + tab + b[17],
        u"ОКАТО"_s + tab + b[18],
        u"ОКПО"_s + tab + b[19],
        u"ОКОГУ"_s + tab + b[20],
        u"ОКОПФ"_s + tab + b[21],
        u"ОКФС"_s + tab + b[22],
        u"ОКВЭД"_s + tab + b[23],
    };
}

QStringList textLines(const QString& plainText) {
    if (plainText.isEmpty())
        return {};
    QStringList lines = plainText.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray cardFileBytes(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += storage::cp1251::fromUnicode(line);
        out += "\r\n";
    }
    return out;
}

QString cardFileName(const QString& chosen) {
    return chosen + u".txt"_s;
}

QStringList cardPrintLines(const QStringList& lines) {
    if (lines.isEmpty())
        return {};
    constexpr qsizetype maxLine = 255;
    const QString indent(CardIndent, u' ');
    QStringList out(4, QString());
    for (const QString& line : lines)
        out.append((indent + line).left(maxLine));
    return out;
}

qreal cardTabStop(const QFontMetricsF& metrics, int leadingBlanks) {
    return metrics.horizontalAdvance(QString(leadingBlanks + 4, u' ') +
                                     u"Свидетельство о регистрации"_s);
}

bool printTextLines(QPainter& painter, QPagedPaintDevice& device, const QFont& font, qreal tabStop,
                    const QStringList& lines) {
    painter.setFont(font);
    const qreal pageWidth = device.width();
    const qreal pageHeight = device.height();
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(tabStop);
    const qreal lineHeight = painter.fontMetrics().lineSpacing();
    qreal y = 0;
    for (const QString& line : lines) {
        const QRectF area(0, y, pageWidth, pageHeight);
        const qreal height =
            line.isEmpty() ? lineHeight : painter.boundingRect(area, line, option).height();
        if (y > 0 && y + height > pageHeight) {
            if (!device.newPage())
                return false;
            y = 0;
        }
        if (!line.isEmpty())
            painter.drawText(QRectF(0, y, pageWidth, pageHeight - y), line, option);
        y += height;
    }
    return true;
}

} // namespace directory
