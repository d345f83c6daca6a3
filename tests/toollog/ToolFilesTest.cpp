#include "QXToolManager.h"
#include "TempDataRoot.h"
#include "tools/MachineFacts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(ToolFiles, FileHandlesTruncateOrAppendAndDeleteReportsWhatHappened)
{
    TempDataRoot root;
    const QString path = root.file(QString::fromUtf8("录音 1.pcm"));
    writeFile(path, "old");

    auto fresh = QXToolManager::createFileHandleWithPath(path, false);
    ASSERT_TRUE(fresh);
    fresh->write("x");
    fresh.reset();
    EXPECT_EQ(readAll(path), "x");
    // A recording is the owner's alone.
    EXPECT_EQ(QFileInfo(path).permissions()
                  & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());

    auto append = QXToolManager::createFileHandleWithPath(path, true);
    ASSERT_TRUE(append);
    append->write("yz");
    append.reset();
    EXPECT_EQ(readAll(path), "xyz");

    EXPECT_FALSE(QXToolManager::createFileHandleWithPath({}, true));
    EXPECT_FALSE(QXToolManager::createFileHandleWithPath(root.file("no/such/folder/a.pcm"), false));

    EXPECT_TRUE(QXToolManager::deleteFileWithPath(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QXToolManager::deleteFileWithPath(path));
    EXPECT_FALSE(QXToolManager::deleteFileWithPath(root.path())); // a folder is not a file
    EXPECT_TRUE(QFileInfo(root.path()).isDir());

    EXPECT_EQ(QXToolManager::getFilePath("/Log"), root.path() + "/Log");
}

TEST(ToolFiles, NumIntWithDataFollowsTheDeviceLayout)
{
    struct Row {
        const char *what;
        QByteArray bytes;
        int value;
    };
    const Row rows[] = {
        {"two bytes little-endian", QByteArray::fromHex("0102"), 513},
        {"four bytes are signed", QByteArray::fromHex("ffffffff"), -1},
        {"one byte is unsigned", QByteArray::fromHex("ff"), 255},
        {"three bytes are unsigned", QByteArray::fromHex("ffffff"), 16777215},
        {"top bit of four bytes", QByteArray::fromHex("00000080"), int(0x80000000u)},
        {"a fifth byte ORs into the low byte", QByteArray::fromHex("0100000002"), 3},
        {"empty", QByteArray(), 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(QXToolManager::numIntWithData(r.bytes), r.value) << r.what;

    EXPECT_EQ(QXToolManager::intToData(0x01020304), QByteArray::fromHex("04030201"));
    EXPECT_EQ(QXToolManager::intToData(-2), QByteArray::fromHex("feffffff"));
    for (int v : {0, 1, -1, 513, 0x7fffffff, int(0x80000000u)})
        EXPECT_EQ(QXToolManager::numIntWithData(QXToolManager::intToData(v)), v);
}

TEST(ToolFiles, TextHelpers)
{
    EXPECT_EQ(QXToolManager::convertASCII("abc"), "97 98 99 ");
    EXPECT_EQ(QXToolManager::convertASCII("A1"), "65 49 ");
    EXPECT_EQ(QXToolManager::convertASCII(QString::fromUtf8("中")), "20013 ");
    EXPECT_EQ(QXToolManager::convertASCII(""), "");

    EXPECT_FALSE(QXToolManager::isHaveText(QString(" \t\n ")));
    EXPECT_TRUE(QXToolManager::isHaveText(QString(" a ")));
    EXPECT_FALSE(QXToolManager::isHaveText(QString()));
    EXPECT_FALSE(QXToolManager::isHaveText(std::nullopt));
    EXPECT_TRUE(QXToolManager::isHaveText(QString::fromUtf8("\n你好\n")));
}

TEST(ToolFiles, MacAddressPrefersPhysicalLinksAndTheLastByName)
{
    TempDataRoot root;
    const QString net = root.file("net");
    auto link = [&](const QString &name, const QByteArray &type, const QByteArray &mac, bool physical) {
        writeFile(net + "/" + name + "/type", type + "\n");
        writeFile(net + "/" + name + "/address", mac + "\n");
        if (physical)
            QDir().mkpath(net + "/" + name + "/device");
    };
    EXPECT_EQ(MachineFacts::macAddressFromSysfs(net), "");

    link("lo", "772", "00:00:00:00:00:00", false);
    link("veth1", "1", "7a:11:22:33:44:55", false);
    EXPECT_EQ(MachineFacts::macAddressFromSysfs(net), "veth1_7a1122334455") << "a virtual link when nothing else";

    link("enp3s0", "1", "A1:B2:C3:D4:E5:F6", true);
    link("wlp2s0", "1", "02:00:00:00:00:01", true);
    link("wwan0", "1", "00:00:00:00:00:00", true); // no address yet
    link("zt0", "1", "garbage", true);
    EXPECT_EQ(MachineFacts::macAddressFromSysfs(net), "wlp2s0_020000000001");
}

TEST(ToolFiles, OsReleaseFields)
{
    const QVariantMap m = MachineFacts::parseOsRelease("# comment\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                                       "NAME='Debian'\nVERSION_ID=\"12\"\nID=debian\n"
                                                       "HOME_URL=\"https://x/\\\"q\\\"\"\nbroken line\n");
    EXPECT_EQ(m.value("PRETTY_NAME").toString(), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(m.value("NAME").toString(), "Debian");
    EXPECT_EQ(m.value("ID").toString(), "debian");
    EXPECT_EQ(m.value("HOME_URL").toString(), "https://x/\"q\"");
    EXPECT_EQ(m.size(), 5);
    EXPECT_FALSE(QXToolManager::systemVersion().isEmpty());
}

TEST(ToolFiles, MicrophoneIsAlwaysAuthorisedOnTheMainThread)
{
    bool called = false;
    const QXToolManager tools;
    tools.authorMicphone([&](bool granted, int status) {
        called = true;
        EXPECT_TRUE(granted);
        EXPECT_EQ(status, 3);
    });
    EXPECT_TRUE(called);
    EXPECT_TRUE(tools.isAuthMicphone());
}

} // namespace
