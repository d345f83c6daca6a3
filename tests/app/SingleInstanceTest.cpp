// The lock of a running copy on a filesystem where flock() does not work (a network
// home folder): nothing but its process being alive keeps a second launch out.
#include "launch/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ALiveCopysLockIsNeverStaleHoweverOld)
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("qx-lock-test-%1").arg(QCoreApplication::applicationPid());
    const QString path = dir.filePath(name + QStringLiteral(".lock"));
    // What a running copy (this process) writes, without the flock() Qt adds on top.
    QByteArray contents;
    {
        QLockFile probe(dir.filePath(QStringLiteral("probe.lock")));
        ASSERT_TRUE(probe.tryLock(0));
        QFile written(probe.fileName());
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        contents = written.readAll();
    }
    QFile lock(path);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(contents);
    lock.close();
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    lock.close();

    QLocalServer primary;
    QLocalServer::removeServer(name);
    ASSERT_TRUE(primary.listen(name));
    SingleInstance second(name, dir.path());
    EXPECT_FALSE(second.claim()) << "a copy running for two minutes was taken for dead";
    EXPECT_TRUE(QFile::exists(path));
    ASSERT_TRUE(primary.waitForNewConnection(5000));
    QLocalSocket *request = primary.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return request->bytesAvailable() > 0 || request->waitForReadyRead(50); }, 5000));
    EXPECT_EQ(request->readAll(), "reopen\n");
}

} // namespace
