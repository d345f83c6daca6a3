// The file manager is asked to select a transcript on a private D-Bus daemon; with no
// file manager on the bus the transcript's folder opens instead.
#include "platform/linux/DbusFileRevealer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct FakeFileManager final : QDBusVirtualObject {
    QList<QVariantList> shown;
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &m, const QDBusConnection &bus) override
    {
        if (m.interface() != QLatin1String("org.freedesktop.FileManager1") || m.member() != QLatin1String("ShowItems"))
            return false;
        shown << m.arguments();
        bus.send(m.createReply());
        return true;
    }
};

TEST(Cmd6Reveal, TheFileManagerSelectsTheFileOrItsFolderOpens)
{
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "dbus-daemon (Debian dbus) did not start";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QList<QUrl> opened;
    const auto open = [&opened](const QUrl &url) {
        opened << url;
        return true;
    };
    {
        QDBusConnection server = QDBusConnection::connectToBus(address, QStringLiteral("files"));
        QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        platform::linuxbackend::DbusFileRevealer revealer(client, open);

        // Nobody on the bus selects files: the folder opens.
        revealer.reveal(QStringLiteral("/tmp/转写 1/a b.txt"));
        QTRY_COMPARE(opened.size(), 1);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(QStringLiteral("/tmp/转写 1")));

        FakeFileManager files;
        ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.FileManager1")));
        ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &files));
        revealer.reveal(QStringLiteral("/tmp/转写 1/a b.txt"));
        QTRY_COMPARE(files.shown.size(), 1);
        EXPECT_EQ(files.shown[0][0].toStringList(),
                  QStringList{QUrl::fromLocalFile(QStringLiteral("/tmp/转写 1/a b.txt")).toString(QUrl::FullyEncoded)});
        EXPECT_EQ(files.shown[0][1].toString(), "");
        QTest::qWait(50);
        EXPECT_EQ(opened.size(), 1) << "a selected file opens no folder";
        server.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("files"));
    daemon.kill();
    daemon.waitForFinished();
}

} // namespace
