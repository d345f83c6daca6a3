#include "HidapiFixture.h"

#include "HidapiCommands.h"
#include "LaserPenRequests.h"

#include <cmath>
#include <limits>

using hidapicmd::Command;

namespace {

struct CommandRow {
    const char *what;
    Command command;
    bool plan2;
    int value;
    const char *bytes; // the start of the buffer; the rest is zero
};

const CommandRow kCommandRows[] = {
    {"LED on, plan 2", Command::Led, true, 1, "0da50600"},
    {"LED off, plan 2", Command::Led, true, 0, "0da50700"},
    {"LED on, plan 1", Command::Led, false, 1, "0d1101"},
    {"LED off, plan 1", Command::Led, false, 0, "0d1100"},
    {"DPI 2, plan 2 sends index + 1", Command::Dpi, true, 2, "0da5020103"},
    {"DPI 2, plan 1", Command::Dpi, false, 2, "0d1202"},
    {"key command 5, plan 2", Command::KeyCommand, true, 5, "0da50a08050019"},
    {"key release, plan 2", Command::KeyCommandRelease, true, 0, "0da50a08000000"},
    {"key command 5, plan 1", Command::KeyCommand, false, 5, "0d810519"},
    {"reset keys, plan 2", Command::ResetKey, true, 0, "0da501"},
    {"reset keys, plan 1", Command::ResetKey, false, 0, "0d14"},
    {"website on, plan 2", Command::OpenWebsite, true, 1, "0da50d00"},
    {"website off, plan 2", Command::OpenWebsite, true, 0, "0da50c00"},
    {"website, plan 1: zero report", Command::OpenWebsite, false, 1, ""},
    {"mic on, plan 2", Command::OpenMic, true, 1, "0da50400"},
    {"mic off, plan 2", Command::OpenMic, true, 0, "0da50500"},
    {"mic, plan 1: zero report", Command::OpenMic, false, 0, ""},
    {"mouse info, plan 2", Command::GetMouseInfo, true, 0, "0da50900"},
    {"mouse info, plan 1: zero report", Command::GetMouseInfo, false, 0, ""},
    {"pointer mode, plan 2 (value as is)", Command::LaserPenMode, true, 0, "0da5a700"},
    {"pointer mode, plan 1", Command::LaserPenMode, false, 2, "0d051102"},
    {"pointer DPI 30, plan 2", Command::LaserPenDpi, true, 30, "0da5a41e"},
    {"pointer DPI 30, plan 1", Command::LaserPenDpi, false, 30, "0d05121e"},
    {"pointer website on", Command::LaserPenOpenWebsite, true, 1, "0da5a900"},
    {"pointer website off", Command::LaserPenOpenWebsite, true, 0, "0da5a800"},
    {"pointer mic on", Command::LaserPenOpenMic, true, 1, "0da5aa00"},
    {"pointer mic off", Command::LaserPenOpenMic, true, 0, "0da5ab00"},
    {"pointer LED on", Command::LaserPenOpenLed, true, 1, "0da5ac00"},
    {"pointer LED off", Command::LaserPenOpenLed, true, 0, "0da5ad00"},
    {"pointer LED, plan 1: zero report", Command::LaserPenOpenLed, false, 1, ""},
    {"pointer motor 3, plan 2", Command::LaserPenMotor, true, 3, "0d0515320003"},
    {"pointer motor 3, plan 1", Command::LaserPenMotor, false, 3, "0d0515320003"},
    {"pointer key reset", Command::LaserPenResetKeyStatus, false, 0, "0da5a100"},
    {"shake 25 tenths", Command::LaserPenShakeDuration, true, 25, "0da5a11900"},
    {"shake 300 tenths, little-endian", Command::LaserPenShakeDuration, false, 300, "0da5a12c01"},
    {"pointer key command", Command::LaserPenSendKeyCommand, true, 7, "0da50a07"},
};

} // namespace

