#include "orderlist.h"

namespace archive {

std::optional<core::OrderFilter> orderFilter(const storage::SavedOrders& orders,
                                             const FilterChoice& choice) {
    const bool byPayer = choice.mode == FilterPayer || choice.mode == FilterBoth;
    const bool byPayee = choice.mode == FilterPayee || choice.mode == FilterBoth;
    if (!byPayer && !byPayee)
        return std::nullopt;
    const auto payers = orders.payers().size();
    const auto payees = orders.payees().size();
    if ((byPayer && (choice.payer < 0 || std::size_t(choice.payer) >= payers)) ||
        (byPayee && (choice.payee < 0 || std::size_t(choice.payee) >= payees)))
        return std::nullopt;
    core::OrderFilter filter;
    if (byPayer)
        filter.payerInn =
            std::string(orders.party(orders.payers()[std::size_t(choice.payer)].party).inn.view());
    if (byPayee)
        filter.payeeInn =
            std::string(orders.party(orders.payees()[std::size_t(choice.payee)]).inn.view());
    return filter;
}

std::uint8_t filterBoxStep(const storage::SavedOrders& orders, FilterBoxes& b) {
    if (orders.payers().size() < 2)
        b.payerAll = true;
    if (orders.payees().size() < 2)
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

QStringList ordersToSend(const core::OrderArchive& archive, const QString& ordersDir, int first,
                         int last) {
    const int count = archive.rowCount();
    if (first < 0 || last <= first) {
        first = 0;
        last = count - 1;
    }
    QStringList paths;
    for (int row = first; row <= last && row < count; ++row)
        paths << ordersDir + archive.fileNameAt(row);
    return paths;
}

QString deletionPanelText(const QString& number, const QString& date) {
    return QStringLiteral("№ %1 от %2").arg(number, date);
}

editor::Question deleteOrderQuestion(const QString& number, const QString& date) {
    using Look = editor::QuestionLine::Look;
    return {QStringLiteral("Удалить платежку"),
            {{QStringLiteral("Удалить платежку ?")},
             {deletionPanelText(number, date), Look::RaisedPanel, 240}}};
}

} // namespace archive
