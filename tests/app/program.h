// Runs the program itself, as a user calls it from the command line.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testing_support {

struct Outcome {
    int status = -1; // -1: the program did not end normally within a minute
    QString out, err;
};

inline Outcome runProgram(const QStringList& args) {
    Outcome r;
    QProcess p;
    p.start(QStringLiteral(QM_BINARY_DIR "/quenmara"), args);
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace testing_support
