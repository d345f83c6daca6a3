#include "DataPaths.h"
#include "TempDataRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

TEST(DataPathsTest, ComponentsJoinWithoutDoubleSlashes)
{
    DataPaths::setDataRootOverride("/tmp/root/");
    EXPECT_EQ(DataPaths::getFilePath("/Log"), "/tmp/root/Log");
    EXPECT_EQ(DataPaths::getFilePath("Log"), "/tmp/root/Log");
    EXPECT_EQ(DataPaths::getFilePath("//QXSqliteDataBase.sqlite"), "/tmp/root/QXSqliteDataBase.sqlite");
    EXPECT_EQ(DataPaths::getFilePath(""), "/tmp/root/");
    DataPaths::setDataRootOverride({});
}

TEST(DataPathsTest, EnvironmentOverrideAndNonAsciiFolders)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QString::fromUtf8("数据 root"));
    qputenv("QX_DATA_DIR", root.toUtf8());
    EXPECT_EQ(DataPaths::dataRoot(), root);
    EXPECT_TRUE(DataPaths::preferenceFile().startsWith(root));
    const QString log = DataPaths::getFilePath("/Log");
    EXPECT_TRUE(DataPaths::ensureDir(log));
    QFile f(log + "/x.txt");
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    qunsetenv("QX_DATA_DIR");
}

TEST(DataPathsTest, FoldersMadeAreTheOwnersAndAMissingHomeComesFromThePasswordDatabase)
{
    TempDataRoot root;
    const QString deep = DataPaths::getFilePath("/a/b");
    ASSERT_TRUE(DataPaths::ensureDir(deep));
    for (const QString &dir : {DataPaths::getFilePath("/a"), deep})
        EXPECT_EQ(QFileInfo(dir).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                             | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    DataPaths::ensureHome();
    EXPECT_EQ(qgetenv("HOME"), QByteArray(::getpwuid(::getuid())->pw_dir));
    EXPECT_FALSE(QStandardPaths::writableLocation(QStandardPaths::HomeLocation).startsWith("//"));
    qputenv("HOME", home);
}

TEST(DataPathsTest, EnsureDirFailsCleanlyUnderAFile)
{
    TempDataRoot root;
    QFile f(root.file("Log"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(DataPaths::ensureDir(DataPaths::getFilePath("/Log/sub")));
}

} // namespace
