// Text fitting and the word helpers on arbitrary texts: splitIntoLines with a measurer of fixed
// glyph widths taken from the input (compared with a plain greedy fitting written here), and
// splitWords, splitAtUnderscores and shortenLegalForm with their properties.
//
// Input: width (2 bytes), font size index, pixels per millimetre (1 byte, in tenths, or
// a special value), glyph width seed, then the text.
#include "fuzzsupport.h"

#include "render/fitting.h"
#include "storage/cp1251.h"
#include "storage/words.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace render;

namespace {

// Every byte has a width from 0 to 31 pixels, chosen by the seed; a space is 4.
class SeededMeasurer : public TextMeasurer {
public:
    explicit SeededMeasurer(std::uint8_t seed) {
        for (int c = 0; c < 256; ++c)
            widths_[std::size_t(c)] = (c * (2 * seed + 1) + seed) % 32;
        widths_[' '] = 4;
    }
    void setFont(std::string_view, int cellHeight, FontStyle) override { cellHeight_ = cellHeight; }
    int textWidth(std::string_view text) override {
        int w = 0;
        for (char c : text)
            w += widths_[static_cast<unsigned char>(c)];
        return w;
    }
    int textHeight() override { return cellHeight_; }
    int cellHeight_ = 0;

private:
    std::array<int, 256> widths_{};
};

bool separates(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::vector<std::string> allWords(std::string_view text) {
    std::vector<std::string> out;
    std::string w;
    for (char c : text) {
        if (separates(c)) {
            if (!w.empty())
                out.push_back(w);
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty())
        out.push_back(w);
    return out;
}

// Greedy fitting into at most four lines, each strictly narrower than width; a word that
// does not fit on a line of its own ends the fitting.
std::vector<std::string> fitted(std::string_view text, int width, SeededMeasurer& m) {
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& w : allWords(text.substr(0, 255))) {
        const std::string candidate = line.empty() ? w : line + " " + w;
        if (m.textWidth(candidate) < width) {
            line = candidate;
            continue;
        }
        if (line.empty())
            break;
        lines.push_back(line);
        line.clear();
        if (lines.size() == 4 || m.textWidth(w) >= width)
            break;
        line = w;
    }
    if (!line.empty() && lines.size() < 4)
        lines.push_back(line);
    return lines;
}

long double pixelsPerMm(std::uint8_t b) {
    switch (b) {
    case 0:
        return 0;
    case 1:
        return -1;
    case 2:
        return std::numeric_limits<long double>::infinity();
    case 3:
        return std::numeric_limits<long double>::quiet_NaN();
    case 4:
        return 1e30L;
    default:
        return b / 10.0L;
    }
}

void checkWords(std::string_view text, bool underscores) {
    storage::WordList list;
    if (underscores)
        storage::splitAtUnderscores(text, list);
    else
        storage::splitWords(text, list);
    FUZZ_CHECK(list.count >= 0 && list.count <= storage::WordList::Capacity, "word count");
    // The words are the text's words in order, each cut to 32, the first 64 of them.
    std::size_t at = 0;
    for (int i = 0; i < list.count; ++i) {
        const std::string_view w = list[i];
        FUZZ_CHECK(!w.empty() && w.size() <= 32, "word length");
        for (char c : w)
            FUZZ_CHECK(underscores ? c != '_' : !separates(c), "separator inside a word");
        const std::size_t found = text.find(w, at);
        FUZZ_CHECK(found != std::string_view::npos, "word not in the text in order");
        at = found + w.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Input in(data, size);
    FitRequest request;
    request.width = int(in.u16()) - 16; // a few negative widths too
    request.fontSize = int(in.byte()) - 8;
    request.pixelsPerMmY = pixelsPerMm(in.byte());
    SeededMeasurer measurer(in.byte());
    const std::string_view text = in.rest();

    const FitResult r = splitIntoLines(text, request, measurer);
    const std::vector<std::string> expected = fitted(text, request.width, measurer);
    FUZZ_CHECK(r.lineCount == int(expected.size()), "number of lines");
    for (int i = 0; i < FitResult::MaxLines; ++i) {
        const std::string_view line = r.lines[std::size_t(i)].view();
        if (i < r.lineCount) {
            FUZZ_CHECK(line == expected[std::size_t(i)], "line differs");
            FUZZ_CHECK(measurer.textWidth(line) < request.width, "line too wide");
        } else {
            FUZZ_CHECK(line.empty(), "line beyond the count");
        }
    }
    FUZZ_CHECK(measurer.cellHeight_ >= 0, "cell height");

    checkWords(text, false);
    checkWords(text, true);

    storage::WorkText work;
    work.assign(text);
    const storage::WorkText before = work;
    storage::shortenLegalForm(work);
    FUZZ_CHECK(storage::shortenLegalForm(text).view() == work.view(),
               "the two forms of shortenLegalForm differ");
    if (work.view() != before.view()) {
        const QByteArray ooo = storage::cp1251::fromUnicode(QStringLiteral("ООО "));
        FUZZ_CHECK(work.view().substr(0, 4) == std::string_view(ooo.constData(), 4),
                   "shortened name does not start with the abbreviation");
        FUZZ_CHECK(work.size() < before.size(), "shortened name is not shorter");
        storage::WorkText again = work;
        storage::shortenLegalForm(again);
        FUZZ_CHECK(again.view() == work.view(), "OOO is not idempotent");
    }
    return 0;
}
