#include "support/support.h"

#include "core/engine.h"
#include "editor/orderlogic.h"
#include "render/bankexchange.h"
#include "storage/bikdirectory.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace editor;
using testing_support::TempDir;

namespace {

// The order document on a program folder with a payer and a payee.
struct Fixture {
    TempDir dir;
    std::unique_ptr<storage::FolderData> s = std::make_unique<storage::FolderData>();
    core::Engine engine{*s};
    core::OrderDocument& doc = engine.document;

    Fixture() {
        s->folder.setProgramDir(dir.path());
        for (const char* inn : {"1234567890", "7701000001"}) {
            storage::OrganizationRecord& f =
                s->directory.organizations[std::size_t(s->directory.organizationCount++)];
            f.name = "Firm";
            f.inn = inn;
        }
    }
};

} // namespace

// The editor's check and the bank exchange file read a date by one grammar: whatever the
// editor saves the export takes, and what it refuses the export refuses. The editor used to
// save 31.02.2026, which the export then refused as not a date, and the export took 1.2.2024,
// which the editor refused.
TEST(OrderDates, TheEditorAndTheBankExchangeFileReadDatesAlike) {
    Fixture fx;
    for (const char* date :
         {"5.03.2009", "29.02.2024", "31.02.2026", "29.02.2023", "1.2.2024", "01.13.2009"}) {
        OrderFields f;
        f.payer = 0;
        f.payee = 1;
        f.number = "7";
        f.date = QString::fromUtf8(date);
        f.amount = f.purpose = "1-00";
        const core::OrderCheck c = fx.doc.check(f);
        const bool saved = c.result == CheckOk;
        storage::OrderRecord p;
        storage::clearRecord(p);
        p.number = "7";
        p.date.assign(c.date.toLatin1());
        p.amount = "1500-00";
        p.payerAccount = "40702810000000000001";
        const render::ExchangeFile x =
            render::buildExchangeFile({{"7.plat", p, {}}}, QDateTime::currentDateTime());
        EXPECT_EQ(x.written == 1, saved) << date;
    }
}

TEST(PreviewWarnings, BanksTheBikDirectoryDoesNotConfirmAndAPurposeTooLongForTheBank) {
    render::OrderInput order;
    order.date = "15.01.2026";
    order.amountText = "1000-00";
    order.vatRate = 1;
    order.payer.present = true;
    order.payer.firm.banks[0].bik = "044525000";
    order.purposeLines = {QByteArray(200, 'x')};
    storage::BikDirectory directory;
    directory.banks = {{"044525225", "ПАО Сбербанк", "г. Москва", {}, {}}};
    EXPECT_EQ(previewWarnings(order, &directory),
              (QStringList{"Плательщик: БИК не найден в справочнике БИК",
                           "Назначение платежа со строкой НДС длиннее 210 знаков (224): в банк "
                           "не отправить"}));
    order.purposeLines = {QByteArray(186, 'x')}; // 210 with the VAT line
    EXPECT_EQ(previewWarnings(order, nullptr), QStringList());
}
