#include "cp1251.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

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

namespace {

struct FoldTable {
    std::array<char, 256> to{};
    constexpr FoldTable() {
        for (int b = 0; b < 256; ++b)
            to[std::size_t(b)] = char(b);
        for (int b = 'A'; b <= 'Z'; ++b)
            to[std::size_t(b)] = char(b + 32);
        for (int b = 0xC0; b <= 0xDF; ++b) // А..Я
            to[std::size_t(b)] = char(b + 32);
        // The capitals of the other letters of the code page, and ё taken as е.
        constexpr std::pair<int, int> pairs[] = {
            {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E},
            {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xAA, 0xBA}, {0xAF, 0xBF},
            {0xB2, 0xB3}, {0xBD, 0xBE}, {0xA8, 0xE5}, {0xB8, 0xE5}};
        for (const auto& [capital, small] : pairs)
            to[std::size_t(capital)] = char(small);
    }
};
constexpr FoldTable foldTable;

} // namespace

char foldForSearch(char c) {
    return foldTable.to[static_cast<unsigned char>(c)];
}

namespace {

constexpr std::uint64_t Ones = 0x0101010101010101;
constexpr std::uint64_t High = Ones * 0x80;

// 0x80 in every byte of x that is zero, 0 in every other.
constexpr std::uint64_t zeroBytes(std::uint64_t x) {
    return ~(((x & ~High) + ~High) | x) & High;
}

} // namespace

void foldForSearch(std::string_view text, char* out) {
    // Eight characters at a time: the capitals А..Я (0xC0..0xDF) and A..Z become small letters
    // by adding 32 to each; a block with any of the bytes 0x80..0xBF, where the rarer letters
    // and ё lie, goes through the table. The archive folds the purposes of a hundred thousand
    // orders when it first reads them.
    const char* in = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
#ifdef __SSE2__
    // Sixteen at a time where the processor has SSE2, the same way (bytes compared as signed:
    // 0x80..0xBF below -64, А..Я from -64 to -33).
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(-64))) != 0) {
            for (std::size_t k = i; k < i + 16; ++k)
                out[k] = foldTable.to[static_cast<unsigned char>(in[k])];
            continue;
        }
        const __m128i cyrillic = _mm_cmplt_epi8(v, _mm_set1_epi8(-32));
        const __m128i latin = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                            _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
        const __m128i add = _mm_and_si128(_mm_or_si128(cyrillic, latin), _mm_set1_epi8(32));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(v, add));
    }
#endif
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, in + i, 8);
        if (zeroBytes((v & (Ones * 0xC0)) ^ High) != 0) {
            for (std::size_t k = i; k < i + 8; ++k)
                out[k] = foldTable.to[static_cast<unsigned char>(in[k])];
            continue;
        }
        const std::uint64_t cyrillic = zeroBytes((v & (Ones * 0xE0)) ^ (Ones * 0xC0));
        const std::uint64_t low = v & ~High;
        const std::uint64_t latin = (low + Ones * 0x3F) & ~(low + Ones * 0x25) & ~v & High;
        v += (cyrillic | latin) >> 2;
        std::memcpy(out + i, &v, 8);
    }
    for (; i < n; ++i)
        out[i] = foldTable.to[static_cast<unsigned char>(in[i])];
}

} // namespace storage::cp1251
