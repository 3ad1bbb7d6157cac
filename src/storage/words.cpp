#include "words.h"

#include "cp1251.h"

namespace storage {

namespace {

template <class IsSeparator>
void split(std::string_view text, WordList& out, IsSeparator isSeparator) {
    out.clear();
    std::size_t start = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isSeparator(static_cast<unsigned char>(text[i]))) {
            if (inWord)
                out.add(text.substr(start, i - start));
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            start = i;
        }
    }
    if (inWord)
        out.add(text.substr(start));
}

// The accepted spellings of the four words of the legal form, in code page 1251.
struct LegalForm {
    QByteArray words[4][3];
    QByteArray abbreviation;

    LegalForm() {
        const char16_t* spellings[4][3] = {
            {u"Общество", u"общество", u"ОБЩЕСТВО"},
            {u"с", u"С", u"С"},
            {u"Ограниченной", u"ограниченной", u"ОГРАНИЧЕННОЙ"},
            {u"Ответственностью", u"ответственностью", u"ОТВЕТСТВЕННОСТЬЮ"},
        };
        for (int w = 0; w < 4; ++w)
            for (int s = 0; s < 3; ++s)
                words[w][s] = cp1251::fromUnicode(QString::fromUtf16(spellings[w][s]));
        abbreviation = cp1251::fromUnicode(QStringLiteral("ООО"));
    }

    bool matches(int w, std::string_view word) const {
        for (const QByteArray& s : words[w])
            if (word == std::string_view(s.constData(), s.size()))
                return true;
        return false;
    }
};

const LegalForm& legalForm() {
    static const LegalForm f;
    return f;
}

} // namespace

void splitWords(std::string_view text, WordList& out) {
    split(text, out, [](unsigned char c) { return c <= 32; });
}

void splitAtUnderscores(std::string_view text, WordList& out) {
    split(text, out, [](unsigned char c) { return c == '_'; });
}

void shortenLegalForm(WorkText& text) {
    // The words are taken one at a time, as splitWords takes them (cut to 32 characters, none
    // after the 64th), so that a name without the legal form is left after its first words
    // and no name is copied word by word before it is known to change.
    const std::string_view t = text.view();
    std::size_t i = 0;
    int taken = 0;
    const auto nextWord = [&](std::string_view& word) {
        while (i < t.size() && static_cast<unsigned char>(t[i]) <= 32)
            ++i;
        if (i == t.size() || taken == WordList::Capacity)
            return false;
        const std::size_t start = i;
        while (i < t.size() && static_cast<unsigned char>(t[i]) > 32)
            ++i;
        word = t.substr(start, std::min<std::size_t>(i - start, Word::capacity));
        ++taken;
        return true;
    };
    const LegalForm& form = legalForm();
    std::string_view word;
    for (int w = 0; w < 4; ++w)
        if (!nextWord(word) || !form.matches(w, word))
            return;
    if (!nextWord(word))
        return;
    WorkText out;
    out.assign(std::string_view(form.abbreviation.constData(), form.abbreviation.size()));
    do {
        out.append(' ');
        out.append(word);
    } while (nextWord(word));
    text.assign(out.view());
}

WorkText shortenLegalForm(std::string_view text) {
    WorkText t;
    t.assign(text);
    shortenLegalForm(t);
    return t;
}

} // namespace storage
