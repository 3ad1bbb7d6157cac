// The shared text helpers: splitting a text into words, splitting a file name at
// underscores, and shortening the long legal form of a limited company to "ООО". They work
// on fixed buffers (a working text of 255 characters and a list of 64 words of 32
// characters), in code page 1251, and never allocate.
#pragma once

#include "shortstr.h"

#include <array>
#include <string_view>

namespace storage {

using WorkText = ShortStr<255>;
using Word = ShortStr<32>;

struct WordList {
    static constexpr int Capacity = 64;
    std::array<Word, Capacity> words;
    int count = 0;

    void clear() { count = 0; }
    // Adds a word cut to 32 characters; a word beyond the 64th is dropped.
    void add(std::string_view w) {
        if (count < Capacity)
            words[std::size_t(count++)].assign(w);
    }
    std::string_view operator[](int i) const { return words[std::size_t(i)].view(); }
};

// Splits text into words. Every character with a code of 32 or less separates words; runs of
// separators give no empty words; each word is cut to 32 characters; words after the 64th
// are dropped.
void splitWords(std::string_view text, WordList& out);

// The same with "_" as the only separator (spaces stay inside the parts).
void splitAtUnderscores(std::string_view text, WordList& out);

// When text starts with the four words of the legal form "Общество с ограниченной
// ответственностью" (each in one of its accepted spellings) and has a fifth word, rewrites
// it to "ООО" and the further words joined by single spaces. Otherwise text is left as it is,
// spacing included.
void shortenLegalForm(WorkText& text);

// shortenLegalForm on any text (at most 255 characters are looked at), for callers that hold the
// name elsewhere; the result is at most 255 characters.
WorkText shortenLegalForm(std::string_view text);

} // namespace storage
