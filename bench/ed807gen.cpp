#include "ed807gen.h"

#include <QStringEncoder>
#include <QXmlStreamWriter>
#include <zip.h>

namespace datagen {

QString correspondentAccount(const QString& bik, int serial) {
    const QString tail = QStringLiteral("%1").arg(serial, 8, 10, QLatin1Char('0')) + bik.right(3);
    for (int key = 0; key <= 9; ++key) {
        const QString account = QStringLiteral("30101810") + QString::number(key) + tail;
        // The key of a correspondent account: "0", the BIK's 5th and 6th digits, then the
        // account, weighted 7, 1, 3 repeated, sum a multiple of 10.
        const QString digits = QStringLiteral("0") + bik.mid(4, 2) + account;
        static const int weights[3] = {7, 1, 3};
        int sum = 0;
        for (int i = 0; i < digits.size(); ++i)
            sum += digits[i].digitValue() * weights[i % 3];
        if (sum % 10 == 0)
            return account;
    }
    return {};
}

QList<Ed807Bank> ed807Banks(int n) {
    static const char* const towns[] = {"Москва", "Екатеринбург", "Пермь", "Новосибирск", "Казань"};
    QList<Ed807Bank> banks;
    for (int i = 0; i < n; ++i) {
        Ed807Bank b;
        b.bik = QStringLiteral("04%1%2")
                    .arg(10 + i % 80, 2, 10, QLatin1Char('0'))
                    .arg(i, 5, 10, QLatin1Char('0'));
        b.name = QStringLiteral("АО Банк «Участник %1»").arg(i);
        b.town = QString::fromUtf8(towns[i % 5]);
        b.accounts << correspondentAccount(b.bik);
        banks << b;
    }
    return banks;
}

QByteArray ed807Message(const QList<Ed807Bank>& banks, const QDate& date,
                        const QByteArray& encoding) {
    QString xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    const QString day = date.toString(Qt::ISODate);
    w.writeDefaultNamespace(QStringLiteral("urn:cbr-ru:ed:v2.0"));
    w.writeStartElement(QStringLiteral("ED807"));
    w.writeAttribute(QStringLiteral("EDNo"), QStringLiteral("1"));
    w.writeAttribute(QStringLiteral("EDDate"), day);
    w.writeAttribute(QStringLiteral("EDAuthor"), QStringLiteral("4583001999"));
    w.writeAttribute(QStringLiteral("CreationReason"), QStringLiteral("FCBD"));
    w.writeAttribute(QStringLiteral("CreationDateTime"), day + QStringLiteral("T06:00:00Z"));
    w.writeAttribute(QStringLiteral("InfoTypeCode"), QStringLiteral("FIRR"));
    w.writeAttribute(QStringLiteral("BusinessDay"), day);
    w.writeAttribute(QStringLiteral("DirectoryVersion"), QStringLiteral("1"));
    for (const Ed807Bank& b : banks) {
        w.writeStartElement(QStringLiteral("BICDirectoryEntry"));
        w.writeAttribute(QStringLiteral("BIC"), b.bik);
        w.writeStartElement(QStringLiteral("ParticipantInfo"));
        w.writeAttribute(QStringLiteral("NameP"), b.name);
        w.writeAttribute(QStringLiteral("CntrCd"), QStringLiteral("RU"));
        w.writeAttribute(QStringLiteral("Rgn"), b.bik.mid(2, 2));
        w.writeAttribute(QStringLiteral("Tnp"), b.townKind);
        w.writeAttribute(QStringLiteral("Nnp"), b.town);
        w.writeAttribute(QStringLiteral("Adr"), QStringLiteral("ул. Ленина, 1"));
        w.writeAttribute(QStringLiteral("DateIn"), QStringLiteral("1995-01-01"));
        if (b.dateOut.isValid())
            w.writeAttribute(QStringLiteral("DateOut"), b.dateOut.toString(Qt::ISODate));
        w.writeAttribute(QStringLiteral("PtType"), QStringLiteral("20"));
        w.writeAttribute(QStringLiteral("Srvcs"), QStringLiteral("5"));
        w.writeAttribute(QStringLiteral("XchType"), QStringLiteral("1"));
        w.writeAttribute(QStringLiteral("UID"), b.bik + QStringLiteral("0"));
        w.writeAttribute(QStringLiteral("ParticipantStatus"),
                         b.dateOut.isValid() ? QStringLiteral("PSDL") : QStringLiteral("PSAC"));
        w.writeEndElement();
        const auto account = [&](const QString& number, bool inForce) {
            w.writeStartElement(QStringLiteral("Accounts"));
            w.writeAttribute(QStringLiteral("Account"), number);
            w.writeAttribute(QStringLiteral("RegulationAccountType"), b.accountType);
            w.writeAttribute(QStringLiteral("CK"), QStringLiteral("00"));
            w.writeAttribute(QStringLiteral("AccountCBRBIC"),
                             b.bik.left(6) + QStringLiteral("000"));
            w.writeAttribute(QStringLiteral("DateIn"), QStringLiteral("1995-01-01"));
            w.writeAttribute(QStringLiteral("AccountStatus"),
                             inForce ? QStringLiteral("ACAC") : QStringLiteral("ACDL"));
            w.writeEndElement();
        };
        for (const QString& a : b.closedAccounts)
            account(a, false);
        for (const QString& a : b.accounts)
            account(a, true);
        w.writeEndElement();
    }
    w.writeEndElement();
    QStringEncoder encoder(encoding.constData());
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n" + encoder.encode(xml);
}

storage::IoResult writeZip(const QString& path, const QString& entry, const QByteArray& data) {
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return storage::IoResult::failure(QStringLiteral("zip_open %1: %2").arg(path).arg(error));
    zip_source_t* source =
        zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
    if (!source ||
        zip_file_add(archive, entry.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        zip_discard(archive);
        return storage::IoResult::failure(QStringLiteral("zip_file_add %1").arg(path));
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return storage::IoResult::failure(QStringLiteral("zip_close %1").arg(path));
    }
    return {};
}

} // namespace datagen
