#include "support/support.h"

#include "storage/words.h"

#include <gtest/gtest.h>

using namespace storage;
using testing_support::cps;

namespace {

std::vector<std::string> words(const WordList& w) {
    std::vector<std::string> out;
    for (int i = 0; i < w.count; ++i)
        out.emplace_back(w[i]);
    return out;
}

std::string ooo(const char* utf8) {
    WorkText t;
    t = cps(utf8);
    shortenLegalForm(t);
    return std::string(t.view());
}

} // namespace

TEST(splitWords, SeparatorRunsGiveNoEmptyWords) {
    WordList w;
    splitWords("  one \t\r\n two\x01three   ", w);
    EXPECT_EQ(words(w), (std::vector<std::string>{"one", "two", "three"}));
    splitWords(" \t\r\n  ", w);
    EXPECT_EQ(w.count, 0);
    splitWords("", w);
    EXPECT_EQ(w.count, 0);
}

TEST(splitWords, LongWordIsCutTo32AndListStopsAt64) {
    WordList w;
    splitWords(std::string(40, 'x') + " y", w);
    ASSERT_EQ(w.count, 2);
    EXPECT_EQ(std::string(w[0]), std::string(32, 'x'));

    std::string many;
    for (int i = 0; i < 100; ++i)
        many += std::to_string(i) + " ";
    splitWords(many, w);
    ASSERT_EQ(w.count, 64);
    EXPECT_EQ(std::string(w[63]), "63");
}

TEST(splitWords, HighCyrillicBytesAreLetters) {
    WordList w;
    splitWords(cps("ООО «Вега»"), w);
    EXPECT_EQ(words(w), (std::vector<std::string>{cps("ООО"), cps("«Вега»")}));
}

TEST(splitAtUnderscores, FileNameParts) {
    WordList w;
    splitAtUnderscores("15_1234567890_09", w);
    EXPECT_EQ(words(w), (std::vector<std::string>{"15", "1234567890", "09"}));
    splitAtUnderscores("15__1234567890_09", w);
    EXPECT_EQ(words(w), (std::vector<std::string>{"15", "1234567890", "09"}));
    splitAtUnderscores("_a b_", w);
    EXPECT_EQ(words(w), (std::vector<std::string>{"a b"}));
}

TEST(shortenLegalForm, ShortensTheLegalForm) {
    EXPECT_EQ(ooo("Общество с ограниченной ответственностью  «Вега»"), cps("ООО «Вега»"));
    EXPECT_EQ(ooo("ОБЩЕСТВО С ОГРАНИЧЕННОЙ ОТВЕТСТВЕННОСТЬЮ ТОРГОВЫЙ ДОМ"),
              cps("ООО ТОРГОВЫЙ ДОМ"));
    EXPECT_EQ(ooo("Общество с Ограниченной ответственностью Вега"), cps("ООО Вега"));
    EXPECT_EQ(ooo("общество\tс\nограниченной ответственностью   Альфа   и   Омега"),
              cps("ООО Альфа и Омега"));
    // The words as splitWords gives them: cut to 32 characters, none after the 64th.
    std::string many, kept;
    for (int i = 0; i < 70; ++i)
        many += " a";
    for (int i = 0; i < 59; ++i)
        kept += " a";
    EXPECT_EQ(
        ooo(("Общество с ограниченной ответственностью " + std::string(40, 'x') + many).c_str()),
        cps("ООО ") + std::string(32, 'x') + kept);
}

TEST(shortenLegalForm, LeavesOtherTextsUntouched) {
    // The legal form alone, without a fifth word.
    EXPECT_EQ(ooo("Общество с ограниченной ответственностью"),
              cps("Общество с ограниченной ответственностью"));
    EXPECT_EQ(ooo("  ЗАО   \"Ромашка\"  "), cps("  ЗАО   \"Ромашка\"  "));
    // Mixed case inside a word is not an accepted spelling.
    EXPECT_EQ(ooo("ОБщество с ограниченной ответственностью Вега"),
              cps("ОБщество с ограниченной ответственностью Вега"));
    // Latin "c" instead of Cyrillic "с".
    EXPECT_EQ(ooo("Общество c ограниченной ответственностью Вега"),
              cps("Общество c ограниченной ответственностью Вега"));
    EXPECT_EQ(ooo(""), "");
}
