#include "fitting.h"

#include "storage/cp1251.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace render {

int roundHalfEven(long double x) {
    if (std::isnan(x))
        return 0;
    return int(std::nearbyint(std::clamp(x, -(long double)MaxPixels, (long double)MaxPixels)));
}

int fontCellHeight(long double pixelsPerMm, int sizeIndex) {
    const int i = std::clamp(sizeIndex, 0, int(FontSizeTable.size()) - 1);
    return std::max(1, roundHalfEven(pixelsPerMm * (long double)FontSizeTable[std::size_t(i)]));
}

namespace {

// Where a word lies in the text. A text of 255 characters has at most 128 words.
struct WordSpan {
    std::uint8_t at;
    std::uint8_t len;
};

bool separates(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

FitResult splitIntoLines(std::string_view text, const FitRequest& request, TextMeasurer& measurer) {
    FitResult r;
    text = text.substr(0, storage::WorkText::capacity);

    std::array<WordSpan, 128> words;
    int wordCount = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (separates(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !separates(text[i]))
            ++i;
        words[std::size_t(wordCount++)] = {std::uint8_t(start), std::uint8_t(i - start)};
    }
    if (wordCount == 0)
        return r;

    measurer.setFont(request.fontName, fontCellHeight(request.pixelsPerMmY, request.fontSize),
                     FontStyle::Regular);
    auto fits = [&](std::string_view candidate) {
        r.measured = measurer.textWidth(candidate);
        return r.measured < request.width;
    };

    // The candidate is the current line with the next word; it never grows beyond the text.
    char candidate[storage::WorkText::capacity];
    std::size_t length = 0;
    int line = 0;      // the line being filled
    int lineWords = 0; // its words so far
    for (int w = 0; w < wordCount; ++w) {
        const std::string_view word =
            text.substr(words[std::size_t(w)].at, words[std::size_t(w)].len);
        std::size_t tried = length;
        if (lineWords)
            candidate[tried++] = ' ';
        std::memcpy(candidate + tried, word.data(), word.size());
        tried += word.size();
        if (fits(std::string_view(candidate, tried))) {
            if (lineWords++ == 0)
                r.ranges[std::size_t(line)].firstWord = w;
            length = tried;
            continue;
        }
        if (lineWords == 0)
            break;
        // The word starts the next line, if there is one and the word fits there alone.
        r.ranges[std::size_t(line)].wordCount = lineWords;
        lineWords = 0;
        if (++line == FitResult::MaxLines)
            break;
        std::memcpy(candidate, word.data(), word.size());
        length = word.size();
        if (!fits(std::string_view(candidate, length)))
            break;
        r.ranges[std::size_t(line)].firstWord = w;
        lineWords = 1;
    }
    if (lineWords)
        r.ranges[std::size_t(line++)].wordCount = lineWords;
    r.lineCount = line;

    for (int l = 0; l < r.lineCount; ++l) {
        const FitRange& range = r.ranges[std::size_t(l)];
        storage::WorkText& out = r.lines[std::size_t(l)];
        for (int w = range.firstWord; w < range.firstWord + range.wordCount; ++w) {
            if (w > range.firstWord)
                out.append(' ');
            out.append(text.substr(words[std::size_t(w)].at, words[std::size_t(w)].len));
        }
    }
    return r;
}

namespace {

struct VatTexts {
    std::array<int, 7> rates{VatNone, Vat5, Vat7, Vat10, Vat18, Vat20, Vat22};
    std::array<QByteArray, 7> captions;
    QByteArray prefix;

    VatTexts() {
        captions[0] = storage::cp1251::fromUnicode(QStringLiteral("Без НДС"));
        for (std::size_t i = 1; i < rates.size(); ++i)
            captions[i] = QByteArray::number(rates[i]) + '%';
        prefix = storage::cp1251::fromUnicode(QStringLiteral("В т.ч. НДС("));
    }
};

const VatTexts& vatTexts() {
    static const VatTexts t;
    return t;
}

std::string_view view(const QByteArray& b) {
    return {b.constData(), std::size_t(b.size())};
}

} // namespace

std::string_view vatCaption(int percent) {
    const VatTexts& t = vatTexts();
    for (std::size_t i = 0; i < t.rates.size(); ++i)
        if (t.rates[i] == percent)
            return view(t.captions[i]);
    return {};
}

storage::WorkText vatLine(const ParsedAmount& amount, int percent, bool budgetPayment) {
    storage::WorkText line{};
    const std::string_view caption = vatCaption(percent);
    if (budgetPayment || caption.empty())
        return line;
    if (percent == VatNone) {
        line = caption;
        return line;
    }
    if (amount.rubleWidth == 0 || !amount.hasKopecks)
        return line;

    // rate/(rate+100) of the amount, rounded to the nearest kopeck, an exact half to even.
    const std::int64_t numerator = std::int64_t(percent) * amount.value.kopecks();
    const std::int64_t denominator = percent + 100;
    std::int64_t tax = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && tax % 2 != 0))
        ++tax;

    line = view(vatTexts().prefix);
    line.append(caption);
    line.append("): ");
    line.append(storage::Money::fromKopecks(tax).format("-").view());
    return line;
}

} // namespace render
