// The amount grammar and the amount line: Money::parse, assembleAmountLine, amountInWords and
// vatLine on arbitrary texts. Besides the sanitizers, every result is checked against an
// independent reading: the grammar as a plain pattern, the words read back into a number
// (with the gender of the units and the plural of each scale word), and the tax computed
// in 128-bit integers.
#include "fuzzsupport.h"

#include "render/amount.h"
#include "render/fitting.h"
#include "storage/cp1251.h"

#include <QString>
#include <map>
#include <string>
#include <vector>

using namespace render;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Expected {
    AmountErrorCode error = AmountBadFormat;
    std::string rubles, kopecks;
};

// ^[0-9]+([,.-][0-9]{2})?$, then at most 9 ruble digits; a zero value reads "0".
Expected expectedParse(std::string_view t) {
    Expected e;
    std::size_t n = 0;
    while (n < t.size() && isDigit(t[n]))
        ++n;
    if (n == 0)
        return e;
    if (n < t.size()) {
        if (t.size() != n + 3 || (t[n] != ',' && t[n] != '.' && t[n] != '-') ||
            !isDigit(t[n + 1]) || !isDigit(t[n + 2]))
            return e;
        e.kopecks = std::string(t.substr(n + 1, 2));
    }
    if (n > 9) {
        e.error = AmountTooManyDigits;
        e.kopecks.clear();
        return e;
    }
    e.error = AmountValid;
    e.rubles = std::string(t.substr(0, n));
    if (e.rubles.find_first_not_of('0') == std::string::npos)
        e.rubles = "0";
    return e;
}

enum class Kind { Unit, Teen, Ten, Hundred, Million, Thousand, Ruble, Kopeck, Zero };
struct WordInfo {
    Kind kind;
    int value;      // units, teens, tens, hundreds: the number; scale words: the plural form
    bool feminine;  // "одна", "две"
    bool masculine; // "один", "два"
};

std::string cp(const char16_t* s) {
    return storage::cp1251::fromUnicode(QString::fromUtf16(s)).toStdString();
}

