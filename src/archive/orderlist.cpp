#include "orderlist.h"

#include "editor/uiutil.h"

#include <limits>

namespace archive {

using storage::Money;
using storage::Store;
using storage::TPlatItem;

const QStringList& PlatColumnTitles() {
    static const QStringList titles{QStringLiteral("№"),          QStringLiteral("Дата."),
                                    QStringLiteral("Плательщик"), QStringLiteral("Кому"),
                                    QStringLiteral("Сумма"),      QStringLiteral("Состояние")};
    return titles;
}

QString PlatCellText(const TPlatItem& item, int column) {
    switch (column) {
    case 0:
        return editor::toUi(item.NumberText);
    case 1:
        return editor::toUi(item.DateText);
    case 2:
        return editor::toUi(item.PayerText);
    case 3:
        return editor::toUi(item.PayeeText);
    case 4:
        return editor::toUi(item.AmountText);
    case 5:
        // The state of an order that could not be read is unknown: the reason stands there.
        if (!item.Problem.empty())
            return QStringLiteral("Не прочитана: %1").arg(editor::toUi(item.Problem));
        return item.Accepted == 1 ? QStringLiteral("Оплачено") : QStringLiteral("Не оплачено");
    default:
        return {};
    }
}

int FillFilter(const Store& s, const FilterChoice& choice, PlatItems& out) {
    const bool byPayer = choice.mode == FilterPayer || choice.mode == FilterBoth;
    const bool byPayee = choice.mode == FilterPayee || choice.mode == FilterBoth;
    if (!byPayer && !byPayee)
        return 0;
    if ((byPayer && (choice.payer < 0 || choice.payer >= s.PayerInnCount)) ||
        (byPayee && (choice.payee < 0 || choice.payee >= s.PayeeInnCount)))
        return 0;
    int count = 0;
    for (int i = 0; i < s.PlatCount; ++i) {
        const TPlatItem& e = s.PlatList[std::size_t(i)];
        if (byPayer && !(e.PayerInn == s.PayerInnTable[std::size_t(choice.payer)].Inn))
            continue;
        if (byPayee && !(e.PayeeInn == s.PayeeInnTable[std::size_t(choice.payee)].Inn))
            continue;
        out[std::size_t(count++)] = e;
    }
    return count;
}

std::uint8_t BoxStep(const Store& s, FilterBoxes& b) {
    if (s.PayerInnCount < 2)
        b.payerAll = true;
    if (s.PayeeInnCount < 2)
        b.payeeAll = true;
    if (!b.payerAll && b.payer < 0)
        b.payer = 0;
    if (!b.payeeAll && b.payee < 0)
        b.payee = 0;
    return std::uint8_t((b.payerAll ? 0 : FilterPayer) | (b.payeeAll ? 0 : FilterPayee));
}

QString SelectionText(int top, int bottom) {
    return QStringLiteral("Selection - %1 (%2..%3)").arg(bottom - top + 1).arg(top).arg(bottom);
}

// Every listed amount holds at most as many characters as AmountText, so no sum of a whole
// list can overflow.
static_assert(Money::maxLenientKopecks(int(decltype(TPlatItem::AmountText)::capacity)) <
              std::numeric_limits<std::int64_t>::max() / storage::MaxPlats);

SelectionSum SumAmounts(const PlatItems& items, int count, int first, int last) {
    SelectionSum sum;
    for (int i = std::max(first, 0); i <= last && i < count; ++i) {
        const TPlatItem& e = items[std::size_t(i)];
        const std::optional<Money> amount = Money::parseLenient(e.AmountText.view());
        if (!amount) {
            sum.error = !e.Problem.empty()
                            ? QStringLiteral("Платежка № %1 не прочитана: %2. Сумма выделенных "
                                             "платежек не подсчитана.")
                                  .arg(editor::toUi(e.NumberText), editor::toUi(e.Problem))
                        : e.AmountText.empty()
                            ? QStringLiteral("В платежке № %1 нет суммы. Сумма выделенных платежек "
                                             "не подсчитана.")
                                  .arg(editor::toUi(e.NumberText))
                            : QStringLiteral("В платежке № %1 сумма «%2» не является числом. Сумма "
                                             "выделенных платежек не подсчитана.")
                                  .arg(editor::toUi(e.NumberText), editor::toUi(e.AmountText));
            return sum;
        }
        sum.any = true;
        sum.total += *amount;
    }
    return sum;
}

QStringList OrdersToSend(const storage::Store& s, const PlatItems& items, int count, int first,
                         int last) {
    if (first < 0 || last <= first) {
        first = 0;
        last = count - 1;
    }
    QStringList paths;
    for (int i = first; i <= last && i < count; ++i)
        paths << s.PlatDir + editor::toUi(items[std::size_t(i)].FileName);
    return paths;
}

QString DeletionPanelText(const TPlatItem& item) {
    return QStringLiteral("№ %1 от %2")
        .arg(editor::toUi(item.NumberText), editor::toUi(item.DateText));
}

editor::Question deleteOrderQuestion(const TPlatItem& item) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить платежку"),
            {{QStringLiteral("Удалить платежку ?")},
             {DeletionPanelText(item), Look::RaisedPanel, 240}}};
}

bool ShownInEditor(const Store& s, int position) {
    return s.PlatSaved && position >= 0 && position < s.PlatCount &&
           s.PlatList[std::size_t(position)].FileName == s.PlatFileName;
}

int RemovePlatEntry(Store& s, int position) {
    if (position < 0 || position >= s.PlatCount)
        return std::min(position, s.PlatCount - 1);
    for (int i = position; i + 1 < s.PlatCount; ++i)
        s.PlatList[std::size_t(i)] = s.PlatList[std::size_t(i + 1)];
    storage::clearRecord(s.PlatList[std::size_t(s.PlatCount - 1)]);
    --s.PlatCount;
    if (s.OpenedIndex > position)
        --s.OpenedIndex;
    return std::min(position, s.PlatCount - 1);
}

} // namespace archive
