#include "words.h"

#include "cp1251.h"

namespace storage {

namespace {

// The words of a text one at a time, as the word lists hold them: runs of separators give no
// empty words, each word is cut to 32 characters, and none comes after the 64th.
template <class IsSeparator> class WordReader {
public:
    WordReader(std::string_view text, IsSeparator isSeparator)
        : text_(text), isSeparator_(isSeparator) {}

    bool next(std::string_view& word) {
        while (i_ < text_.size() && separator(i_))
            ++i_;
        if (i_ == text_.size() || taken_ == WordList::Capacity)
            return false;
        const std::size_t start = i_;
        while (i_ < text_.size() && !separator(i_))
            ++i_;
        word = text_.substr(start, std::min<std::size_t>(i_ - start, Word::capacity));
        ++taken_;
        return true;
    }

private:
    bool separator(std::size_t i) const {
        return isSeparator_(static_cast<unsigned char>(text_[i]));
    }

    std::string_view text_;
    IsSeparator isSeparator_;
    std::size_t i_ = 0;
    int taken_ = 0;
};

bool isBlank(unsigned char c) {
    return c <= 32;
}

template <class IsSeparator>
void split(std::string_view text, WordList& out, IsSeparator isSeparator) {
    out.clear();
    WordReader reader(text, isSeparator);
    for (std::string_view word; reader.next(word);)
        out.add(word);
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
    split(text, out, isBlank);
}

void splitAtUnderscores(std::string_view text, WordList& out) {
    split(text, out, [](unsigned char c) { return c == '_'; });
}

void shortenLegalForm(WorkText& text) {
    // The words are taken one at a time, as splitWords takes them, so that a name without the
    // legal form is left after its first words and no name is copied word by word before it is
    // known to change.
    WordReader words(text.view(), isBlank);
    const LegalForm& form = legalForm();
    std::string_view word;
    for (int w = 0; w < 4; ++w)
        if (!words.next(word) || !form.matches(w, word))
            return;
    if (!words.next(word))
        return;
    WorkText out;
    out.assign(std::string_view(form.abbreviation.constData(), form.abbreviation.size()));
    do {
        out.append(' ');
        out.append(word);
    } while (words.next(word));
    text.assign(out.view());
}

WorkText shortenLegalForm(std::string_view text) {
    WorkText t;
    t.assign(text);
    shortenLegalForm(t);
    return t;
}

} // namespace storage
