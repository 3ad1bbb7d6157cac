#include "datagen.h"

#include "storage/cp1251.h"
#include "storage/datafiles.h"
#include "storage/platfile.h"
#include "storage/store.h"

#include <QDir>
#include <QFile>
#include <memory>

namespace datagen {

using namespace storage;

namespace {

// Code page 1251 words from which the texts are made.
const QByteArray& words() {
    static const QByteArray w = cp1251::fromUnicode(QStringLiteral(
        "торговый дом снабжение строительство поставка оборудования город улица проспект "
        "дом корпус офис Москва Санкт-Петербург Новосибирск банк филиал отделение "));
    return w;
}

// Fills a text to its capacity: prefix, then words taken from position seed on.
template <std::size_t N> void full(ShortStr<N>& s, std::string_view prefix, int seed) {
    s.assign(prefix);
    const QByteArray& w = words();
    std::size_t at = std::size_t(seed * 7) % std::size_t(w.size());
    while (s.size() < N) {
        s.append(w[qsizetype(at)]);
        at = (at + 1) % std::size_t(w.size());
    }
}

// A text of digits at full capacity, from the digits of seed.
template <std::size_t N> void digits(ShortStr<N>& s, long long seed) {
    s.clear();
    std::string d = std::to_string(seed);
    while (s.size() < N)
        s.append(d[s.size() % d.size()]);
}

std::string cp(const QString& text) {
    return cp1251::fromUnicode(text).toStdString();
}

void makeBank(TFirmBank& b, int i, int k) {
    digits(b.Account, 40702810000LL + i * 10 + k);
    digits(b.CorrAccount, 30101810000LL + k);
    digits(b.Bik, 44525000 + k);
    full(b.BankShort, cp(QStringLiteral("Банк %1 ").arg(k + 1)), i + k);
    full(b.BankFull, cp(QStringLiteral("Акционерный коммерческий банк %1 ").arg(k + 1)), i + k);
}

// Writes a generated file as it is; the program's own writes are not under test here.
IoResult writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return IoResult::failure(
            QStringLiteral("Не могу записать файл %1: %2").arg(path, f.errorString()));
    return {};
}

} // namespace

std::string innOf(int i) {
    return std::to_string(770000000000LL + i);
}

TFirm makeFirm(int i) {
    TFirm f;
    clearRecord(f);
    full(f.Name, cp(QStringLiteral("Общество с ограниченной ответственностью «Фирма %1» ").arg(i)),
         i);
    digits(f.CertSeries, 77);
    digits(f.CertNumber, 100000 + i);
    f.CertDate = "01.02.2003";
    full(f.CertIssuer, cp(QStringLiteral("Инспекция ФНС № %1 ").arg(i % 50)), i);
    digits(f.Ogrn, 1027700000000LL + i);
    full(f.LegalAddress, cp(QStringLiteral("%1, ").arg(100000 + i)), i);
    full(f.PostalAddress, cp(QStringLiteral("%1, а/я %2 ").arg(100000 + i).arg(i)), i + 1);
    full(f.Phone, "+7 495 ", i);
    full(f.Fax, "+7 495 ", i + 2);
    full(f.EMail, "firm" + std::to_string(i) + "@", i);
    for (int k = 0; k < 4; ++k)
        makeBank(f.Banks[k], i, k);
    f.Inn = innOf(i);
    digits(f.Kpp, 770100000 + i);
    digits(f.Okato, 45286000000LL + i);
    digits(f.Okpo, 12345678 + i);
    digits(f.Okogu, 4210014);
    digits(f.Okopf, 65);
    digits(f.Okfs, 16);
    full(f.Okved, "51.", i);
    f.BankNo = std::uint8_t(i % 4);
    return f;
}

