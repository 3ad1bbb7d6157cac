#include "datagen.h"

#include "storage/cp1251.h"
#include "storage/datafiles.h"
#include "storage/folderdata.h"
#include "storage/platfile.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <memory>
#include <vector>

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

void makeBank(BankRecord& b, int i, int k) {
    digits(b.account, 40702810000LL + i * 10 + k);
    digits(b.corrAccount, 30101810000LL + k);
    digits(b.bik, 44525000 + k);
    full(b.bankShort, cp(QStringLiteral("Банк %1 ").arg(k + 1)), i + k);
    full(b.bankFull, cp(QStringLiteral("Акционерный коммерческий банк %1 ").arg(k + 1)), i + k);
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

OrganizationRecord makeFirm(int i) {
    OrganizationRecord f;
    clearRecord(f);
    full(f.name, cp(QStringLiteral("Общество с ограниченной ответственностью «Фирма %1» ").arg(i)),
         i);
    digits(f.certSeries, 77);
    digits(f.certNumber, 100000 + i);
    f.certDate = "01.02.2003";
    full(f.certIssuer, cp(QStringLiteral("Инспекция ФНС № %1 ").arg(i % 50)), i);
    digits(f.ogrn, 1027700000000LL + i);
    full(f.legalAddress, cp(QStringLiteral("%1, ").arg(100000 + i)), i);
    full(f.postalAddress, cp(QStringLiteral("%1, а/я %2 ").arg(100000 + i).arg(i)), i + 1);
    full(f.phone, "+7 495 ", i);
    full(f.fax, "+7 495 ", i + 2);
    full(f.email, "firm" + std::to_string(i) + "@", i);
    for (int k = 0; k < 4; ++k)
        makeBank(f.banks[k], i, k);
    f.inn = innOf(i);
    digits(f.kpp, 770100000 + i);
    digits(f.okato, 45286000000LL + i);
    digits(f.okpo, 12345678 + i);
    digits(f.okogu, 4210014);
    digits(f.okopf, 65);
    digits(f.okfs, 16);
    full(f.okved, "51.", i);
    f.bankNo = std::uint8_t(i % 4);
    return f;
}

namespace {

// The organizations of the orders of a data set, each made once: a hundred thousand orders
// would otherwise build two organizations each.
class Parties {
public:
    explicit Parties(const Options& o) {
        const int n = std::max(1, o.firms);
        firms_.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i)
            firms_.push_back(makeFirm(i));
    }
    // Organization i: from the cache when it is one of the directory's.
    const OrganizationRecord& firm(int i) {
        if (i >= 0 && std::size_t(i) < firms_.size())
            return firms_[std::size_t(i)];
        other_ = makeFirm(i);
        return other_;
    }

private:
    std::vector<OrganizationRecord> firms_;
    OrganizationRecord other_;
};

OrderRecord makePlat(const Options& o, int k, QString& fileName, Parties& parties) {
    const int payers = std::max(1, o.payers);
    const int years = std::max(1, o.years);
    const int payer = k % payers;
    const int year = o.firstYear + (k / payers) % years;
    const int number = k / (payers * years) + 1;
    const int others = std::max(1, o.firms - payers);
    // Every 50th order goes to a payee outside the directory.
    const int payee = k % 50 == 49 ? 90000 + k : payers + (k * 7) % others;

    OrderRecord p;
    clearRecord(p);
    auto party = [](const OrganizationRecord& f, ShortStr<128>& name, ShortStr<20>& account,
                    ShortStr<20>& corr, ShortStr<10>& bik, ShortStr<64>& bankShort,
                    ShortStr<128>& bankFull, ShortStr<12>& inn, ShortStr<12>& kpp) {
        const BankRecord& b = f.bank();
        name.assign(f.name);
        account.assign(b.account);
        corr.assign(b.corrAccount);
        bik.assign(b.bik);
        bankShort.assign(b.bankShort);
        bankFull.assign(b.bankFull);
        inn.assign(f.inn);
        kpp.assign(f.kpp);
    };
    const OrganizationRecord& from = parties.firm(payer);
    party(from, p.payerName, p.payerAccount, p.payerCorrAccount, p.payerBik, p.payerBankShort,
          p.payerBankFull, p.payerInn, p.payerKpp);
    const OrganizationRecord& to = parties.firm(payee);
    party(to, p.payeeName, p.payeeAccount, p.payeeCorrAccount, p.payeeBik, p.payeeBankShort,
          p.payeeBankFull, p.payeeInn, p.payeeKpp);
    p.number = std::to_string(number);
    char date[16];
    std::snprintf(date, sizeof date, "%02d.%02d.%04d", 1 + k % 28, 1 + k % 12, year);
    p.date = date;
    p.amount = std::to_string(100000 + k * 37) + "-" + std::to_string(10 + k % 90);
    p.vat = std::uint8_t(k % 3);
    p.payKind = std::uint8_t(k % 4);
    p.priority = std::uint8_t(k % 2);
    p.status = std::uint8_t(k % 3);
    full(p.purpose, cp(QStringLiteral("Оплата по счету № %1 ").arg(k)), k);
    digits(p.kbk, 182101020100110LL);
    digits(p.okato, 45286000000LL);
    p.taxPeriod = cp(QStringLiteral("МС.01.2009"));
    digits(p.docNumber, 1000 + k);
    p.docDate = p.date.view();
    p.basis = cp(QStringLiteral("ТП"));
    p.taxType = cp(QStringLiteral("НС"));
    p.accepted = std::uint8_t(k % 3 == 0);

    ShortStr<28> name;
    clearRecord(name);
    const std::string yy = std::to_string(year % 100 + 100).substr(1);
    makeOrderFileName(p.number.view(), p.payerInn.view(), yy, name);
    fileName = QString::fromLatin1(name.bytes());
    return p;
}

} // namespace

