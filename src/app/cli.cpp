#include "cli.h"

#include <QCommandLineParser>
#include <utility>

namespace app {

using namespace Qt::StringLiterals;

QString usageText() {
    return QStringLiteral(
        "Использование: quenmara [--dir ПАПКА] [РЕЖИМ]\n"
        "Без режима открывается главное окно программы.\n"
        "\n"
        "  --dir ПАПКА              папка программы (по умолчанию папка исполняемого файла,\n"
        "                           а если в нее нельзя писать, ~/.local/share/Quenmara)\n"
        "  --no-lock                работать без блокировки папки, когда ее нельзя создать\n"
        "                           (папка программы открыта только для чтения): только если\n"
        "                           с этой папкой точно работает одна программа\n"
        "  --list                   вывести сохраненные платежки: номер, дата, плательщик,\n"
        "                           получатель, сумма, состояние, имя файла (через табуляцию)\n"
        "  --list --deleted         вывести удаленные платежки (корзину), сначала удаленные\n"
        "                           последними: номер, дата, плательщик, получатель, сумма,\n"
        "                           когда удалена, имя файла (через табуляцию)\n"
        "  --check                  проверить ИНН, КПП, БИК и счета справочника и сохраненных\n"
        "                           платежек (и по справочнику БИК, если он загружен) и даты\n"
        "                           платежек;\n"
        "                           по строке на ошибку (через табуляцию)\n"
        "  --pdf ВЫХОД.pdf ИМЯ.plat...\n"
        "                           напечатать названные платежки из папки PP в файл PDF,\n"
        "                           по одной странице A4 на платежку\n"
        "  --export ВЫХОД.txt ИМЯ.plat...\n"
        "                           выгрузить названные платежки в файл обмена с\n"
        "                           клиент-банком (1CClientBankExchange; банки ждут его\n"
        "                           под именем 1c_to_kl.txt)\n"
        "  --import-bik ФАЙЛ        загрузить справочник БИК Банка России (сообщение ED807,\n"
        "                           в архиве zip или без него) в папку программы\n"
        "  --import-statement ФАЙЛ  загрузить выписку клиент-банка (kl_to_1c.txt) и отметить\n"
        "                           оплаченными списанные по ней платежки\n"
        "  --words СУММА            вывести сумму прописью и цифрами через табуляцию;\n"
        "                           \"-\" читает по одной сумме в строке со стандартного ввода\n"
        "  -h, --help               эта справка\n"
        "  --version                версия программы\n");
}

namespace {

// How the user wrote an option the parser names: "-h" for a letter, "--list" otherwise, or
// the argument itself when it is among args.
QString typed(const QString& name, const QStringList& args) {
    for (const QString& a : args) {
        if (!a.startsWith(u'-'))
            continue;
        qsizetype start = 0;
        while (start < a.size() && a[start] == u'-')
            ++start;
        if (a.mid(start).section(u'=', 0, 0) == name)
            return a;
    }
    return (name.size() == 1 ? u"-"_s : u"--"_s) + name;
}

} // namespace

std::optional<Options> parseOptions(const QStringList& args, QString& error) {
    const QCommandLineOption dir(u"dir"_s, {}, u"ПАПКА"_s);
    const QCommandLineOption words(u"words"_s, {}, u"СУММА"_s);
    const QCommandLineOption pdf(u"pdf"_s, {}, u"ВЫХОД.pdf"_s);
    const QCommandLineOption exportTo(u"export"_s, {}, u"ВЫХОД.txt"_s);
    const QCommandLineOption importBik(u"import-bik"_s, {}, u"ФАЙЛ"_s);
    const QCommandLineOption importStatement(u"import-statement"_s, {}, u"ФАЙЛ"_s);
    const QList<std::pair<QCommandLineOption, Options::Mode>> modes = {
        {QCommandLineOption(u"list"_s), Options::Mode::List},
        {QCommandLineOption(u"check"_s), Options::Mode::Check},
        {words, Options::Mode::Words},
        {pdf, Options::Mode::Pdf},
        {exportTo, Options::Mode::Export},
        {importBik, Options::Mode::ImportBik},
        {importStatement, Options::Mode::ImportStatement},
        {QCommandLineOption(QStringList{u"h"_s, u"help"_s}), Options::Mode::Help},
        {QCommandLineOption(u"version"_s), Options::Mode::Version},
    };
    const QCommandLineOption noLock(u"no-lock"_s);
    const QCommandLineOption deleted(u"deleted"_s);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(dir);
    parser.addOption(noLock);
    parser.addOption(deleted);
    for (const auto& [option, mode] : modes)
        parser.addOption(option);

    if (!parser.parse(QStringList{u"quenmara"_s} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        // The parser stops at an option whose value is missing, which is then the last
        // argument; a value given to an option that takes none makes the option unknown here.
        QString bad;
        if (!unknown.isEmpty()) {
            bad = typed(unknown.constFirst(), args);
        } else {
            const QString last = args.constLast();
            for (const QCommandLineOption& o :
                 {dir, words, pdf, exportTo, importBik, importStatement})
                if (last == u"--"_s + o.names().constFirst() ||
                    last == u"-"_s + o.names().constFirst()) {
                    error = u"После %1 нужно значение"_s.arg(last);
                    return std::nullopt;
                }
            for (const QString& a : args)
                if (a.startsWith(u'-') && a.contains(u'=') && bad.isEmpty())
                    bad = a;
        }
        error = u"Неизвестный параметр: %1"_s.arg(bad);
        return std::nullopt;
    }

    Options o;
    bool modeSet = false;
    for (const QString& name : parser.optionNames()) {
        for (const auto& [option, mode] : modes) {
            if (!option.names().contains(name))
                continue;
            if (modeSet) {
                error = u"Режим %1 нельзя сочетать с другим режимом"_s.arg(typed(name, args));
                return std::nullopt;
            }
            modeSet = true;
            o.mode = mode;
        }
    }
    o.dir = parser.value(dir);
    o.noLock = parser.isSet(noLock);
    o.deleted = parser.isSet(deleted);
    if (o.deleted && o.mode != Options::Mode::List) {
        error = u"%1 работает только вместе с --list"_s.arg(typed(u"deleted"_s, args));
        return std::nullopt;
    }
    o.words = parser.value(words);
    o.pdfOut = parser.value(pdf);
    o.exportOut = parser.value(exportTo);
    o.importFile = parser.value(o.mode == Options::Mode::ImportBik ? importBik : importStatement);
    const QStringList positional = parser.positionalArguments();
    if (o.mode == Options::Mode::Pdf || o.mode == Options::Mode::Export) {
        const bool toPdf = o.mode == Options::Mode::Pdf;
        if (positional.isEmpty()) {
            error = u"После %1 %2 нужны имена платежек"_s.arg(
                toPdf ? u"--pdf"_s : u"--export"_s, toPdf ? u"ВЫХОД.pdf"_s : u"ВЫХОД.txt"_s);
            return std::nullopt;
        }
        o.orders = positional;
    } else if (!positional.isEmpty()) {
        error = u"Неизвестный параметр: %1"_s.arg(positional.constFirst());
        return std::nullopt;
    }
    return o;
}

} // namespace app
