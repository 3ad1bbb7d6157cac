// Conversion between the code page 1251 bytes of the records and Unicode for the user
// interface. The tables are taken once from Qt's "windows-1251" codec; nothing is converted
// anywhere else.
#pragma once

#include "shortstr.h"

#include <QByteArray>
#include <QString>
#include <string_view>

namespace storage::cp1251 {

// True when the platform's codec for code page 1251 is available (checked once at start).
bool available();

QString toUnicode(std::string_view bytes);
inline QString toUnicode(const QByteArray& bytes) {
    return toUnicode(std::string_view(bytes.constData(), bytes.size()));
}

template <std::size_t N> QString toUnicode(const ShortStr<N>& field) {
    return toUnicode(field.view());
}

// Converts to code page 1251. A character that the code page cannot hold becomes '?';
// the user interface keeps such characters out of the text boxes in the first place.
QByteArray fromUnicode(const QString& text);

// Stores text in a record's field as code page 1251, cut to the field's capacity.
template <std::size_t N> void store(const QString& text, ShortStr<N>& field) {
    field.assign(fromUnicode(text.left(qsizetype(N))));
}

// True when every character of text has a code page 1251 byte.
bool canEncode(QChar c);
bool canEncode(const QString& text);

// text without the characters that code page 1251 cannot hold.
QString keepEncodable(const QString& text);

// Code page 1251 letter case: а..я (0xE0..0xFF) are the capitals А..Я (0xC0..0xDF) plus 32.
inline bool isLowerCyrillic(unsigned char c) {
    return c >= 0xE0;
}

// The byte that search compares for a code page 1251 character: capital letters become small
// ones (Latin, Cyrillic and the other letters of the code page) and ё becomes е, so that a
// search for "ооо" finds "ООО" and "елка" finds "Ёлка". Other characters stay as they are.
char foldForSearch(char c);
// text folded character by character into out, which holds text.size() bytes.
void foldForSearch(std::string_view text, char* out);

} // namespace storage::cp1251
