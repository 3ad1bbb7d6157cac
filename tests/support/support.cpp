#include "support.h"

#include "storage/cp1251.h"
#include "storage/records.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {

TempDir::TempDir() {
    EXPECT_TRUE(dir_.isValid());
}

void TempDir::write(const QString& relative, const QByteArray& bytes) const {
    QFile f(file(relative));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray TempDir::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TempDir::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

qint64 TempDir::size(const QString& relative) const {
    return QFileInfo(file(relative)).size();
}

FileSizeLimit::FileSizeLimit(long long bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    oldSoft_ = old.rlim_cur;
    oldHard_ = old.rlim_max;
    rlimit lim{rlim_t(bytes), old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit old{rlim_t(oldSoft_), rlim_t(oldHard_)};
    setrlimit(RLIMIT_FSIZE, &old);
}

namespace {

bool mountSmallDisk(const QString& path, long long bytes, unsigned long flags) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    return ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs",
                   flags | MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

} // namespace

SmallDisk::SmallDisk(long long bytes) {
    mounted_ = dir_.isValid() && mountSmallDisk(dir_.path(), bytes, 0);
}

SmallDisk::~SmallDisk() {
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool SmallDisk::resize(long long bytes) {
    return mounted_ && mountSmallDisk(dir_.path(), bytes, MS_REMOUNT);
}

namespace {

// The capabilities of the calling thread (Linux: capget and capset act on the thread).
bool capabilities(__user_cap_header_struct& header, __user_cap_data_struct (&data)[2]) {
    header = {_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

// Whether a folder without the right to write refuses a new file.
bool permissionsHold() {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path());
    ::chmod(path.constData(), 0555);
    const bool refused = !QFile(dir.path() + "/probe").open(QIODevice::WriteOnly);
    ::chmod(path.constData(), 0755);
    return refused;
}

} // namespace

FileRightsApply::FileRightsApply() {
    __user_cap_header_struct header;
    __user_cap_data_struct data[2];
    if (capabilities(header, data)) {
        effective_[0] = data[0].effective;
        effective_[1] = data[1].effective;
        const unsigned rights =
            (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        if (data[0].effective & rights) {
            data[0].effective &= ~rights;
            lowered_ = ::syscall(SYS_capset, &header, data) == 0;
        }
    }
    works_ = permissionsHold();
}

FileRightsApply::~FileRightsApply() {
    if (!lowered_)
        return;
    __user_cap_header_struct header;
    __user_cap_data_struct data[2];
    if (!capabilities(header, data))
        return;
    data[0].effective = effective_[0];
    data[1].effective = effective_[1];
    ::syscall(SYS_capset, &header, data);
}

QByteArray cp(const char* utf8) {
    return storage::cp1251::fromUnicode(QString::fromUtf8(utf8));
}

std::string cps(const char* utf8) {
    return cp(utf8).toStdString();
}

QString uni(std::string_view s) {
    return storage::cp1251::toUnicode(s);
}

namespace {

// A length-prefixed text at an offset of a record laid out by hand.
void put(QByteArray& rec, int offset, const QByteArray& text) {
    rec[offset] = char(text.size());
    rec.replace(offset + 1, text.size(), text);
}

} // namespace

QByteArray oldFirmRecord(const char* name, const char* inn) {
    QByteArray rec(2966, '\0');
    put(rec, 0, cp(name));
    put(rec, 2638, inn);
    return rec;
}

QByteArray oldFirmsFile(const std::vector<QByteArray>& records) {
    QByteArray file;
    for (const QByteArray& r : records)
        file += r;
    file.resize(189824, '\0');
    return file;
}

QByteArray oldOrderFile(const char* number, const char* date, const char* payerInn,
                        const char* payeeInn) {
    QByteArray rec(389, '\0');
    put(rec, 0, number);
    put(rec, 6, date);
    put(rec, 17, "1500-00");
    put(rec, 30, payerInn);
    put(rec, 43, payeeInn);
    rec[56] = 1; // Vat
    rec[57] = 2; // PayKind
    rec[58] = 1; // Priority
    rec[59] = 2; // Status
    put(rec, 60, cp("Оплата\r\nпо счету"));
    put(rec, 316, "18210102010011000110");
    put(rec, 337, "45286555000");
    put(rec, 349, cp("МС.01.2009"));
    put(rec, 360, "77");
    put(rec, 371, "01.02.2009");
    put(rec, 382, cp("ТП"));
    put(rec, 385, cp("НС"));
    rec[388] = 1;
    return rec;
}

QByteArray platFile(const PlatFields& f) {
    storage::OrderRecord p;
    storage::clearRecord(p);
    p.number.assign(cp(f.number));
    p.payerInn.assign(cp(f.payerInn));
    p.date.assign(cp(f.date));
    p.payeeInn.assign(cp(f.payeeInn));
    p.amount.assign(cp(f.amount));
    p.accepted = f.accepted;
    p.purpose.assign(cp(f.purpose));
    return storage::recordBytes(p);
}

QStringList whenModals(const std::vector<std::function<void(QWidget*)>>& answers,
                       const std::function<void()>& action) {
    // The state outlives this call: a timer still queued when action() returns finds
    // `done` set and stops.
    struct State {
        std::size_t next = 0;
        bool done = false;
        QList<QPointer<QWidget>> answered; // a window still open is not answered twice
        QStringList seen;
        std::vector<std::function<void(QWidget*)>> answers;
        std::function<void()> poll;
    };
    auto state = std::make_shared<State>();
    state->answers = answers;
    std::weak_ptr<State> weak = state;
    state->poll = [weak] {
        auto st = weak.lock();
        if (!st || st->done || st->next >= st->answers.size())
            return;
        // The next poll is queued first: an answer may open a window of its own and wait.
        QTimer::singleShot(1, st->poll);
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            return;
        for (const QPointer<QWidget>& a : st->answered)
            if (a == w && w->isVisible())
                return;
        st->answered.append(w);
        if (auto* box = qobject_cast<QMessageBox*>(w))
            st->seen.append(box->text());
        else
            st->seen.append(w->windowTitle());
        const QPointer<QWidget> shown = w;
        st->answers[st->next++](w);
        // Closed by its answer, the window may open again (the same dialog asked twice) and
        // is then answered again.
        if (!shown || !shown->isVisible())
            st->answered.removeAll(shown);
    };
    QTimer::singleShot(0, state->poll);
    action();
    state->done = true;
    QStringList seen = state->seen;
    state->poll = nullptr;
    return seen;
}

Tree folderTree(const QString& dir) {
    Tree out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString key = QDir(dir).relativeFilePath(path);
        if (info.isSymLink())
            out[key] = "-> " + QFile::encodeName(info.symLinkTarget());
        else if (info.isDir())
            out[key] = "<dir>";
        else if (!info.isFile())
            out[key] = "<special>"; // a FIFO or a device: never opened
        else {
            QFile f(path);
            out[key] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
    }
    return out;
}

QString whenModal(const std::function<void(QWidget*)>& answer,
                  const std::function<void()>& action) {
    return whenModals({answer}, action).value(0);
}

void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        if (c == u'\n') {
            QTest::keyClick(w, Qt::Key_Return);
            continue;
        }
        const Qt::Key key =
            c.isPrint() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

void clickButton(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (b->text().remove(u'&') == text) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << w->windowTitle().toStdString();
    // Close the window anyway, so that a test fails instead of waiting for ever.
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

void chooseRow(QComboBox* combo, int row) {
    combo->setFocus(Qt::MouseFocusReason);
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

std::function<void(QWidget*)> pressing(const QString& text) {
    return [text](QWidget* w) { clickButton(w, text); };
}

std::function<void(QWidget*)> choosingFile(const QString& path) {
    return [path](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(fd) << "not a file dialog: " << w->metaObject()->className();
        fd->selectFile(path);
        static_cast<QDialog*>(fd)->accept(); // accept() is protected in QFileDialog
    };
}

storage::IoResult listSavedOrders(const storage::FolderState& folder, storage::SavedOrders& out) {
    storage::OrderFolderScan scan;
    const storage::IoResult r = storage::scanOrderFolder(folder.ordersDir, {}, {}, scan);
    out.build(std::move(scan), folder.ordersDir, {false, 0, folder.readOnly}, {});
    return r;
}

} // namespace testing_support
