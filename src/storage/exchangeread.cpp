#include "exchangeread.h"

#include "cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace storage {

using namespace Qt::StringLiterals;

QString ExchangeSection::value(QStringView key) const {
    for (const auto& [k, v] : fields)
        if (k == key)
            return v;
    return {};
}

QStringList ExchangeSection::values(QStringView key) const {
    QStringList out;
    for (const auto& [k, v] : fields)
        if (k == key)
            out << v;
    return out;
}

namespace {

// The file as text: code page 1251, unless its header declares the DOS code page (866).
QString decode(const QByteArray& bytes) {
    QStringEncoder dos("IBM866");
    const QByteArray dosMark = dos.encode(u"Кодировка=DOS"_s);
    if (dos.isValid() && bytes.contains(dosMark)) {
        QStringDecoder decoder("IBM866");
        return decoder.decode(bytes);
    }
    return cp1251::toUnicode(bytes);
}

} // namespace

ExchangeText readExchange(const QByteArray& bytes) {
    ExchangeText t;
    const auto refuse = [&t](const QString& why) {
        t = {};
        t.error = why;
        return t;
    };
    const QStringList lines = decode(bytes).split(u'\n');
    enum class Part { Start, Header, Account, Document, End } part = Part::Start;
    ExchangeSection* into = nullptr;
    for (qsizetype i = 0; i < lines.size() && part != Part::End; ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (part == Part::Start && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty())
            continue;
        if (part == Part::Start) {
            if (line.trimmed() != u"1CClientBankExchange")
                return refuse(u"это не файл обмена с клиент-банком (1CClientBankExchange)"_s);
            part = Part::Header;
            into = &t.header;
            continue;
        }
        const QString mark = line.trimmed();
        if (part == Part::Header && mark == u"СекцияРасчСчет") {
            part = Part::Account;
            t.accounts.append(ExchangeSection{});
            into = &t.accounts.last();
            continue;
        }
        if (part == Part::Account && mark == u"КонецРасчСчет") {
            part = Part::Header;
            into = &t.header;
            continue;
        }
        if (part == Part::Document && mark == u"КонецДокумента") {
            part = Part::Header;
            into = &t.header;
            continue;
        }
        if (part == Part::Header && mark == u"КонецФайла") {
            part = Part::End;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            return refuse(u"строка %1 («%2») не в виде ключ=значение"_s.arg(i + 1).arg(mark));
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == u"СекцияДокумент") {
            if (part != Part::Header)
                return refuse(u"раздел перед строкой %1 не закончен"_s.arg(i + 1));
            part = Part::Document;
            t.documents.append(ExchangeSection{});
            into = &t.documents.last();
        }
        into->fields.append({key, value});
    }
    if (part == Part::Start)
        return refuse(u"файл пуст"_s);
    if (part != Part::End)
        return refuse(u"файл неполон: нет строки КонецФайла"_s);
    return t;
}

} // namespace storage
