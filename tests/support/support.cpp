#include "support.h"

#include "storage/cp1251.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>

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

QByteArray cp(const char* utf8) {
    return storage::cp1251::fromUnicode(QString::fromUtf8(utf8));
}

std::string cps(const char* utf8) {
    return cp(utf8).toStdString();
}

QString uni(std::string_view s) {
    return storage::cp1251::toUnicode(s);
}

QString whenModal(const std::function<void(QWidget*)>& answer,
                  const std::function<void()>& action) {
    // The state outlives this call: a timer still queued when action() returns finds
    // `done` set and stops.
    struct State {
        bool done = false;
        QString seen;
        std::function<void(QWidget*)> answer;
        std::function<void()> poll;
    };
    auto state = std::make_shared<State>();
    state->answer = answer;
    std::weak_ptr<State> weak = state;
    state->poll = [weak] {
        auto st = weak.lock();
        if (!st || st->done)
            return;
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            QTimer::singleShot(1, st->poll);
            return;
        }
        st->done = true;
        if (auto* box = qobject_cast<QMessageBox*>(w))
            st->seen = box->text();
        else
            st->seen = w->windowTitle();
        st->answer(w);
    };
    QTimer::singleShot(0, state->poll);
    action();
    state->done = true;
    QString seen = state->seen;
    state->poll = nullptr;
    return seen;
}

void clickButton(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (b->text().remove(u'&') == text) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << w->windowTitle().toStdString();
}

void chooseRow(QComboBox* combo, int row) {
    combo->setFocus(Qt::MouseFocusReason);
    combo->setCurrentIndex(row);
    emit combo->activated(row);
}

} // namespace testing_support
