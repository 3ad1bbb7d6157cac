#include "support/support.h"

#include "app/cli.h"

#include <QProcess>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct WordsRun {
    int status;
    std::string out;
    std::string err;
};

WordsRun words(const QString& amount, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = app::runWords(amount, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream s(text);
    for (std::string line; std::getline(s, line);)
        out.push_back(line);
    return out;
}

// The message of each malformed line names the line and the error.
std::vector<std::string> messageHeads(const std::string& err) {
    std::vector<std::string> heads;
    for (const std::string& line : lines(err))
        heads.push_back(line.substr(0, line.find("»") + std::strlen("»")));
    return heads;
}

const char* const example =
    "Один миллион двести тридцать четыре тысячи пятьсот шестьдесят семь рублей 05 копеек\t"
    "1234567-05\n";

TEST(Words, OneAmount) {
    const WordsRun r = words(QStringLiteral("1234567.05"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, example);
    EXPECT_EQ(r.err, "");
}

TEST(Words, MalformedAmountNamesTheError) {
    for (auto [amount, head] : {std::pair{"12.5", "Неверный формат суммы «12.5»"},
                                std::pair{"1234567890", "Слишком большая сумма «1234567890»"}}) {
        const WordsRun r = words(QString::fromUtf8(amount));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(messageHeads(r.err), std::vector<std::string>{head});
    }
}

TEST(Words, StandardInputKeepsLinesAligned) {
    // Malformed, empty, Windows line ending, and a last line without a line break.
    const WordsRun r = words(QStringLiteral("-"), "1\n12.5\n\n2,00\r\n1 000\n1234567890\n5");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.out), (std::vector<std::string>{"Один рубль 00 копеек\t1-00", "", "",
                                                      "Два рубля 00 копеек\t2-00", "", "",
                                                      "Пять рублей 00 копеек\t5-00"}));
    EXPECT_EQ(messageHeads(r.err), (std::vector<std::string>{
                                       "Строка 2: неверный формат суммы «12.5»",
                                       "Строка 3: неверный формат суммы «»",
                                       "Строка 5: неверный формат суммы «1 000»",
                                       "Строка 6: слишком большая сумма «1234567890»",
                                   }));

    const WordsRun valid = words(QStringLiteral("-"), "1234567.05\n0-01\n");
    EXPECT_EQ(valid.status, 0);
    EXPECT_EQ(valid.out, std::string(example) + "Ноль рублей 01 копейка\t0-01\n");
    EXPECT_EQ(valid.err, "");
}

TEST(Words, OverlongLineIsMalformedAndCutInTheMessage) {
    const WordsRun r = words(QStringLiteral("-"), std::string(100000, '7') + "\n3\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lines(r.out), (std::vector<std::string>{"", "Три рубля 00 копеек\t3-00"}));
    EXPECT_EQ(messageHeads(r.err), (std::vector<std::string>{"Строка 1: неверный формат суммы «" +
                                                             std::string(40, '7') + "…»"}));
}

// --words - aborted with an uncaught exception when standard input was closed or a folder,
// and echoed NUL bytes and invalid UTF-8 raw into its messages.
TEST(Words, InputThatCannotBeReadOrHoldsOddBytesIsReportedWithoutAborting) {
    using namespace std::string_literals;
    const WordsRun r = words(QStringLiteral("-"), "1\0 2\n\xff\xfe\tx\n3\n"s);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(messageHeads(r.err),
              (std::vector<std::string>{"Строка 1: неверный формат суммы «1\\x00 2»",
                                        "Строка 2: неверный формат суммы «\\xFF\\xFE\\x09x»"}));
    for (const char* shell : {"exec \"$0\" --words - < /", "exec \"$0\" --words - <&-"}) {
        QProcess p;
        p.start("/bin/sh", {"-c", shell, QStringLiteral(QM_BINARY_DIR "/quenmara")});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << shell;
        EXPECT_EQ(p.exitCode(), 1) << shell;
        EXPECT_TRUE(p.readAllStandardError().startsWith("Не могу прочитать стандартный ввод: "))
            << shell;
    }
}

// The program itself, as accountants call it.
TEST(Words, CommandLine) {
    QProcess p;
    p.start(QStringLiteral(QM_BINARY_DIR "/quenmara"),
            {QStringLiteral("--words"), QStringLiteral("1234567.05")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput().toStdString(), example);

    p.start(QStringLiteral(QM_BINARY_DIR "/quenmara"),
            {QStringLiteral("--words"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForStarted(30000));
    p.write("12.5\n112\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardOutput().toStdString(),
              "\nСто двенадцать рублей 00 копеек\t112-00\n");
    EXPECT_TRUE(p.readAllStandardError().startsWith("Строка 1: неверный формат суммы «12.5»"));
}

} // namespace
