// Fixed-capacity texts and little-endian numbers as they lie in the data files: a text of
// capacity N takes N+1 bytes (length byte, then code page 1251 characters); a 16-bit number
// takes two bytes, low byte first. Both are plain bytes, so records built from them have no
// padding and can be read and written as they stand.
#pragma once

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace storage {

template <std::size_t N> struct ShortStr {
    static_assert(N >= 1 && N <= 255);
    static constexpr std::size_t capacity = N;

    std::uint8_t len;
    char chars[N];

    // A length byte above the capacity (a damaged file) reads as the full capacity.
    std::size_t size() const { return len <= N ? len : N; }
    bool empty() const { return size() == 0; }
    std::string_view view() const { return {chars, size()}; }
    QByteArray bytes() const { return QByteArray(chars, qsizetype(size())); }
    char at(std::size_t i) const { return i < size() ? chars[i] : '\0'; }

    // Stores a text cut to the capacity. Only the length byte and the characters are
    // written; the bytes behind the new length keep what they held, as in the field files.
    void assign(std::string_view s) {
        const std::size_t n = std::min(s.size(), N);
        len = std::uint8_t(n);
        if (n)
            std::memmove(chars, s.data(), n);
    }
    void assign(const QByteArray& s) { assign(std::string_view(s.constData(), s.size())); }
    template <std::size_t M> void assign(const ShortStr<M>& s) { assign(s.view()); }
    // Appends as much of s as still fits.
    void append(std::string_view s) {
        const std::size_t at = size();
        const std::size_t n = std::min(s.size(), N - at);
        if (n)
            std::memmove(chars + at, s.data(), n);
        len = std::uint8_t(at + n);
    }
    void append(char c) { append(std::string_view(&c, 1)); }
    void clear() { len = 0; }

    ShortStr& operator=(std::string_view s) {
        assign(s);
        return *this;
    }

    // Exact comparison of the texts: length and characters.
    template <std::size_t M> bool operator==(const ShortStr<M>& o) const {
        return view() == o.view();
    }
    bool operator==(std::string_view s) const { return view() == s; }
};

// A 16-bit unsigned number stored low byte first.
struct U16 {
    std::uint8_t b[2];
    constexpr operator std::uint16_t() const { return std::uint16_t(b[0] | (b[1] << 8)); }
    constexpr U16& operator=(std::uint16_t v) {
        b[0] = std::uint8_t(v & 0xFF);
        b[1] = std::uint8_t(v >> 8);
        return *this;
    }
};
static_assert(sizeof(U16) == 2 && alignof(U16) == 1);
static_assert(sizeof(ShortStr<12>) == 13 && alignof(ShortStr<12>) == 1);

// Zero-initialises a record (all bytes 0), as the program does for every new record.
template <class T> void clearRecord(T& r) {
    std::memset(static_cast<void*>(&r), 0, sizeof(T));
}

// The raw bytes of a record, for reading and writing it in one piece.
template <class T> QByteArray recordBytes(const T& r) {
    return QByteArray(reinterpret_cast<const char*>(&r), qsizetype(sizeof(T)));
}
template <class T> void recordFromBytes(T& r, const char* data) {
    std::memcpy(static_cast<void*>(&r), data, sizeof(T));
}

} // namespace storage
