// The files that come from outside to the road to the bank: the Bank of Russia's BIK
// directory (ED807, as XML or zipped) and the bank client's statements and exchange files.
//
// Input: a mode byte, then the file's bytes. Mode 0: an ED807 message (the bytes as they
// are; bytes beginning "PK" go through the zip reader). Mode 1: an exchange file read as a
// statement. Properties: nothing crashes or hangs; a directory that is read holds only
// 9-digit BIKs in strictly rising order and comes back the same from its Data/Bik file; an
// exchange file that is read has documents that each begin with their kind.
#include "fuzzsupport.h"

#include "storage/bikdirectory.h"
#include "storage/exchangeread.h"
#include "storage/statement.h"

#include <QByteArray>
#include <QDir>

using namespace storage;

namespace {

fuzzsupport::Sandbox* sandbox;

void directory(const QByteArray& bytes) {
    const BikImport r = readBikMessage(bytes);
    if (!r.error.isEmpty()) {
        FUZZ_CHECK(r.directory.isEmpty(), "a refused message keeps nothing");
        return;
    }
    const QList<BikBank>& banks = r.directory.banks;
    FUZZ_CHECK(!banks.isEmpty() && r.directory.date.isValid(), "a directory has banks and a date");
    for (qsizetype i = 0; i < banks.size(); ++i) {
        FUZZ_CHECK(banks[i].bik.size() == 9, "BIKs are 9 digits");
        FUZZ_CHECK(i == 0 || banks[i - 1].bik < banks[i].bik, "BIKs rise strictly");
    }
    sandbox->reset();
    const QString data = sandbox->progDir();
    FUZZ_CHECK(saveBikDirectory(data, r.directory).ok, "the directory is kept");
    BikDirectory loaded;
    const IoResult read = loadBikDirectory(data, loaded);
    FUZZ_CHECK(read.ok, read.error.toStdString());
    FUZZ_CHECK(bikFileBytes(loaded) == bikFileBytes(r.directory), "Data/Bik reads back the same");
}

void statement(const QByteArray& bytes) {
    const ExchangeText t = readExchange(bytes);
    if (t.error.isEmpty())
        for (const ExchangeSection& doc : t.documents)
            FUZZ_CHECK(!doc.fields.isEmpty() && doc.fields.front().first == u"СекцияДокумент",
                       "a document begins with its kind");
    const Statement st = readStatement(bytes);
    if (st.error.isEmpty())
        for (const StatementDebit& d : st.debits)
            FUZZ_CHECK(st.accounts.contains(d.payerAccount), "a debit is from one of its accounts");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::initQt();
    sandbox = new fuzzsupport::Sandbox;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const std::string_view rest = in.rest();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));
    if (mode % 2 == 0)
        directory(bytes);
    else
        statement(bytes);
    return 0;
}
