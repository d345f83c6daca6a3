// The real keyring backend with no session bus to reach: every call answers "not
// answered" exactly once, later on the event loop, and never inside the call.
#include "platform/linux/KeychainSecretStore.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

using platform::linuxbackend::KeychainSecretStore;

TEST(KeychainSecretStore, WithoutAKeyringEveryCallAnswersOnceOnTheEventLoop)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/qx-test-bus");
    KeychainSecretStore store(QStringLiteral("quorvex-companion-test"));
    int reads = 0, writes = 0;
    platform::ISecretStore::ReadResult read;
    bool written = true;
    store.readSecret(QStringLiteral("passwordKey"), [&](const platform::ISecretStore::ReadResult &r) {
        ++reads;
        read = r;
    });
    store.writeSecret(QStringLiteral("passwordKey"), QStringLiteral("pw"), [&](bool ok) {
        ++writes;
        written = ok;
    });
    EXPECT_EQ(reads + writes, 0) << "answered inside the call";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return reads > 0 && writes > 0; }, KeychainSecretStore::kKeyringTimeoutMs + 2000));
    QCoreApplication::processEvents(); // a second answer would be queued right behind the first
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(writes, 1);
    EXPECT_FALSE(read.ok);
    EXPECT_FALSE(written);
}
