// Input reports: the voice interface, the command interface's first-byte filter, and the
// choice between the device-information reader and the report parser.
#include "HidTransportFixture.h"

#include "HidReportRules.h"

using Role = SimulatedReceiver::Role;

TEST(HidInputFilterTest, FirstByteFilter)
{
    const QList<int> passing{0x0D, 0x0F, 0x4D, 0x0C, 0x1B, 0xA5, 0xA6, 0x1C};
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(qx::hid::isCommandInterfaceReport(QByteArray(1, char(b))), passing.contains(b)) << b;
    EXPECT_FALSE(qx::hid::isCommandInterfaceReport(QByteArray()));
}

class HidInputTest : public HidTransportTest {
protected:
    void SetUp() override
    {
        watch();
        // The receiver that takes every interface: its voice interface, then its command one.
        rx = std::make_unique<SimulatedReceiver>(bus, 0x4C4A, 0x5055, SimulatedReceiver::Options{});
        rx->addInterface(Role::Voice, 0xFF0C, 1);
        rx->addInterface(Role::Command, 0xFF05, 0);
        rx->plugIn();
        sched.runDue();
        ASSERT_EQ(hid->devicePath(), rx->path(Role::Command));
        ASSERT_EQ(hid->voiceDevicePath(), rx->path(Role::Voice));
    }
    std::unique_ptr<SimulatedReceiver> rx;
};

TEST_F(HidInputTest, KeySettingPicksParserOrReader)
{
    st().setIsSupportKeySetting(true);
    EXPECT_TRUE(rx->sendInput(Role::Command, hex("1c0102")));
    EXPECT_TRUE(rx->sendInput(Role::Command, hex("0e0102"))); // not read
    EXPECT_EQ(parserReports, (QList<QByteArray>{hex("1c0102")}));
    EXPECT_TRUE(readerReports.isEmpty());

    st().setIsSupportKeySetting(false);
    rx->sendInput(Role::Command, hex("0d05"));
    rx->sendInput(Role::Command, hex("0e05"));
    EXPECT_EQ(readerReports, (QList<QByteArray>{hex("0d05")}));
    EXPECT_EQ(parserReports.size(), 1);
    EXPECT_TRUE(voiceReports.isEmpty());
}

TEST_F(HidInputTest, VoiceReportsGoToTheVoiceDecoderWhole)
{
    st().setIsSupportKeySetting(true);
    const QByteArray report = hex("0d") + QByteArray(250, '\x5a');
    rx->sendInput(Role::Voice, report);
    rx->sendInput(Role::Voice, hex("ff"));
    EXPECT_EQ(voiceReports, (QList<QByteArray>{report, hex("ff")}));
    EXPECT_TRUE(parserReports.isEmpty());
    EXPECT_TRUE(readerReports.isEmpty());
}

TEST_F(HidInputTest, ParserCodesDriveTheVoiceFlag)
{
    st().setIsSupportKeySetting(true);
    const std::pair<int, bool> steps[] = {{0x5A, true}, {0x10, true}, {0, false}, {0x10, false}, {0x5A, true}};
    for (const auto &[code, expected] : steps) {
        parserCode = code;
        rx->sendInput(Role::Command, hex("a5"));
        EXPECT_EQ(hid->isStartVoice(), expected) << code;
    }
}

TEST_F(HidInputTest, ReportsOfOtherInterfacesAndBadSizesAreDropped)
{
    st().setIsSupportKeySetting(false);
    hid->hidInputReport("/dev/hidraw-elsewhere", hex("0d01"));
    hid->hidInputReport(QString(), hex("0d01"));
    hid->hidInputReport(rx->path(Role::Command), QByteArray());
    hid->hidInputReport(rx->path(Role::Voice), QByteArray());
    hid->hidInputReport(rx->path(Role::Command), QByteArray(HIDDevice::kMaxInputReport + 1, '\x0d'));
    EXPECT_TRUE(readerReports.isEmpty());
    EXPECT_TRUE(voiceReports.isEmpty());
    hid->hidInputReport(rx->path(Role::Command), QByteArray(HIDDevice::kMaxInputReport, '\x0d'));
    EXPECT_EQ(readerReports.size(), 1);
}

TEST_F(HidInputTest, WithoutSinksReportsAreDroppedQuietly)
{
    hid->setSinks({});
    st().setIsSupportKeySetting(true);
    rx->sendInput(Role::Command, hex("1c"));
    rx->sendInput(Role::Voice, hex("01"));
    st().setIsSupportKeySetting(false);
    rx->sendInput(Role::Command, hex("0d"));
    EXPECT_FALSE(hid->isStartVoice());
}

// An answer the device sends back to a written command reaches the parser.
TEST_F(HidInputTest, SimulatedReceiverAnswersThroughItsResponder)
{
    st().setIsSupportKeySetting(true);
    rx->setResponder([](SimulatedReceiver &self, const SimulatedReceiver::Interface &i, const QByteArray &report) {
        if (i.role == Role::Command && quint8(report[0]) == 0x0D)
            self.reply(Role::Command, hex("0d80") + report.mid(1, 2), 5);
    });
    hid->sendData(hex("0d1122"));
    EXPECT_TRUE(parserReports.isEmpty());
    sched.advance(5);
    EXPECT_EQ(parserReports, (QList<QByteArray>{hex("0d801122")}));
}
