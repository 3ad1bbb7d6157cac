#include "cp1251.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace storage::cp1251 {

namespace {

// The 256 characters of the code page, as the codec decodes them one by one, and the way
// back. A byte that the code page leaves undefined decodes to U+FFFD and has no way back.
struct Tables {
    bool valid = false;
    std::array<char16_t, 256> toUni{};
    QHash<char16_t, char> fromUni;

    Tables() {
        QStringDecoder decoder("windows-1251");
        valid = decoder.isValid();
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80 || !valid) {
                toUni[b] = char16_t(b);
            } else {
                const char byte = char(b);
                const QString s = decoder.decode(QByteArrayView(&byte, 1));
                toUni[b] = s.size() == 1 ? s.at(0).unicode() : u'\xFFFD';
            }
            if (toUni[b] != u'\xFFFD')
                fromUni.insert(toUni[b], char(b));
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

bool available() {
    return tables().valid;
}

QString toUnicode(std::string_view bytes) {
    const Tables& t = tables();
    QString out(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar* p = out.data();
    for (unsigned char c : bytes)
        *p++ = QChar(t.toUni[c]);
    return out;
}

QByteArray fromUnicode(const QString& text) {
    const Tables& t = tables();
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    for (QChar c : text)
        *p++ = t.fromUni.value(c.unicode(), '?');
    return out;
}

bool canEncode(QChar c) {
    return tables().fromUni.contains(c.unicode());
}

bool canEncode(const QString& text) {
    for (QChar c : text)
        if (!canEncode(c))
            return false;
    return true;
}

QString keepEncodable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (canEncode(c))
            out.append(c);
    return out;
}

} // namespace storage::cp1251
