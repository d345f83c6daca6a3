#include "ReceiverTable.h"
#include "UdevRules.h"

#include <QFile>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

namespace rx = qx::receivers;

TEST(ReceiverTable, GeneratedUdevRuleListsEveryPair)
{
    // The file the build generated and cmake --install installs.
    QFile file(QStringLiteral(QX_UDEV_RULES_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << QX_UDEV_RULES_FILE;
    const QString installed = QString::fromUtf8(file.readAll());
    EXPECT_EQ(installed, QString::fromStdString(rx::udevRulesText()));

    QSet<QString> ruleLines;
    for (const QString &line : installed.split(QLatin1Char('\n')))
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            ruleLines.insert(line);
    EXPECT_EQ(ruleLines.size(), 34);
    for (const rx::ReceiverRow &row : rx::receiverTable()) {
        const QString expected =
            QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                .arg(row.vendorId, 4, 16, QLatin1Char('0'))
                .arg(row.productId, 4, 16, QLatin1Char('0'));
        EXPECT_TRUE(ruleLines.contains(expected)) << row.number;
    }
}

TEST(ReceiverTable, RowsKeepTheMatchingOrderAndFamilyFacts)
{
    const auto rows = rx::receiverTable();
    ASSERT_EQ(rows.size(), 34u);
    EXPECT_EQ(rows.front().vendorId, 0x25BA);
    EXPECT_EQ(rows.front().productId, 0x24AB);
    EXPECT_EQ(rows.back().productId, 0x72AC);

    // Same product id under two vendors: two different receivers.
    const rx::ReceiverRow *hotKey = rx::findReceiver(0x13BA, 0x12AB);
    const rx::ReceiverRow *damsen = rx::findReceiver(0x3151, 0x12AB);
    ASSERT_TRUE(hotKey && damsen);
    EXPECT_TRUE(hotKey->has(rx::kHotKey));
    EXPECT_EQ(damsen->chipPlan, 4);
    EXPECT_EQ(damsen->command.page, 0xFF91);

    const rx::ReceiverRow *ab = rx::findReceiver(0x248A, 0x70AC);
    ASSERT_TRUE(ab);
    EXPECT_TRUE(ab->hasAlternative());
    EXPECT_EQ(ab->alternative.page, 0xFFBB);
    EXPECT_EQ(rx::findReceiver(0x248A, 0x60AB)->rule, rx::InterfaceRule::ByVersion);
    EXPECT_TRUE(rx::findReceiver(0x248A, 0x60AB)->has(rx::kExcludeNimboNames));
    EXPECT_FALSE(rx::findReceiver(0x248A, 0x65AB)->has(rx::kExcludeNimboNames));
    EXPECT_EQ(rx::findReceiver(0x4C4A, 0x5055)->rule, rx::InterfaceRule::EveryInterface);
    EXPECT_EQ(rx::findReceiver(0x1234, 0x5678), nullptr);
}
