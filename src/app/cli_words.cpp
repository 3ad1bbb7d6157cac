// --words: amounts in words for contracts and spreadsheets. One amount from the command line,
// or one per line of standard input ("-"), each written as "line<TAB>figure" in UTF-8. Each
// input line is read into a fixed buffer and answered by exactly one output line, so any
// number of lines streams through in constant memory and the columns stay aligned.
#include "cli.h"

#include "render/amount.h"
#include "storage/cp1251.h"
#include "storage/fileio.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace app {

namespace {

// The UTF-8 form of every code page 1251 character (at most 3 bytes each).
struct Utf8Table {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<std::uint8_t, 256> size{};

    Utf8Table() {
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            const QByteArray u = storage::cp1251::toUnicode(std::string_view(&c, 1)).toUtf8();
            size[std::size_t(b)] = std::uint8_t(std::min<qsizetype>(u.size(), 4));
            std::memcpy(bytes[std::size_t(b)].data(), u.constData(), size[std::size_t(b)]);
        }
    }

    // Appends text in UTF-8 at out; returns the end. out must have room for 3 bytes a
    // character (plus one, since every character copies 4 bytes).
    char* append(std::string_view text, char* out) const {
        for (char c : text) {
            const auto i = std::size_t(static_cast<unsigned char>(c));
            std::memcpy(out, bytes[i].data(), 4);
            out += size[i];
        }
        return out;
    }
};

// The length of the well-formed UTF-8 character at the start of s (a printable one, for a
// single byte), or 0.
std::size_t utf8Character(std::string_view s) {
    const auto b = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80)
        return c >= 0x20 && c != 0x7F ? 1 : 0;
    const std::size_t n = c >= 0xC2 && c <= 0xDF   ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || s.size() < n)
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(k) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) >= 0xA0) || (c == 0xF0 && b(1) < 0x90) ||
        (c == 0xF4 && b(1) >= 0x90))
        return 0;
    return n;
}

// The input as a message may show it: well-formed printable UTF-8 as it is, every other byte
// (NUL, a control character, a byte of no valid character) as \xHH, so that nothing the
// input holds reaches the terminal raw.
std::string escaped(std::string_view input) {
    std::string out;
    out.reserve(input.size());
    while (!input.empty()) {
        std::size_t n = utf8Character(input);
        if (n == 0) {
            static const char digits[] = "0123456789ABCDEF";
            const auto c = static_cast<unsigned char>(input[0]);
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
            n = 1;
        } else {
            out.append(input.substr(0, n));
        }
        input.remove_prefix(n);
    }
    return out;
}

// An amount as it appears in a message: in guillemets, cut to 40 bytes (at a character
// boundary of the UTF-8 input) with an ellipsis when longer, escaped.
std::string quoted(std::string_view input, bool cut) {
    constexpr std::size_t limit = 40;
    if (input.size() > limit) {
        std::size_t n = limit;
        while (n > 0 && (static_cast<unsigned char>(input[n]) & 0xC0) == 0x80)
            --n;
        input = input.substr(0, n);
        cut = true;
    }
    return "«" + escaped(input) + (cut ? "…»" : "»");
}

// The message for a malformed amount; capital: as a sentence of its own, else after
// "Строка N: ".
std::string errorText(render::AmountErrorCode error, std::string_view input, bool cut,
                      bool capital) {
    if (error == render::AmountTooManyDigits)
        return (capital ? "Слишком" : "слишком") + std::string(" большая сумма ") +
               quoted(input, cut) + ": в рублях может быть не больше 9 цифр";
    return (capital ? "Неверный" : "неверный") + std::string(" формат суммы ") +
           quoted(input, cut) +
           ": нужны цифры рублей и, если есть копейки, запятая, точка или дефис и ровно две "
           "цифры копеек";
}

// Writes "line<TAB>figure\n" for a valid amount, or an empty line; returns the error.
render::AmountErrorCode writeWords(const Utf8Table& utf8, std::string_view amount,
                                   std::ostream& out) {
    const render::AmountLine a = render::assembleAmountLine(amount);
    if (a.amount.error != render::AmountValid) {
        out.put('\n');
        return a.amount.error;
    }
    char buf[3 * (storage::WorkText::capacity + 16) + 4];
    char* p = utf8.append(a.line.view(), buf);
    *p++ = '\t';
    p = utf8.append(a.figure.view(), p);
    *p++ = '\n';
    out.write(buf, p - buf);
    return render::AmountValid;
}

// Reads standard input line by line. Only the first 256 bytes of a line are kept: no amount
// is that long, so a longer line is malformed whatever follows.
int wordsOfLines(const Utf8Table& utf8, std::istream& in, std::ostream& out, std::ostream& err) {
    std::streambuf* source = in.rdbuf();
    std::array<char, 256> line;
    std::size_t length = 0;
    bool overlong = false;
    unsigned long long lineNo = 0;
    bool anyMalformed = false;

    auto finishLine = [&] {
        ++lineNo;
        std::string_view amount(line.data(), length);
        // A line ending of a Windows text file is not part of the amount.
        if (!overlong && amount.ends_with('\r'))
            amount.remove_suffix(1);
        render::AmountErrorCode error = render::AmountBadFormat;
        if (overlong)
            out.put('\n');
        else
            error = writeWords(utf8, amount, out);
        if (error != render::AmountValid) {
            anyMalformed = true;
            // One write a message: the error stream is unbuffered.
            const std::string message = "Строка " + std::to_string(lineNo) + ": " +
                                        errorText(error, amount, overlong, false) + '\n';
            err.write(message.data(), std::streamsize(message.size()));
        }
        length = 0;
        overlong = false;
    };

    // A standard input that cannot be read (closed, a folder) ends the input with a message;
    // the stream reports it by an exception.
    try {
        for (;;) {
            const int c = source ? source->sbumpc() : std::char_traits<char>::eof();
            if (c == std::char_traits<char>::eof()) {
                if (length || overlong)
                    finishLine();
                break;
            }
            if (c == '\n')
                finishLine();
            else if (length < line.size())
                line[length++] = char(c);
            else
                overlong = true;
        }
    } catch (const std::exception&) {
        const int error = errno;
        if (length || overlong)
            finishLine();
        out.flush();
        err << "Не могу прочитать стандартный ввод: " << storage::systemReason(error).toStdString()
            << '\n';
        return 1;
    }
    out.flush();
    if (!out) {
        err << "Не удалось записать результат в стандартный вывод\n";
        return 1;
    }
    return anyMalformed ? 1 : 0;
}

} // namespace

int runWords(const QString& amount, std::istream& in, std::ostream& out, std::ostream& err) {
    if (!storage::cp1251::available()) {
        err << "Нет преобразования кодовой страницы windows-1251 (Qt собран без ICU?)\n";
        return 1;
    }
    static const Utf8Table utf8;
    if (amount == QLatin1String("-"))
        return wordsOfLines(utf8, in, out, err);

    const QByteArray bytes = amount.toUtf8();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    const render::AmountErrorCode error = storage::Money::parse(text).error;
    if (error != render::AmountValid) {
        const std::string message = errorText(error, text, false, true) + '\n';
        err.write(message.data(), std::streamsize(message.size()));
        return 1;
    }
    writeWords(utf8, text, out);
    out.flush();
    if (!out) {
        err << "Не удалось записать результат в стандартный вывод\n";
        return 1;
    }
    return 0;
}

} // namespace app