TPlat makePlat(const Options& o, int k, QString& fileName) {
    const int payers = std::max(1, o.payers);
    const int years = std::max(1, o.years);
    const int payer = k % payers;
    const int year = o.firstYear + (k / payers) % years;
    const int number = k / (payers * years) + 1;
    const int others = std::max(1, o.firms - payers);
    // Every 50th order goes to a payee outside the directory.
    const int payee = k % 50 == 49 ? 90000 + k : payers + (k * 7) % others;

    TPlat p;
    clearRecord(p);
    const TFirm from = makeFirm(payer);
    const TFirm to = makeFirm(payee);
    auto party = [](const TFirm& f, ShortStr<128>& name, ShortStr<20>& account, ShortStr<20>& corr,
                    ShortStr<10>& bik, ShortStr<64>& bankShort, ShortStr<128>& bankFull,
                    ShortStr<12>& inn, ShortStr<12>& kpp) {
        const TFirmBank& b = f.bank();
        name.assign(f.Name);
        account.assign(b.Account);
        corr.assign(b.CorrAccount);
        bik.assign(b.Bik);
        bankShort.assign(b.BankShort);
        bankFull.assign(b.BankFull);
        inn.assign(f.Inn);
        kpp.assign(f.Kpp);
    };
    party(from, p.PayerName, p.PayerAccount, p.PayerCorrAccount, p.PayerBik, p.PayerBankShort,
          p.PayerBankFull, p.PayerInn, p.PayerKpp);
    party(to, p.PayeeName, p.PayeeAccount, p.PayeeCorrAccount, p.PayeeBik, p.PayeeBankShort,
          p.PayeeBankFull, p.PayeeInn, p.PayeeKpp);
    p.Number = std::to_string(number);
    p.Date = QStringLiteral("%1.%2.%3")
                 .arg(1 + k % 28, 2, 10, QLatin1Char('0'))
                 .arg(1 + k % 12, 2, 10, QLatin1Char('0'))
                 .arg(year)
                 .toStdString();
    p.Amount = std::to_string(100000 + k * 37) + "-" + std::to_string(10 + k % 90);
    p.Vat = std::uint8_t(k % 3);
    p.PayKind = std::uint8_t(k % 4);
    p.Priority = std::uint8_t(k % 2);
    p.Status = std::uint8_t(k % 3);
    full(p.Purpose, cp(QStringLiteral("Оплата по счету № %1 ").arg(k)), k);
    digits(p.Kbk, 182101020100110LL);
    digits(p.Okato, 45286000000LL);
    p.TaxPeriod = cp(QStringLiteral("МС.01.2009"));
    digits(p.DocNumber, 1000 + k);
    p.DocDate = p.Date.view();
    p.Basis = cp(QStringLiteral("ТП"));
    p.TaxType = cp(QStringLiteral("НС"));
    p.Accepted = std::uint8_t(k % 3 == 0);

    ShortStr<28> name;
    clearRecord(name);
    const std::string yy = std::to_string(year % 100 + 100).substr(1);
    MakePlatFileName(p.Number.view(), p.PayerInn.view(), yy, name);
    fileName = QString::fromLatin1(name.bytes());
    return p;
}

IoResult fillProgramFolder(const QString& programDir, const Options& o) {
    auto s = std::make_unique<Store>();
    s->setProgramDir(programDir);
    for (const char* sub : {"Data", "PP", "PPDel"})
        if (!QDir(s->ProgramDir).mkpath(QLatin1String(sub)))
            return IoResult::failure(QStringLiteral("Не могу создать папку %1").arg(sub));

    for (int i = 0; i < o.firms && i < MaxFirms; ++i)
        s->Firms[std::size_t(i)] = makeFirm(i);
    for (int i = 0; i < o.deletedFirms && i < MaxFirms; ++i)
        s->FirmsDel[std::size_t(i)] = makeFirm(1000 + i);
    for (int i = 0; i < o.filials && i < MaxFilials; ++i) {
        TFilial& b = s->Filials[std::size_t(i)];
        b.FirmNo = std::uint16_t(i % std::max(1, o.firms));
        full(b.Address, cp(QStringLiteral("Филиал %1, ").arg(i)), i);
        full(b.Phone, "+7 812 ", i);
        full(b.EMail, "branch" + std::to_string(i) + "@", i);
    }
    for (int i = 0; i < o.employees && i < MaxEmployees; ++i) {
        TEmpl& e = s->Employees[std::size_t(i)];
        e.FirmNo = std::uint16_t(i % std::max(1, o.firms));
        full(e.Position, cp(QStringLiteral("Бухгалтер ")), i);
        full(e.Surname, cp(QStringLiteral("Иванов%1 ").arg(i)), i);
        full(e.FirstName, cp(QStringLiteral("Иван ")), i);
        full(e.Patronymic, cp(QStringLiteral("Иванович ")), i);
        digits(e.WorkPhone, 4951234567LL + i);
        digits(e.MobilePhone, 9161234567LL + i);
        digits(e.InnerPhone, 1000 + i);
        full(e.EMail, "person" + std::to_string(i) + "@", i);
    }
    for (auto save : {SaveFileFirm, SaveFileFirmDel, SaveFileFilial, SaveFileEmpl})
        if (IoResult r = save(*s); !r)
            return r;

    auto writeOrders = [&](int count, int offset, const QString& folder, const char* ext) {
        for (int k = 0; k < count; ++k) {
            QString name;
            const TPlat p = makePlat(o, offset + k, name);
            name.chop(5);
            if (IoResult r = writeFile(folder + name + QLatin1String(ext), recordBytes(p)); !r)
                return r;
        }
        return IoResult{};
    };
    if (IoResult r = writeOrders(o.orders, 0, s->PlatDir, ".plat"); !r)
        return r;
    return writeOrders(o.deletedOrders, o.orders, s->PlatDelDir, ".pdel");
}

} // namespace datagen
