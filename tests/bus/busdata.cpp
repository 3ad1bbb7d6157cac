// Fills a program folder with a small data set for the test through the accessibility bus:
// a few organizations (some deleted), branches, employees and saved orders, enough that
// every grid and picker of the windows has rows to read.
#include "datagen.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bus_data PROGRAM_FOLDER\n");
        return 2;
    }
    datagen::Options o;
    o.firms = 3;
    o.deletedFirms = 2;
    o.filials = 2;
    o.employees = 3;
    o.orders = 4;
    o.deletedOrders = 1;
    o.payers = 2;
    o.firstYear = 2007;
    o.years = 1;
    if (storage::IoResult r = datagen::fillProgramFolder(QString::fromLocal8Bit(argv[1]), o); !r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
        return 1;
    }
    return 0;
}
