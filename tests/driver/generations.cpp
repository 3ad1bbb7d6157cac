#include "generations.h"

#include "datagen.h"

#include "storage/cp1251.h"
#include "storage/datafiles.h"
#include "storage/platfile.h"

#include <memory>
#include <string>

namespace crashgen {

using namespace storage;

namespace {

std::string digits(int g) {
    return std::to_string(g);
}

int parse(std::string_view s) {
    if (!isDigits(s) || s.size() > 9)
        return -1;
    return std::stoi(std::string(s));
}

int u16At(const QByteArray& b, int at) {
    return uchar(b[at]) | uchar(b[at + 1]) << 8;
}

std::string payerInn() {
    return datagen::innOf(0);
}

// The generation a table names in its first record, or -1.
int generationInFirst(const QString& relative, const QByteArray& content) {
    if (relative.endsWith("Firms") || relative.endsWith("FirmsDel")) {
        if (content.size() != FirmsFileSize)
            return -1;
        OrganizationRecord f;
        recordFromBytes(f, content.constData());
        return parse(f.okpo.view());
    }
    if (relative.endsWith("Filial")) {
        if (content.size() != FilialFileSize)
            return -1;
        BranchRecord b;
        recordFromBytes(b, content.constData());
        return parse(b.phone.view());
    }
    if (relative.endsWith("Employee")) {
        if (content.size() != EmployeeFileSize)
            return -1;
        EmployeeRecord e;
        recordFromBytes(e, content.constData());
        return parse(e.workPhone.view());
    }
    if (relative == "FormW" && content.size() == 1024)
        return u16At(content, 1020) | (u16At(content, 1022) - 1) << 16;
    if (relative == "ArCol" && content.size() == 512)
        return u16At(content, 510) | (u16At(content, 508) - 2) << 16;
    if (relative == "Set" && content.size() == 512)
        return u16At(content, 1) | uchar(content[3]) << 16;
    if (relative.endsWith(".plat") && content.size() == PlatFileSize) {
        OrderRecord p;
        recordFromBytes(p, content.constData());
        return parse(p.docNumber.view());
    }
    return -1;
}

} // namespace

QByteArray Verifier::expected(const QString& relative, int g) {
    if (relative.endsWith(".plat")) {
        const QString name = relative.mid(relative.lastIndexOf('/') + 1);
        return recordBytes(order(g, name.section('_', 0, 0).toInt()));
    }
    // The tables of one generation are compared file after file: fill once.
    if (!store_)
        store_ = std::make_unique<FolderData>();
    FolderData* s = store_.get();
    if (filled_ != g) {
        fill(*s, g);
        filled_ = g;
    }
    if (relative == "Data/Firms")
        return recordBytes(s->directory.organizations);
    if (relative == "Data/FirmsDel")
        return recordBytes(s->directory.deleted);
    if (relative == "Data/Filial")
        return recordBytes(s->directory.branches);
    if (relative == "Data/Employee")
        return recordBytes(s->directory.employees);
    if (relative == "FormW")
        return recordBytes(s->settings.windowSizes);
    if (relative == "ArCol")
        return recordBytes(s->settings.columnWidths);
    if (relative == "Set")
        return recordBytes(s->settings.bytes);
    return {};
}

QStringList tableFiles() {
    return {"Data/Firms", "Data/FirmsDel", "Data/Filial", "Data/Employee", "FormW", "ArCol", "Set"};
}

QString fixedOrderFile(int k) {
    return QStringLiteral("PP/%1_%2_09.plat").arg(k + 1).arg(QString::fromStdString(payerInn()));
}

QString newOrderFile(int g) {
    return QStringLiteral("PP/%1_%2_09.plat")
        .arg(100 + g % NewOrderNumbers)
        .arg(QString::fromStdString(payerInn()));
}

int firmCount(int g) {
    return 1 + g % MaxFirmsInUse;
}

void fill(FolderData& s, int g) {
    clearRecord(s.directory.organizations);
    s.directory.organizationCount = firmCount(g);
    for (int i = 0; i < s.directory.organizationCount; ++i) {
        s.directory.organizations[std::size_t(i)] = datagen::makeFirm(i);
        s.directory.organizations[std::size_t(i)].okpo = digits(g);
    }
    clearRecord(s.directory.deleted);
    s.directory.deletedCount = 1 + g % 7;
    for (int i = 0; i < s.directory.deletedCount; ++i) {
        s.directory.deleted[std::size_t(i)] = datagen::makeFirm(1000 + i);
        s.directory.deleted[std::size_t(i)].okpo = digits(g);
    }
    clearRecord(s.directory.branches);
    s.directory.branchCount = 1 + g % MaxFilials;
    for (int i = 0; i < s.directory.branchCount; ++i) {
        BranchRecord& b = s.directory.branches[std::size_t(i)];
        b.organizationNo = std::uint16_t(i % s.directory.organizationCount);
        b.address =
            cp1251::fromUnicode(QStringLiteral("Адрес филиала %1 поколения %2").arg(i).arg(g))
                .toStdString();
        b.phone = digits(g);
    }
    clearRecord(s.directory.employees);
    s.directory.employeeCount = 1 + g % MaxEmployees;
    for (int i = 0; i < s.directory.employeeCount; ++i) {
        EmployeeRecord& e = s.directory.employees[std::size_t(i)];
        e.organizationNo = std::uint16_t(i % s.directory.organizationCount);
        e.surname = cp1251::fromUnicode(QStringLiteral("Фамилия%1").arg(i)).toStdString();
        e.workPhone = digits(g);
    }
    for (int i = 0; i < 255; ++i) {
        s.settings.windowSizes[std::size_t(i)].width = std::uint16_t(300 + (g + i) % 500);
        s.settings.windowSizes[std::size_t(i)].height = std::uint16_t(200 + (g + 2 * i) % 400);
    }
    s.settings.windowSizes[255].width = std::uint16_t(g & 0xFFFF);
    s.settings.windowSizes[255].height = std::uint16_t((g >> 16) + 1);
    for (int i = 0; i < 254; ++i)
        s.settings.columnWidths[std::size_t(i)] = std::uint16_t(20 + (g + i) % 100);
    s.settings.columnWidths[254] = std::uint16_t((g >> 16) + 2);
    s.settings.columnWidths[255] = std::uint16_t(g & 0xFFFF);
    for (std::size_t i = 0; i < s.settings.bytes.size(); ++i)
        s.settings.bytes[i] = std::uint8_t(g + i);
    s.settings.bytes[0] = 0; // every year's orders are listed
    s.settings.bytes[1] = std::uint8_t(g);
    s.settings.bytes[2] = std::uint8_t(g >> 8);
    s.settings.bytes[3] = std::uint8_t(g >> 16);
}

OrderRecord order(int g, int number) {
    datagen::Options o;
    QString ignored;
    OrderRecord p = datagen::makePlat(o, number, ignored);
    p.number = digits(number);
    p.payerInn = payerInn();
    p.date = "03.02.2009";
    p.amount = digits(g % 1000000) + "-00";
    p.docNumber = digits(g);
    return p;
}

Verifier::Verifier() = default;
Verifier::~Verifier() = default;

int Verifier::generationOf(const QString& relative, const QByteArray& content) {
    const int g = generationInFirst(relative, content);
    if (g < 0 || expected(relative, g) != content)
        return -1;
    return g;
}

void fillDirectory(FolderData& s) {
    for (int i = 0; i < DirectoryFirms; ++i) {
        OrganizationRecord& f = s.directory.organizations[std::size_t(i)];
        clearRecord(f);
        f.name = "firm " + std::to_string(i);
        f.inn = std::to_string(7700000000LL + i);
        s.directory.organizationCount = i + 1;
        giveBranchAndEmployee(s, i);
    }
}

bool giveBranchAndEmployee(FolderData& s, int firm) {
    if (s.directory.branchCount >= MaxFilials || s.directory.employeeCount >= MaxEmployees)
        return false;
    OrganizationRecord& f = s.directory.organizations[std::size_t(firm)];
    BranchRecord& b = s.directory.branches[std::size_t(s.directory.branchCount)];
    clearRecord(b);
    b.organizationNo = std::uint16_t(firm);
    b.address.assign(f.inn);
    EmployeeRecord& e = s.directory.employees[std::size_t(s.directory.employeeCount++)];
    clearRecord(e);
    e.organizationNo = std::uint16_t(firm);
    e.surname.assign(f.inn);
    f.branchNo = std::uint8_t(s.directory.branchCount++);
    f.flags |= OrganizationRecord::UseBranch;
    return true;
}

QStringList directoryFaults(const FolderData& s) {
    QStringList faults;
    const auto innOf = [&](int firm) {
        return firm >= 0 && firm < s.directory.organizationCount
                   ? s.directory.organizations[std::size_t(firm)].inn.view()
                   : std::string_view("-");
    };
    QStringList inns;
    for (int i = 0; i < s.directory.organizationCount; ++i) {
        const OrganizationRecord& f = s.directory.organizations[std::size_t(i)];
        inns << QString::fromLatin1(f.inn.bytes());
        if (f.usesBranch() && (f.branchNo >= s.directory.branchCount ||
                               s.directory.branches[f.branchNo].address.view() != f.inn.view()))
            faults << QStringLiteral("organization %1 links a branch of another").arg(i);
    }
    for (int i = 0; i < s.directory.deletedCount; ++i)
        inns << QString::fromLatin1(s.directory.deleted[std::size_t(i)].inn.bytes());
    inns.sort();
    QStringList all;
    for (int i = 0; i < DirectoryFirms; ++i)
        all << QString::number(7700000000LL + i);
    if (inns != all)
        faults << QStringLiteral("organizations: ") + inns.join(u' ');
    for (int i = 0; i < s.directory.branchCount; ++i)
        if (s.directory.branches[std::size_t(i)].address.view() !=
            innOf(s.directory.branches[std::size_t(i)].organizationNo))
            faults << QStringLiteral("branch %1 points at another organization").arg(i);
    for (int i = 0; i < s.directory.employeeCount; ++i)
        if (s.directory.employees[std::size_t(i)].surname.view() !=
            innOf(s.directory.employees[std::size_t(i)].organizationNo))
            faults << QStringLiteral("employee %1 points at another organization").arg(i);
    return faults;
}

} // namespace crashgen
