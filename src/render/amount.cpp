#include "amount.h"

#include "storage/cp1251.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

namespace render {

namespace {

enum Plural { One = 0, TwoToFour = 1, Many = 2 };

// The plural form from the last two decimal digits of a number (tens is 0 for a one-digit
// number): 11 to 14 and every other number whose tens digit is 1 take "many".
constexpr Plural pluralRule(unsigned tens, unsigned units) {
    if (tens == 1)
        return Many;
    if (units == 1)
        return One;
    if (units >= 2 && units <= 4)
        return TwoToFour;
    return Many;
}

// The rule for 0 to 99 as a table: amounts are random data to the branch predictor, and a
// look-up costs no mispredicted branches.
constexpr std::array<std::uint8_t, 100> pluralTable = [] {
    std::array<std::uint8_t, 100> t{};
    for (unsigned i = 0; i < 100; ++i)
        t[i] = std::uint8_t(pluralRule(i / 10, i % 10));
    return t;
}();

Plural pluralOf(unsigned number) {
    return Plural(pluralTable[number % 100]);
}

enum Scale { Millions = 0, Thousands = 1, Rubles = 2, Kopecks = 3 };
enum Gender { Masculine = 0, Feminine = 1 };

// A text in code page 1251 preceded by a space, in an aligned slot of N bytes whose last
// byte is the length: appending copies the whole slot and advances by the length, so an
// append is one aligned fixed-size copy.
template <std::size_t N> struct alignas(N) Slot {
    char text[N - 1];
    std::uint8_t len;

    void set(const QByteArray& words) {
        const std::size_t n = std::min(std::size_t(words.size()), N - 2);
        std::memset(text, 0, N - 1);
        text[0] = ' ';
        std::memcpy(text + 1, words.constData(), n);
        len = std::uint8_t(n + 1);
    }
};
static_assert(sizeof(Slot<32>) == 32 && sizeof(Slot<16>) == 16);

QByteArray toCp1251(const char16_t* word) {
    return storage::cp1251::fromUnicode(QString::fromUtf16(word));
}

// The words, converted once from the tables below. Each of the 999 triads is kept whole in
// both genders ("двести тридцать четыре", at most 28 characters), so a number is at most
// three triad copies and two scale words.
struct WordTables {
    Slot<32> triads[2][1000]; // [Gender][value]; value 0 unused
    Slot<16> scale[4][3];     // [Scale][Plural]
    Slot<16> zero;

    WordTables() {
        const char16_t* units[2][10] = {
            {u"", u"один", u"два", u"три", u"четыре", u"пять", u"шесть", u"семь", u"восемь",
             u"девять"},
            {u"", u"одна", u"две", u"три", u"четыре", u"пять", u"шесть", u"семь", u"восемь",
             u"девять"},
        };
        const char16_t* teens[10] = {u"десять",       u"одиннадцать", u"двенадцать",  u"тринадцать",
                                     u"четырнадцать", u"пятнадцать",  u"шестнадцать", u"семнадцать",
                                     u"восемнадцать", u"девятнадцать"};
        const char16_t* tens[10] = {
            u"",          u"",           u"двадцать",  u"тридцать",    u"сорок",
            u"пятьдесят", u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
        const char16_t* hundreds[10] = {u"",          u"сто",      u"двести",   u"триста",
                                        u"четыреста", u"пятьсот",  u"шестьсот", u"семьсот",
                                        u"восемьсот", u"девятьсот"};
        const char16_t* scaleWords[4][3] = {
            {u"миллион", u"миллиона", u"миллионов"},
            {u"тысяча", u"тысячи", u"тысяч"},
            {u"рубль", u"рубля", u"рублей"},
            {u"копейка", u"копейки", u"копеек"},
        };
        for (int g = 0; g < 2; ++g)
            for (int v = 1; v < 1000; ++v) {
                const int h = v / 100, d = v % 100 / 10, u = v % 10;
                QByteArray words;
                auto add = [&](const char16_t* w) {
                    if (!words.isEmpty())
                        words += ' ';
                    words += toCp1251(w);
                };
                if (h)
                    add(hundreds[h]);
                if (d == 1) {
                    add(teens[u]);
                } else {
                    if (d >= 2)
                        add(tens[d]);
                    if (u)
                        add(units[g][u]);
                }
                triads[g][v].set(words);
            }
        for (int s = 0; s < 4; ++s)
            for (int p = 0; p < 3; ++p)
                scale[s][p].set(toCp1251(scaleWords[s][p]));
        zero.set(toCp1251(u"ноль"));
    }
};

const WordTables& tables() {
    static const WordTables t;
    return t;
}

// Writes words straight into a WorkText. Its bytes are the length byte followed by the
// characters; every word is written with its leading space at the current end, and the
// first word's space lands on the length byte, which is set last. The longest amount line
// is about 125 characters, and a copy writes at most 32 bytes past the end, well inside the
// 256 bytes of the text.
class LineWriter {
public:
    explicit LineWriter(storage::WorkText& line)
        : line_(line), bytes_(reinterpret_cast<char*>(&line)) {}
    ~LineWriter() { line_.len = std::uint8_t(pos_ ? pos_ - 1 : 0); }

