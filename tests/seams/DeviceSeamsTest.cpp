#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "services/QXAIContentModel.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceSeamsTest, EmptySeamsAnswerThroughStandIns)
{
    const DeviceSeams n = DeviceSeams{}.resolved();
    n.voice->hidCallbackType(33); // logs once, no crash
    n.keys->setPressType(35);
    EXPECT_EQ(n.keys->pressType(), 35);
    n.keys->setPressType(0);
    EXPECT_EQ(n.speech->fileHandle(), nullptr);
    EXPECT_FALSE(n.laserPen->hasShowEffecf());
    EXPECT_EQ(n.keys->vioceMode(), 1);
}

TEST(DeviceSeamsTest, FakesRecordInOrderAndFilledSeamsStay)
{
    FakeNeighbours fakes;
    const DeviceSeams n = fakes.seams().resolved();
    EXPECT_EQ(n.keys, &fakes.keys);
    n.voice->hidCallbackType(33);
    n.tips->showTipMessage("切换到打字模式", "laserPen_icon-6");
    n.laserPen->dismissEffect();
    EXPECT_EQ(fakes.log.calls,
              (QStringList{"hidCallbackType(33)", "showTipMessage(切换到打字模式,laserPen_icon-6)", "dismissEffect"}));
    fakes.speech.startRecording();
    ASSERT_NE(n.speech->fileHandle(), nullptr);
    n.speech->fileHandle()->write("\x01\x02", 2);
    EXPECT_EQ(fakes.speech.recording.data().size(), 2);
}

TEST(DeviceSeamsTest, PressTypeRuns)
{
    EXPECT_EQ(presstype::programmablePressKind(53), 2);  // long-press start of 51-54
    EXPECT_EQ(presstype::programmablePressKind(187), 3); // long-press end of 184-187
    EXPECT_EQ(presstype::programmablePressKind(224), 0);
    for (int code : {0, 32, 50, 71, 188})
        EXPECT_FALSE(presstype::isProgrammableKey(code)) << code;
}

TEST(DeviceSeamsTest, AIContentLastAnswer)
{
    struct Row {
        const char *answer;
        const char *expected;
    } rows[] = {
        {R"({"data":{"text":"A"}}=====end====={"data":{"text":"AB"}}=====end=====)", "AB"},
        {"plain text", "plain text"},
        {R"(=====end====={"data":"s"})", R"(=====end====={"data":"s"})"},
        // the first piece is never examined
        {R"({"data":{"text":"A"}}=====end=====)", R"({"data":{"text":"A"}}=====end=====)"},
        {R"(x=====end=====[1,2]=====end=====null)", R"(x=====end=====[1,2]=====end=====null)"},
    };
    for (const auto &r : rows) {
        QXAIContentModel m;
        m.answer = QString::fromUtf8(r.answer);
        EXPECT_EQ(m.lastAnswer(), QString::fromUtf8(r.expected)) << r.answer;
    }
    ManualScheduler clock(QDateTime::fromSecsSinceEpoch(1796634307));
    EXPECT_EQ(QXAIContentModel().clientId, "clientId1796634307");
}

} // namespace
