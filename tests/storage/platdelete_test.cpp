// Moving a saved order into the folder of deleted orders: the order is never lost, whether it
// is renamed, copied over an older deleted order, or the copy fails.
#include "support/support.h"

#include "storage/platfile.h"

#include <QDir>
#include <QStorageInfo>
#include <cerrno>
#include <gtest/gtest.h>

using namespace storage;
using testing_support::platFile;
using testing_support::TempDir;

namespace {

const QString Saved = QStringLiteral("PP/15_1234567890_09.plat");
const QString Deleted = QStringLiteral("PPDel/15_1234567890_09.pdel");

struct Folders {
    TempDir dir;
    std::unique_ptr<FolderData> s = std::make_unique<FolderData>();
    QByteArray order = platFile({"15", "1234567890", "03.02.2009", "7701000001", "100-00"});

    Folders() {
        s->folder.setProgramDir(dir.path());
        QDir(dir.path()).mkpath("PP");
        QDir(dir.path()).mkpath("PPDel");
        dir.write(Saved, order);
    }
    QStringList deletedFolder() const {
        return QDir(s->folder.deletedDir).entryList(QDir::Files | QDir::Hidden);
    }
};

} // namespace

TEST(deletedOrderName, ReplacesTheLastFiveCharacters) {
    EXPECT_EQ(deletedOrderName("15_1234567890_09.plat"), "15_1234567890_09.pdel");
    EXPECT_EQ(deletedOrderName("15_1234567890_09.PLAT"), "15_1234567890_09.pdel");
    EXPECT_EQ(deletedOrderName("99999_123456789012_99.plat"), "99999_123456789012_99.pdel");
}

TEST(moveOrderToDeleted, MovesTheFileUnderItsDeletedName) {
    Folders f;
    ASSERT_TRUE(moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat"));
    EXPECT_FALSE(f.dir.exists(Saved));
    EXPECT_EQ(f.dir.read(Deleted), f.order);
    EXPECT_EQ(f.deletedFolder(), QStringList{"15_1234567890_09.pdel"});
}

// An older deleted order of the same name was replaced, and lost. Moves never replace a file:
// the new deleted order takes the next free name.
TEST(moveOrderToDeleted, OlderDeletedOrderOfTheSameNameIsKept) {
    Folders f;
    const QByteArray older = platFile({"15", "1234567890", "01.01.2009", "7701000001", "1-00"});
    f.dir.write(Deleted, older);
    f.dir.write("PPDel/15_1234567890_09(1).pdel", older);
    ASSERT_TRUE(moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat"));
    EXPECT_FALSE(f.dir.exists(Saved));
    EXPECT_EQ(f.dir.read(Deleted), older);
    EXPECT_EQ(f.dir.read("PPDel/15_1234567890_09(2).pdel"), f.order);
    EXPECT_EQ(f.deletedFolder(),
              (QStringList{"15_1234567890_09(1).pdel", "15_1234567890_09(2).pdel",
                           "15_1234567890_09.pdel"}));
}

// On a full disk the order still moves (a rename writes nothing) and the older one stays.
TEST(moveOrderToDeleted, FullDiskKeepsTheOrderAndTheOlderDeletedOne) {
    Folders f;
    const QByteArray older = platFile({"15", "1234567890", "01.01.2009", "7701000001", "1-00"});
    f.dir.write(Deleted, older);
    IoResult r;
    {
        testing_support::FileSizeLimit full(1000); // as on a full disk
        r = moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat");
    }
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(f.dir.read(Deleted), older);
    EXPECT_EQ(f.dir.read("PPDel/15_1234567890_09(1).pdel"), f.order);
    EXPECT_FALSE(f.dir.exists(Saved));
}

// The copy relies on it: a small file is written through a buffer, and a failure to write
// that buffer out must not commit a truncated file over the old one.
TEST(WriteFileAtomic, SmallFileOnAFullDiskKeepsTheOldFileAndSaysWhy) {
    TempDir dir;
    dir.write("order", "old");
    IoResult r;
    {
        testing_support::FileSizeLimit full(1000);
        r = writeFileAtomic(dir.file("order"), QByteArray(1169, 'x'));
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.endsWith(": Файл слишком велик")) << r.error.toStdString();
    EXPECT_EQ(dir.read("order"), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"order"});
}

TEST(moveOrderToDeleted, MissingFolderOrFileFailsAndLosesNothing) {
    Folders f;
    QDir(f.s->folder.deletedDir).removeRecursively();
    EXPECT_FALSE(moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat").ok);
    EXPECT_EQ(f.dir.read(Saved), f.order);

    QDir(f.dir.path()).mkpath("PPDel");
    EXPECT_FALSE(moveOrderToDeleted(f.s->folder, "16_1234567890_09.plat").ok);
    EXPECT_TRUE(f.deletedFolder().isEmpty());
    // A name that is not a plain file name of the folder is refused.
    EXPECT_FALSE(moveOrderToDeleted(f.s->folder, "../PP/15_1234567890_09.plat").ok);
    EXPECT_FALSE(moveOrderToDeleted(f.s->folder, ".plat").ok);
    EXPECT_EQ(f.dir.read(Saved), f.order);
}

TEST(moveOrderToDeleted, DeletedFolderOnAnotherFileSystemGetsACopy) {
    Folders f;
    QTemporaryDir other(QStringLiteral("/dev/shm/quenmara-XXXXXX"));
    if (!other.isValid() ||
        QStorageInfo(other.path()).device() == QStorageInfo(f.dir.path()).device())
        GTEST_SKIP() << "no second file system at hand";
    f.s->folder.deletedDir = other.path() + u'/';
    ASSERT_TRUE(moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat"));
    EXPECT_FALSE(f.dir.exists(Saved));
    QFile copy(other.path() + "/15_1234567890_09.pdel");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), f.order);
}

// A deleted order comes back as it was, under its saved name, and never over another order:
// when the name is taken both files stay as they are.
TEST(restoreDeletedOrder, MovesTheOrderBackByteForByteAndNeverOverAnother) {
    Folders f;
    ASSERT_TRUE(moveOrderToDeleted(f.s->folder, "15_1234567890_09.plat"));
    bool taken = true;
    ASSERT_TRUE(restoreDeletedOrder(f.s->folder, "15_1234567890_09.pdel", taken));
    EXPECT_FALSE(taken);
    EXPECT_EQ(f.dir.read(Saved), f.order);
    EXPECT_TRUE(f.deletedFolder().isEmpty());

    const QByteArray other = platFile({"15", "1234567890", "01.01.2009", "7701000001", "1-00"});
    f.dir.write("PPDel/15_1234567890_09(2).pdel", other);
    const IoResult r = restoreDeletedOrder(f.s->folder, "15_1234567890_09(2).pdel", taken);
    EXPECT_FALSE(r);
    EXPECT_TRUE(taken);
    EXPECT_EQ(f.dir.read(Saved), f.order);
    EXPECT_EQ(f.dir.read("PPDel/15_1234567890_09(2).pdel"), other);
    EXPECT_EQ(restoredOrderName("7_1234567890_09(12).pdel"), "7_1234567890_09.plat");
}
