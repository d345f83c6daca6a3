#include "CountingKeyValueStore.h"
#include "QXMouseInfoItem.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MouseInfoItemTest : public ::testing::Test {
protected:
    std::unique_ptr<QXMouseInfoItem> make() { return std::make_unique<QXMouseInfoItem>(store); }
    CountingKeyValueStore store;
};

} // namespace

TEST_F(MouseInfoItemTest, FreshInstall)
{
    auto item = make();
    EXPECT_EQ(item->vid(), 0);
    EXPECT_EQ(item->pid(), 0);
    EXPECT_EQ(item->sn(), "");
    EXPECT_EQ(item->icType(), 1u);
    EXPECT_EQ(item->deviceType(), 1u);
    EXPECT_EQ(item->mouseType(), 0u);
    EXPECT_EQ(item->dpi(), 0);
    EXPECT_EQ(item->firmwareVersion(), "");
    EXPECT_EQ(item->powerPercent(), 0.0);
    EXPECT_TRUE(store.contains("QX_Quorvex_DongleVersion_Key"));
    EXPECT_EQ(store.value("QX_Quorvex_DongleVersion_Key").toString(), "");
}

TEST_F(MouseInfoItemTest, RelaunchKeepsTheLastDeviceButNotItsReceiverVersion)
{
    {
        auto item = make();
        item->setVid(0x248A);
        item->setPid(0x62AB);
        item->setSn(QStringLiteral("SN001"));
        item->setDpi(2);
        item->setLed(1);
        item->setPowerPercent(55.5);
        item->setIcType(21);
        item->setMouseType(206);
        item->setFirmwareVersion(QStringLiteral("1.02"));
        item->setDongleVersion(QStringLiteral("1.234"));
        item->setMouseSource(2);
        item->setDeviceType(5);
        item->setMic(1);
    }
    auto item = make();
    EXPECT_EQ(item->vid(), 0x248A);
    EXPECT_EQ(item->pid(), 0x62AB);
    EXPECT_EQ(item->sn(), "SN001");
    EXPECT_EQ(item->dpi(), 2);
    EXPECT_EQ(item->led(), 1);
    EXPECT_EQ(item->powerPercent(), 55.5);
    EXPECT_EQ(item->icType(), 21u);
    EXPECT_EQ(item->mouseType(), 206u);
    EXPECT_EQ(item->firmwareVersion(), "1.02");
    EXPECT_EQ(item->dongleVersion(), "");
    EXPECT_EQ(item->mouseSource(), 0u);
    EXPECT_EQ(item->deviceType(), 1u);
    EXPECT_EQ(item->mic(), 0);
}

TEST_F(MouseInfoItemTest, WriteRulesAndFallbacks)
{
    auto item = make();
    item->setIcType(4);
    item->setIcType(4);
    EXPECT_EQ(store.writes("QX_Quorvex_IcType_Key"), 1);
    item->setDpi(3);
    item->setDpi(3);
    EXPECT_EQ(store.writes("QX_Quorvex_Dpi_Key"), 1); // the store writes only a change
    item->setDpi(0);
    EXPECT_EQ(item->dpi(), 0); // falls back to the stored value, now 0

    item->setSn(QStringLiteral("X"));
    item->setSn(std::nullopt);
    EXPECT_FALSE(store.contains("QX_Quorvex_Sn_Key"));
    EXPECT_EQ(item->sn(), "");
    item->setDongleVersion(std::nullopt);
    EXPECT_FALSE(store.contains("QX_Quorvex_DongleVersion_Key"));
    item->setFirmwareVersion(std::nullopt);
    EXPECT_EQ(store.value("QXFirmwareVersionKey").toString(), "");
    EXPECT_EQ(item->firmwareVersion(), "");

    item->setDeviceType(0);
    EXPECT_EQ(item->deviceType(), 1u);
    item->setDeviceType(3);
    EXPECT_EQ(item->deviceType(), 3u);
    EXPECT_FALSE(store.contains("QX_Quorvex_DeviceType_Key"));
    item->setdeviceType(3); // unchanged: not written
    EXPECT_FALSE(store.contains("QX_Quorvex_DeviceType_Key"));
    item->setdeviceType(4);
    EXPECT_EQ(store.value("QX_Quorvex_DeviceType_Key").toInt(), 4);
}

TEST_F(MouseInfoItemTest, StoredMouseTypeIsReadUntilOneIsHeld)
{
    store.setValue("QX_Quorvex_MouseType_Key", 523);
    store.setValue("QX_Quorvex_IcType_Key", 8);
    auto item = make();
    store.resetCounts();
    EXPECT_EQ(item->mouseType(), 523u);
    EXPECT_EQ(item->icType(), 8u);
    item->setMouseType(523); // nothing held yet, so this is a change and is written
    EXPECT_EQ(store.writes("QX_Quorvex_MouseType_Key"), 1);
    item->setIcType(0); // equal to the held 0: nothing written, the stored type stays
    EXPECT_EQ(item->icType(), 8u);
    EXPECT_EQ(store.writes("QX_Quorvex_IcType_Key"), 0);
}