    template <std::size_t N> void add(const Slot<N>& s) {
        std::memcpy(bytes_ + pos_, &s, N);
        pos_ += s.len;
    }
    void addKopecks(int kopecks) { // with a leading space, always two digits
        bytes_[pos_] = ' ';
        bytes_[pos_ + 1] = char('0' + kopecks / 10);
        bytes_[pos_ + 2] = char('0' + kopecks % 10);
        pos_ += 3;
    }
    // Capitalises the first character: the capital of a lower-case Cyrillic letter of code
    // page 1251 is 32 codes lower.
    void capitalise() {
        if (pos_ < 2)
            return;
        const auto c = static_cast<unsigned char>(bytes_[1]);
        if (storage::cp1251::isLowerCyrillic(c))
            bytes_[1] = char(c - 32);
    }
    // Appends the words of value (1 to 999 999 999); zero triads give no words.
    void addNumber(const WordTables& t, std::uint32_t value) {
        const unsigned millions = value / 1000000;
        const unsigned thousands = value % 1000000 / 1000;
        const unsigned units = value % 1000;
        if (millions) {
            add(t.triads[Masculine][millions]);
            add(t.scale[Millions][pluralOf(millions)]);
        }
        if (thousands) {
            add(t.triads[Feminine][thousands]);
            add(t.scale[Thousands][pluralOf(thousands)]);
        }
        if (units)
            add(t.triads[Masculine][units]);
    }

private:
    storage::WorkText& line_;
    char* bytes_;
    std::size_t pos_ = 0;
};

static_assert(sizeof(storage::WorkText) == 256 && offsetof(storage::WorkText, chars) == 1);

} // namespace

PluralForm pluralForm(unsigned count) {
    return PluralForm(pluralOf(count));
}

void amountInWords(storage::WorkText& text) {
    // Only ruble digits: an amount with kopecks is not a number of rubles.
    const ParsedAmount a = Money::parse(text.view());
    const auto value = std::uint32_t(a.hasKopecks ? 0 : a.value.rubles());
    LineWriter line(text);
    if (value)
        line.addNumber(tables(), value);
}

AmountLine assembleAmountLine(std::string_view amountText) {
    AmountLine r;
    const ParsedAmount a = Money::parse(amountText);
    r.amount = a;
    if (a.error != AmountValid)
        return r;
    r.amount.hasKopecks = true; // "00" when none were typed
    const auto rubles = std::uint32_t(a.value.rubles());
    const int kopecks = a.value.kopeckPart();

    const WordTables& t = tables();
    {
        LineWriter line(r.line);
        if (rubles == 0)
            line.add(t.zero);
        else
            line.addNumber(t, rubles);
        line.add(t.scale[Rubles][pluralOf(rubles)]);
        line.addKopecks(kopecks);
        line.add(t.scale[Kopecks][pluralOf(unsigned(kopecks))]);
        line.capitalise();
    }
    // The figure shows the ruble digits as they were typed, leading zeros kept (a zero value
    // is the one digit "0", the first one typed), then "-" and the two kopeck digits.
    char* figure = r.figure.chars;
    const std::size_t width = a.rubleWidth;
    std::memcpy(figure, amountText.data(), width);
    figure[width] = '-';
    figure[width + 1] = char('0' + kopecks / 10);
    figure[width + 2] = char('0' + kopecks % 10);
    r.figure.len = std::uint8_t(width + 3);
    return r;
}

} // namespace render
