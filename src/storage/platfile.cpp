#include "platfile.h"

#include <QFileInfo>

namespace storage {

bool MakePlatFileName(std::string_view number, std::string_view payerInn, std::string_view yy,
                      ShortStr<28>& out) {
    if (!isDigits(number) || !isDigits(payerInn) || !isDigits(yy))
        return false;
    ShortStr<28> name;
    name.clear();
    name.append(number);
    name.append('_');
    name.append(payerInn);
    name.append('_');
    name.append(yy);
    name.append(".plat");
    out = name.view();
    return true;
}

std::string_view DateYearDigits(std::string_view date) {
    return date.size() > 8 ? date.substr(8, 2) : std::string_view();
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == '\0')
            return false;
    return true;
}

namespace {

QString platPath(const Store& s) {
    return s.PlatDir + QString::fromLatin1(s.PlatFileName.bytes());
}

} // namespace

IoResult SaveFilePlat(const Store& s) {
    if (!isPlainFileName(s.PlatFileName.view()))
        return IoResult::failure(QStringLiteral("Недопустимое имя файла платежки"));
    return writeFileAtomic(platPath(s), recordBytes(s.Plat));
}

IoResult ReadPlatFile(const QString& path, TPlat& rec) {
    TPlat r;
    IoResult res = readExactly(path, &r, sizeof(TPlat));
    if (res)
        rec = r;
    return res;
}

IoResult OpenFilePlat(Store& s) {
    if (!isPlainFileName(s.PlatFileName.view()) || !QFileInfo::exists(platPath(s))) {
        s.PlatError = 1;
        return {};
    }
    return ReadPlatFile(platPath(s), s.Plat);
}

} // namespace storage
