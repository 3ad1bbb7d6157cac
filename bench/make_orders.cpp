// Makes a program folder for trying the program on a large archive: the full data set of
// datagen.h with as many saved orders as asked (100,000 by default), over 8 payers and 3
// years. The folder is refused inside a git work tree, so that a generated archive is never
// committed by accident; put it in /dev/shm or /tmp.
#include "datagen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {

// True when dir or one of the folders above it holds a ".git" entry.
bool insideWorkTree(const QString& dir) {
    QDir d(QFileInfo(dir).absoluteFilePath());
    for (;;) {
        if (QFileInfo::exists(d.filePath(QStringLiteral(".git"))))
            return true;
        if (!d.cdUp())
            return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_orders FOLDER [ORDERS]\n"
                             "  fills FOLDER (new or empty) with a directory and ORDERS saved "
                             "orders (100000 by default)\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    datagen::Options o;
    o.orders = argc == 3 ? std::atoi(argv[2]) : 100000;
    if (o.orders < 0) {
        std::fprintf(stderr, "make_orders: the number of orders must be 0 or more\n");
        return 2;
    }
    if (insideWorkTree(folder)) {
        std::fprintf(stderr,
                     "make_orders: %s lies in a git work tree; choose a folder outside "
                     "it (/dev/shm, /tmp)\n",
                     argv[1]);
        return 2;
    }
    if (QDir d(folder); d.exists() && !d.isEmpty()) {
        std::fprintf(stderr, "make_orders: %s is not empty\n", argv[1]);
        return 2;
    }
    if (const storage::IoResult r = datagen::fillProgramFolder(folder, o); !r) {
        std::fprintf(stderr, "make_orders: %s\n", qPrintable(r.error));
        return 1;
    }
    return 0;
}
