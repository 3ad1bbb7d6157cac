#include "orderlist.h"

#include "editor/uiutil.h"

#include <limits>

namespace archive {

using storage::Money;
using storage::OrderListItem;
using storage::Store;

const QStringList& orderColumnTitles() {
    static const QStringList titles{QStringLiteral("№"),          QStringLiteral("Дата."),
                                    QStringLiteral("Плательщик"), QStringLiteral("Кому"),
                                    QStringLiteral("Сумма"),      QStringLiteral("Состояние")};
    return titles;
}

QString orderCellText(const OrderListItem& item, int column) {
    switch (column) {
    case 0:
        return editor::toUi(item.numberText);
    case 1:
        return editor::toUi(item.dateText);
    case 2:
        return editor::toUi(item.payerText);
    case 3:
        return editor::toUi(item.payeeText);
    case 4:
        return editor::toUi(item.amountText);
    case 5:
        // The state of an order that could not be read is unknown: the reason stands there.
        if (!item.problem.empty())
            return QStringLiteral("Не прочитана: %1").arg(editor::toUi(item.problem));
        return item.accepted == 1 ? QStringLiteral("Оплачено") : QStringLiteral("Не оплачено");
    default:
        return {};
    }
}

int filterOrders(const Store& s, const FilterChoice& choice, PlatItems& out) {
    const bool byPayer = choice.mode == FilterPayer || choice.mode == FilterBoth;
    const bool byPayee = choice.mode == FilterPayee || choice.mode == FilterBoth;
    if (!byPayer && !byPayee)
        return 0;
    if ((byPayer && (choice.payer < 0 || choice.payer >= s.orders.payerCount)) ||
        (byPayee && (choice.payee < 0 || choice.payee >= s.orders.payeeCount)))
        return 0;
    int count = 0;
    for (int i = 0; i < s.orders.count; ++i) {
        const OrderListItem& e = s.orders.items[std::size_t(i)];
        if (byPayer && !(e.payerInn == s.orders.payers[std::size_t(choice.payer)].inn))
            continue;
        if (byPayee && !(e.payeeInn == s.orders.payees[std::size_t(choice.payee)].inn))
            continue;
        out[std::size_t(count++)] = e;
    }
    return count;
}

std::uint8_t filterBoxStep(const Store& s, FilterBoxes& b) {
    if (s.orders.payerCount < 2)
        b.payerAll = true;
    if (s.orders.payeeCount < 2)
        b.payeeAll = true;
    if (!b.payerAll && b.payer < 0)
        b.payer = 0;
    if (!b.payeeAll && b.payee < 0)
        b.payee = 0;
    return std::uint8_t((b.payerAll ? 0 : FilterPayer) | (b.payeeAll ? 0 : FilterPayee));
}

QString selectionText(int top, int bottom) {
    return QStringLiteral("Selection - %1 (%2..%3)").arg(bottom - top + 1).arg(top).arg(bottom);
}

// Every listed amount holds at most as many characters as AmountText, so no sum of a whole
// list can overflow.
static_assert(Money::maxLenientKopecks(int(decltype(OrderListItem::amountText)::capacity)) <
              std::numeric_limits<std::int64_t>::max() / storage::MaxPlats);

SelectionSum sumAmounts(const PlatItems& items, int count, int first, int last) {
    SelectionSum sum;
    for (int i = std::max(first, 0); i <= last && i < count; ++i) {
        const OrderListItem& e = items[std::size_t(i)];
        const std::optional<Money> amount = Money::parseLenient(e.amountText.view());
        if (!amount) {
            sum.error = !e.problem.empty()
                            ? QStringLiteral("Платежка № %1 не прочитана: %2. Сумма выделенных "
                                             "платежек не подсчитана.")
                                  .arg(editor::toUi(e.numberText), editor::toUi(e.problem))
                        : e.amountText.empty()
                            ? QStringLiteral("В платежке № %1 нет суммы. Сумма выделенных платежек "
                                             "не подсчитана.")
                                  .arg(editor::toUi(e.numberText))
                            : QStringLiteral("В платежке № %1 сумма «%2» не является числом. Сумма "
                                             "выделенных платежек не подсчитана.")
                                  .arg(editor::toUi(e.numberText), editor::toUi(e.amountText));
            return sum;
        }
        sum.any = true;
        sum.total += *amount;
    }
    return sum;
}

QStringList ordersToSend(const storage::Store& s, const PlatItems& items, int count, int first,
                         int last) {
    if (first < 0 || last <= first) {
        first = 0;
        last = count - 1;
    }
    QStringList paths;
    for (int i = first; i <= last && i < count; ++i)
        paths << s.folder.ordersDir + editor::toUi(items[std::size_t(i)].fileName);
    return paths;
}

QString deletionPanelText(const OrderListItem& item) {
    return QStringLiteral("№ %1 от %2")
        .arg(editor::toUi(item.numberText), editor::toUi(item.dateText));
}

editor::Question deleteOrderQuestion(const OrderListItem& item) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить платежку"),
            {{QStringLiteral("Удалить платежку ?")},
             {deletionPanelText(item), Look::RaisedPanel, 240}}};
}

bool shownInEditor(const Store& s, int position) {
    return s.PlatSaved && position >= 0 && position < s.orders.count &&
           s.orders.items[std::size_t(position)].fileName == s.PlatFileName;
}

int removeListEntry(Store& s, int position) {
    if (position < 0 || position >= s.orders.count)
        return std::min(position, s.orders.count - 1);
    for (int i = position; i + 1 < s.orders.count; ++i)
        s.orders.items[std::size_t(i)] = s.orders.items[std::size_t(i + 1)];
    storage::clearRecord(s.orders.items[std::size_t(s.orders.count - 1)]);
    --s.orders.count;
    if (s.OpenedIndex > position)
        --s.OpenedIndex;
    return std::min(position, s.orders.count - 1);
}

} // namespace archive