const std::map<std::string, WordInfo>& dictionary() {
    static const std::map<std::string, WordInfo> d = [] {
        std::map<std::string, WordInfo> m;
        const char16_t* units[] = {u"один",  u"два",  u"три",    u"четыре", u"пять",
                                   u"шесть", u"семь", u"восемь", u"девять"};
        for (int i = 0; i < 9; ++i)
            m[cp(units[i])] = {Kind::Unit, i + 1, false, i < 2};
        m[cp(u"одна")] = {Kind::Unit, 1, true, false};
        m[cp(u"две")] = {Kind::Unit, 2, true, false};
        const char16_t* teens[] = {u"десять",       u"одиннадцать", u"двенадцать",  u"тринадцать",
                                   u"четырнадцать", u"пятнадцать",  u"шестнадцать", u"семнадцать",
                                   u"восемнадцать", u"девятнадцать"};
        for (int i = 0; i < 10; ++i)
            m[cp(teens[i])] = {Kind::Teen, 10 + i, false, false};
        const char16_t* tens[] = {u"двадцать",   u"тридцать",  u"сорок",       u"пятьдесят",
                                  u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
        for (int i = 0; i < 8; ++i)
            m[cp(tens[i])] = {Kind::Ten, 20 + 10 * i, false, false};
        const char16_t* hundreds[] = {u"сто",       u"двести",    u"триста",
                                      u"четыреста", u"пятьсот",   u"шестьсот",
                                      u"семьсот",   u"восемьсот", u"девятьсот"};
        for (int i = 0; i < 9; ++i)
            m[cp(hundreds[i])] = {Kind::Hundred, 100 * (i + 1), false, false};
        const char16_t* scales[4][3] = {{u"миллион", u"миллиона", u"миллионов"},
                                        {u"тысяча", u"тысячи", u"тысяч"},
                                        {u"рубль", u"рубля", u"рублей"},
                                        {u"копейка", u"копейки", u"копеек"}};
        const Kind kinds[] = {Kind::Million, Kind::Thousand, Kind::Ruble, Kind::Kopeck};
        for (int s = 0; s < 4; ++s)
            for (int p = 0; p < 3; ++p)
                m[cp(scales[s][p])] = {kinds[s], p, false, false};
        m[cp(u"ноль")] = {Kind::Zero, 0, false, false};
        return m;
    }();
    return d;
}

// 0 "one", 1 "two to four", 2 "many", from the last two digits.
int plural(std::uint64_t n) {
    if (n % 100 / 10 == 1)
        return 2;
    const auto u = n % 10;
    return u == 1 ? 0 : u >= 2 && u <= 4 ? 1 : 2;
}

int plural(std::string_view digits) {
    std::uint64_t v = 0;
    for (char c : digits.substr(digits.size() > 2 ? digits.size() - 2 : 0))
        v = v * 10 + std::uint64_t(c - '0');
    return plural(v);
}

std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at <= line.size()) {
        const std::size_t sp = line.find(' ', at);
        const std::size_t end = sp == std::string_view::npos ? line.size() : sp;
        out.emplace_back(line.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

// Reads the words of the rubles back into a number; checks order, gender and plural.
std::uint64_t readRubleWords(const std::vector<std::string>& w, std::size_t count) {
    const auto& dict = dictionary();
    std::uint64_t total = 0, triad = 0;
    int stage = 0; // 0 nothing yet in this triad, 1 hundreds, 2 tens, 3 units or teen
    auto endTriad = [&](Kind scale, const WordInfo& info) {
        FUZZ_CHECK(triad > 0, "a scale word without a number before it");
        FUZZ_CHECK(info.value == plural(triad), "scale word in the wrong plural form");
        total += triad * (scale == Kind::Million ? 1000000 : 1000);
        triad = 0;
        stage = 0;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const auto it = dict.find(w[i]);
        FUZZ_CHECK(it != dict.end(), "a word that is not in the tables: " + w[i]);
        const WordInfo& info = it->second;
        const bool nextIsThousand =
            i + 1 < count && dict.count(w[i + 1]) && dict.at(w[i + 1]).kind == Kind::Thousand;
        switch (info.kind) {
        case Kind::Hundred:
            FUZZ_CHECK(stage < 1, "hundreds out of order");
            triad += std::uint64_t(info.value);
            stage = 1;
            break;
        case Kind::Ten:
            FUZZ_CHECK(stage < 2, "tens out of order");
            triad += std::uint64_t(info.value);
            stage = 2;
            break;
        case Kind::Teen:
            FUZZ_CHECK(stage < 2, "teen out of order");
            triad += std::uint64_t(info.value);
            stage = 3;
            break;
        case Kind::Unit:
            FUZZ_CHECK(stage < 3, "units out of order");
            if (info.feminine || info.masculine)
                FUZZ_CHECK(info.feminine == nextIsThousand, "unit of the wrong gender");
            triad += std::uint64_t(info.value);
            stage = 3;
            break;
        case Kind::Million:
            FUZZ_CHECK(total == 0, "millions after thousands");
            endTriad(Kind::Million, info);
            break;
        case Kind::Thousand:
            FUZZ_CHECK(total % 1000000 == 0, "two thousands words");
            endTriad(Kind::Thousand, info);
            break;
        default:
            FUZZ_CHECK(false, "a ruble, kopeck or zero word among the number words");
        }
    }
    return total + triad;
}

void checkLine(std::string_view text) {
    const Expected e = expectedParse(text);
    const ParsedAmount p = Money::parse(text);
    FUZZ_CHECK(p.error == e.error, "error code");
    std::int64_t expectedKopecks = 0;
    for (char c : e.rubles + (e.kopecks.empty() ? "00" : e.kopecks))
        expectedKopecks = expectedKopecks * 10 + (c - '0');
    FUZZ_CHECK(p.value.kopecks() == expectedKopecks, "value");
    FUZZ_CHECK(p.rubleWidth == e.rubles.size(), "ruble digits");
    FUZZ_CHECK(p.hasKopecks == !e.kopecks.empty(), "kopeck digits");

    const AmountLine a = assembleAmountLine(text);
    FUZZ_CHECK(a.amount.error == e.error, "error code of the line");
    if (e.error != AmountValid) {
        FUZZ_CHECK(a.line.empty() && a.figure.empty(), "a line for a rejected amount");
        return;
    }
    const std::string kopecks = e.kopecks.empty() ? "00" : e.kopecks;
    FUZZ_CHECK(a.amount.hasKopecks, "kopecks of the line");
    FUZZ_CHECK(a.figure.view() == e.rubles + "-" + kopecks, "figure");

    const std::string line(a.line.view());
    const std::vector<std::string> w = words(line);
    FUZZ_CHECK(w.size() >= 4, "too few words: " + line);
    for (const std::string& x : w)
        FUZZ_CHECK(!x.empty(), "a double, leading or trailing space: " + line);
    const auto& dict = dictionary();
    const std::size_t n = w.size();
    FUZZ_CHECK(w[n - 2] == kopecks, "kopeck digits in the line");
    const auto kw = dict.find(w[n - 1]);
    FUZZ_CHECK(kw != dict.end() && kw->second.kind == Kind::Kopeck &&
                   kw->second.value == plural(kopecks),
               "kopeck word");
    const auto rw = dict.find(w[n - 3]);
    FUZZ_CHECK(rw != dict.end() && rw->second.kind == Kind::Ruble &&
                   rw->second.value == plural(std::string_view(e.rubles)),
               "ruble word");

    // The first letter is a capital; the rest is as the tables have it.
    std::vector<std::string> lower = w;
    const auto first = static_cast<unsigned char>(lower[0][0]);
    FUZZ_CHECK(first >= 0xC0 && first <= 0xDF, "first letter not a capital");
    lower[0][0] = char(first + 32);

    std::uint64_t value = 0;
    for (char c : e.rubles)
        value = value * 10 + std::uint64_t(c - '0');
    if (value == 0) {
        FUZZ_CHECK(n == 4 && dict.at(lower[0]).kind == Kind::Zero, "zero rubles");
    } else {
        FUZZ_CHECK(readRubleWords(lower, n - 3) == value, "words do not read back: " + line);
        storage::WorkText t;
        t.assign(e.rubles);
        amountInWords(t);
        std::string joined;
        for (std::size_t i = 0; i + 3 < n; ++i)
            joined += (i ? " " : "") + lower[i];
        FUZZ_CHECK(t.view() == joined, "NumToLet differs from the line");
    }

    // The tax contained in the amount: r/(r+100), rounded to the kopeck, a half to even.
    const __int128 amount = __int128(value) * 100 + std::stoi(kopecks);
    for (int vat : {-1, 0, 3, 5, 7, 10, 18, 20, 22})
        for (bool budget : {false, true}) {
            const storage::WorkText v = vatLine(a.amount, vat, budget);
            if (budget || vat < 0 || vat == 3) {
                FUZZ_CHECK(v.empty(), "a tax line for a budget payment or an unknown rate");
                continue;
            }
            const std::string caption(vatCaption(vat));
            if (vat == 0) {
                FUZZ_CHECK(v.view() == caption, "tax line without tax");
                continue;
            }
            const int r = vat;
            const __int128 num = amount * r;
            __int128 tax = num / (100 + r);
            const __int128 twice = 2 * (num % (100 + r));
            if (twice > 100 + r || (twice == 100 + r && tax % 2 == 1))
                ++tax;
            const long long t = (long long)tax;
            char figure[40];
            std::snprintf(figure, sizeof figure, "%lld-%02lld", t / 100, t % 100);
            const std::string expected = cp(u"В т.ч. НДС(") + caption + "): " + std::string(figure);
            FUZZ_CHECK(v.view() == expected, "tax line " + std::string(v.view()));
        }
}

// amountInWords on a text that did not come from Money::parse.
void checkRaw(std::string_view text) {
    storage::WorkText t;
    t.assign(text);
    amountInWords(t);
    FUZZ_CHECK(t.size() <= 255, "NumToLet length");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    dictionary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkLine(text);
    checkRaw(text);
    return 0;
}
