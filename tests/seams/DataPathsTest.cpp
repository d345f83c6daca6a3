#include "DataPaths.h"
#include "TempDataRoot.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

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

TEST(DataPathsTest, EnsureDirFailsCleanlyUnderAFile)
{
    TempDataRoot root;
    QFile f(root.file("Log"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(DataPaths::ensureDir(DataPaths::getFilePath("/Log/sub")));
}

} // namespace
