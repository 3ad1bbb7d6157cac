// The organization card: a plain text of labelled lines built from the details window's
// boxes, the bytes of the text file it is saved as, and the lines it is printed as.
#pragma once

#include "organizationdetails.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QFont;
class QFontMetricsF;
class QPagedPaintDevice;
class QPainter;

namespace directory {

inline constexpr int CardLineCount = 17;
// Blanks before each printed line.
inline constexpr int CardIndent = 6;

// The 17 lines of the card: each a label, a tab and the texts of one or more boxes.
QStringList cardLines(const DetailTexts& boxes);

// The lines of a text area as its plain text holds them: lines are separated by line breaks,
// an empty text has no line and a break at the very end opens no further line.
QStringList textLines(const QString& plainText);

// The card file: every line in code page 1251 followed by CR LF.
QByteArray cardFileBytes(const QStringList& lines);

// The name the card is saved under: the chosen name with ".txt" appended, always.
QString cardFileName(const QString& chosen);

// What the card prints: four empty lines, then each line after six blanks, every printed
// line cut to 255 characters. No lines print nothing at all.
QStringList cardPrintLines(const QStringList& lines);

// The tab stop distance that lines the card's texts up in one column after its longest label,
// with leadingBlanks blanks before each label.
qreal cardTabStop(const QFontMetricsF& metrics, int leadingBlanks = 0);

// Prints lines as a plain text device does: in font, one under the other from the top of
// the printable area, a new page when the next line does not fit. A line wider than the
// page goes on below rather than off the paper. tabStop is the distance between tab stops as
// QFontMetricsF(font) measures, without a device: Qt scales it to the device's resolution.
// painter is active on device. False when a new page could not be begun.
bool printTextLines(QPainter& painter, QPagedPaintDevice& device, const QFont& font, qreal tabStop,
                    const QStringList& lines);

} // namespace directory
