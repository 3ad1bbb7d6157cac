#include "cli.h"

namespace app {

QString usageText() {
    return QStringLiteral(
        "Использование: quenmara [--dir ПАПКА] [РЕЖИМ]\n"
        "Без режима открывается главное окно программы.\n"
        "\n"
        "  --dir ПАПКА              папка программы (по умолчанию папка исполняемого файла,\n"
        "                           а если в нее нельзя писать, ~/.local/share/Quenmara)\n"
        "  --list                   вывести сохраненные платежки: номер, дата, плательщик,\n"
        "                           получатель, сумма, состояние, имя файла (через табуляцию)\n"
        "  --check                  проверить ИНН, КПП, БИК и счета справочника и сохраненных\n"
        "                           платежек; по строке на ошибку (через табуляцию)\n"
        "  --pdf ВЫХОД.pdf ИМЯ.plat...\n"
        "                           напечатать названные платежки из папки PP в файл PDF,\n"
        "                           по одной странице A4 на платежку\n"
        "  --export ВЫХОД.txt ИМЯ.plat...\n"
        "                           выгрузить названные платежки в файл обмена с\n"
        "                           клиент-банком (1CClientBankExchange; банки ждут его\n"
        "                           под именем 1c_to_kl.txt)\n"
        "  --words СУММА            вывести сумму прописью и цифрами через табуляцию;\n"
        "                           \"-\" читает по одной сумме в строке со стандартного ввода\n"
        "  --help                   эта справка\n"
        "  --version                версия программы\n");
}

std::optional<Options> parseOptions(const QStringList& args, QString& error) {
    Options o;
    bool modeSet = false;
    auto setMode = [&](Options::Mode m, const QString& name) {
        if (modeSet) {
            error = QStringLiteral("Режим %1 нельзя сочетать с другим режимом").arg(name);
            return false;
        }
        modeSet = true;
        o.mode = m;
        return true;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("После %1 нужно значение").arg(a);
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == QLatin1String("--dir")) {
            if (!value(o.dir))
                return std::nullopt;
        } else if (a == QLatin1String("--list")) {
            if (!setMode(Options::Mode::List, a))
                return std::nullopt;
        } else if (a == QLatin1String("--check")) {
            if (!setMode(Options::Mode::Check, a))
                return std::nullopt;
        } else if (a == QLatin1String("--words")) {
            if (!setMode(Options::Mode::Words, a) || !value(o.words))
                return std::nullopt;
        } else if (a == QLatin1String("--pdf") || a == QLatin1String("--export")) {
            const bool pdf = a == QLatin1String("--pdf");
            if (!setMode(pdf ? Options::Mode::Pdf : Options::Mode::Export, a) ||
                !value(pdf ? o.pdfOut : o.exportOut))
                return std::nullopt;
            while (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
                o.orders << args[++i];
            if (o.orders.isEmpty()) {
                error =
                    QStringLiteral("После %1 %2 нужны имена платежек")
                        .arg(a, pdf ? QStringLiteral("ВЫХОД.pdf") : QStringLiteral("ВЫХОД.txt"));
                return std::nullopt;
            }
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            if (!setMode(Options::Mode::Help, a))
                return std::nullopt;
        } else if (a == QLatin1String("--version")) {
            if (!setMode(Options::Mode::Version, a))
                return std::nullopt;
        } else {
            error = QStringLiteral("Неизвестный параметр: %1").arg(a);
            return std::nullopt;
        }
    }
    return o;
}

} // namespace app