TEST(HidapiCommands, BytesPerCommandAndPlan)
{
    for (const CommandRow &row : kCommandRows) {
        const QByteArray buffer = hidapicmd::build(row.command, row.plan2, row.value);
        const QByteArray expected = hexBytes(row.bytes);
        ASSERT_EQ(buffer.size(), hidapicmd::kBufferSize) << row.what;
        EXPECT_EQ(buffer.left(expected.size()).toHex(), expected.toHex()) << row.what;
        EXPECT_EQ(buffer.mid(expected.size()).count('\0'), buffer.size() - expected.size()) << row.what;
    }
}

TEST(HidapiCommands, ShakeDurationIsTruncatedTenthsWithinSixteenBits)
{
    EXPECT_EQ(laserpen::shakeTenths(2.55), 25);
    EXPECT_EQ(laserpen::shakeTenths(1.5), 15);
    EXPECT_EQ(laserpen::shakeTenths(0.05), 0);
    EXPECT_EQ(laserpen::shakeTenths(-3), 0);
    EXPECT_EQ(laserpen::shakeTenths(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(laserpen::shakeTenths(1e12), 65535);
}

// Writes go out 17 bytes long on plan 2 and 16 on the others; failures and a missing
// device are reported to the caller.
TEST_F(HidapiTest, WritesAreCutPerPlanAndReportFailure)
{
    std::vector<bool> results;
    auto record = [&](bool ok, const QString &message) {
        results.push_back(ok);
        EXPECT_TRUE(message.isEmpty());
    };

    manager.hidRequestWriteDpiNum(2, record); // nothing open
    EXPECT_EQ(results, std::vector<bool>{false});
    EXPECT_TRUE(lib.writes().empty());

    openPastFirstInfo();
    manager.hidRequestWriteDpiNum(2, record);
    state->setChipPlan(2);
    manager.hidRequestWriteDpiNum(2, record);
    ASSERT_EQ(lib.writes().size(), 2u);
    EXPECT_EQ(lib.writes()[0], featureReport("0d1202", 16));
    EXPECT_EQ(lib.writes()[1], featureReport("0da5020103", 17));

    lib.setWriteFails(true);
    manager.hidRequestWriteLedOpen(true, record);
    EXPECT_EQ(results, (std::vector<bool>{false, true, true, false}));
}

TEST_F(HidapiTest, PlanTwoKeyCommandIsReleasedFiveMillisecondsLater)
{
    openPastFirstInfo();
    state->setChipPlan(2);
    int completions = 0;
    manager.hidRequestWriteCmd(5, [&](bool ok, const QString &) {
        EXPECT_TRUE(ok);
        ++completions;
    });
    ASSERT_EQ(lib.writes().size(), 1u);
    EXPECT_EQ(lib.writes()[0].toHex(), featureReport("0da50a08050019", 17).toHex());
    EXPECT_EQ(completions, 0);
    sched.advance(4);
    EXPECT_EQ(lib.writes().size(), 1u);
    sched.advance(1);
    ASSERT_EQ(lib.writes().size(), 2u);
    EXPECT_EQ(lib.writes()[1].toHex(), featureReport("0da50a08000000", 17).toHex());
    EXPECT_EQ(completions, 1);

    // Closing within the 5 ms releases the key at once rather than leaving it down.
    manager.hidRequestWriteCmd(6, [&](bool, const QString &) { ++completions; });
    manager.hidRequestClose();
    ASSERT_EQ(lib.writes().size(), 4u);
    EXPECT_EQ(lib.writes()[3].toHex(), featureReport("0da50a08000000", 17).toHex());
    EXPECT_EQ(completions, 2);
    sched.advance(10);
    EXPECT_EQ(lib.writes().size(), 4u);
}

TEST_F(HidapiTest, ResetCommandsClearThePressType)
{
    openPastFirstInfo();
    lib.setIdleReport(featureReport("0d00000000000033", 64));
    run(10);
    ASSERT_EQ(manager.pressType(), 33);
    int seen = -1;
    manager.hidRequestResetKeyCmdCallback([&](bool, const QString &) { seen = manager.pressType(); });
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(lib.writes().back(), featureReport("0d14", 16));
}
