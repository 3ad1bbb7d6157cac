#include "app/programfolder.h"
#include "support/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::FileRightsApply;
using testing_support::TempDir;

// --dir wins; else the executable's folder when it can be written; else the user's data
// folder, created with its parents.
TEST(ProgramFolder, OptionThenWritableExecutableFolderThenDataLocation) {
    const FileRightsApply rights;
    if (!rights.works())
        GTEST_SKIP() << "file permission bits do not hold here";
    const TempDir root;
    QDir(root.path()).mkpath("writable");
    QDir(root.path()).mkpath("readonly");
    ::chmod(QFile::encodeName(root.file("readonly")).constData(), 0555);
    const QString data = root.file("home/.local/share/Quenmara");
    struct Case {
        const char* option;
        const char* exeDir;
        QString expected;
    } cases[] = {
        {"given", "writable", "given"},
        {"", "writable", root.file("writable")},
        {"", "readonly", data},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exeDir);
        EXPECT_EQ(app::chooseProgramFolder(c.option, root.file(c.exeDir), data), c.expected);
        EXPECT_EQ(QFileInfo(data).isDir(), c.expected == data);
    }
    ::chmod(QFile::encodeName(root.file("readonly")).constData(), 0755);
}
