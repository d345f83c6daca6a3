// The voice chip's authorisation over plan-6 receivers, with a fake token client.
#include "HidKeysFixture.h"

namespace {

class HidVoiceChip : public HidKeysTest {
protected:
    HidVoiceChip()
    {
        plan(6);
        tokens.snapshot = [this] { return state->IFlytekChip_AuthDataStr().value_or(QString()); };
    }
    void chip(std::initializer_list<int> body) { feed(R(21, QByteArray::fromHex("0c4e") + bytes(body))); }
};

TEST_F(HidVoiceChip, ChipReportsEndInOneTokenRequestPerFollowingPiece)
{
    chip({0x01, 0x02, 0x12, 0xab});
    chip({0x02, 0x03, 0x00, 0x7f, 0xff});
    chip({0x03, 0x04, 0x41, 0x42, 0x43, 0x44});
    EXPECT_EQ(state->IFlytekChip_FirmwareVersion(), QStringLiteral("12ab"));
    EXPECT_EQ(state->IFlytekChip_ID(), QStringLiteral("007fff"));
    EXPECT_EQ(state->IFlytekChip_DeviceID(), QStringLiteral("ABCD"));
    EXPECT_EQ(calls(), QStringList({"send:sendGetXunFeiChipAuthData"})); // asked for after the device id only

    chip({0x04, 0x02, 0x61, 0x62});
    EXPECT_TRUE(tokens.requests.empty());
    chip({0x05, 0x02, 0x63, 0x64});
    chip({0x05, 0x01, 0x65});
    EXPECT_EQ(state->IFlytekChip_AuthData(), QByteArray("abcde"));
    ASSERT_EQ(tokens.requests.size(), 2u);
    EXPECT_EQ(tokens.requests[0].authDataStr, QStringLiteral("abcd"));
    EXPECT_EQ(tokens.requests[1].authDataStr, QStringLiteral("abcde"));

    // Each completed request rebuilds the AI window, whatever the vendor answered.
    tokens.answer(1, false);
    tokens.answer(0, true);
    tokens.answer(0, true); // a client calling back twice would be its fault; nothing more here
    EXPECT_EQ(fakes.log.count(QStringLiteral("initSubViews")), 2);

    // A new first piece starts over.
    chip({0x04, 0x01, 0x7a});
    EXPECT_EQ(state->IFlytekChip_AuthData(), QByteArray("z"));
}

TEST_F(HidVoiceChip, ReportsClaimingMoreThanTheyHoldAreDropped)
{
    chip({0x01, 0x02, 0x12, 0xab});
    // A 21-byte report holds at most 17 data bytes.
    chip({0x01, 0x12, 0x34});
    EXPECT_EQ(state->IFlytekChip_FirmwareVersion(), QStringLiteral("12ab"));
    feed(QByteArray::fromHex("0c4e0405616263")); // a short report claiming five bytes
    chip({0x05, 0xff});
    EXPECT_TRUE(tokens.requests.empty());
    EXPECT_TRUE(state->IFlytekChip_AuthData().isEmpty());

    // Exactly what fits is taken.
    QByteArray full = QByteArray::fromHex("0c4e0211") + QByteArray(17, '\x01');
    feed(full);
    EXPECT_EQ(state->IFlytekChip_ID(), QStringLiteral("01").repeated(17));
    // A report too short to hold its length byte never reaches the chip.
    feed(QByteArray::fromHex("0c4e01"));
    EXPECT_EQ(state->IFlytekChip_FirmwareVersion(), QStringLiteral("12ab"));
}

TEST_F(HidVoiceChip, EveryFollowingPieceRequestsATokenWhateverCameBefore)
{
    // A following piece with no first piece: appended to nothing, and asked for.
    chip({0x05, 0x02, 0x63, 0x64});
    ASSERT_EQ(tokens.requests.size(), 1u);
    EXPECT_EQ(tokens.requests[0].authDataStr, QStringLiteral("cd"));

    chip({0x04, 0x02, 0x61, 0x62});
    chip({0x05, 0x01, 0x63});
    ASSERT_EQ(tokens.requests.size(), 2u);
    EXPECT_EQ(tokens.requests[1].authDataStr, QStringLiteral("abc"));

    // The device id leaves the gathered data alone; a piece after it continues it.
    chip({0x03, 0x02, 0x41, 0x42});
    chip({0x05, 0x01, 0x64});
    ASSERT_EQ(tokens.requests.size(), 3u);
    EXPECT_EQ(tokens.requests[2].authDataStr, QStringLiteral("abcd"));

    // Unknown sub-commands change nothing.
    chip({0x06, 0x01, 0x00});
    chip({0x00, 0x00});
    EXPECT_EQ(state->IFlytekChip_AuthData(), QByteArray("abcd"));
    EXPECT_EQ(tokens.requests.size(), 3u);
}

TEST_F(HidVoiceChip, WithoutATokenClientTheTextIsStillGathered)
{
    handlers.keys().setTokenClient(nullptr);
    chip({0x04, 0x01, 0x61});
    chip({0x05, 0x01, 0x62});
    EXPECT_EQ(state->IFlytekChip_AuthDataStr(), QStringLiteral("ab"));
    EXPECT_EQ(fakes.log.count(QStringLiteral("initSubViews")), 0);
}

} // namespace