OrderRecord makePlat(const Options& o, int k, QString& fileName) {
    Parties parties(Options{.firms = 0});
    return makePlat(o, k, fileName, parties);
}

IoResult writeOrders(const QString& folder, const Options& o, int count, int offset,
                     const char* extension) {
    Parties parties(o);
    const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
    for (int k = 0; k < count; ++k) {
        QString name;
        const OrderRecord p = makePlat(o, offset + k, name, parties);
        name.chop(5);
        if (IoResult r = writeFile(dir + name + QLatin1String(extension), recordBytes(p)); !r)
            return r;
    }
    return {};
}

IoResult fillProgramFolder(const QString& programDir, const Options& o) {
    auto s = std::make_unique<FolderData>();
    s->folder.setProgramDir(programDir);
    for (const char* sub : {"Data", "PP", "PPDel"})
        if (!QDir(s->folder.programDir).mkpath(QLatin1String(sub)))
            return IoResult::failure(QStringLiteral("Не могу создать папку %1").arg(sub));

    for (int i = 0; i < o.firms && i < MaxFirms; ++i)
        s->directory.organizations[std::size_t(i)] = makeFirm(i);
    for (int i = 0; i < o.deletedFirms && i < MaxFirms; ++i)
        s->directory.deleted[std::size_t(i)] = makeFirm(1000 + i);
    for (int i = 0; i < o.filials && i < MaxFilials; ++i) {
        BranchRecord& b = s->directory.branches[std::size_t(i)];
        b.organizationNo = std::uint16_t(i % std::max(1, o.firms));
        full(b.address, cp(QStringLiteral("Филиал %1, ").arg(i)), i);
        full(b.phone, "+7 812 ", i);
        full(b.email, "branch" + std::to_string(i) + "@", i);
    }
    for (int i = 0; i < o.employees && i < MaxEmployees; ++i) {
        EmployeeRecord& e = s->directory.employees[std::size_t(i)];
        e.organizationNo = std::uint16_t(i % std::max(1, o.firms));
        full(e.position, cp(QStringLiteral("Бухгалтер ")), i);
        full(e.surname, cp(QStringLiteral("Иванов%1 ").arg(i)), i);
        full(e.firstName, cp(QStringLiteral("Иван ")), i);
        full(e.patronymic, cp(QStringLiteral("Иванович ")), i);
        digits(e.workPhone, 4951234567LL + i);
        digits(e.mobilePhone, 9161234567LL + i);
        digits(e.innerPhone, 1000 + i);
        full(e.email, "person" + std::to_string(i) + "@", i);
    }
    for (auto save :
         {saveOrganizationsFile, saveDeletedOrganizationsFile, saveBranchesFile, saveEmployeesFile})
        if (IoResult r = save(s->folder, s->directory); !r)
            return r;

    if (IoResult r = writeOrders(s->folder.ordersDir, o, o.orders, 0, ".plat"); !r)
        return r;
    return writeOrders(s->folder.deletedDir, o, o.deletedOrders, o.orders, ".pdel");
}

} // namespace datagen
