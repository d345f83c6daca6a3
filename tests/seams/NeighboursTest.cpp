#include "FakeNeighbours.h"
#include "ManualScheduler.h"
#include "services/QXAIContentModel.h"

#include <gtest/gtest.h>

namespace {

TEST(NeighboursTest, StandInsAnswerWhenNothingIsInstalled)
{
    Neighbours &n = neighbours();
    n.voice->hidCallbackType(33); // logs once, no crash
    n.voice->setPressType(35);
    EXPECT_EQ(n.voice->pressType(), 35);
    n.voice->setPressType(0);
    EXPECT_EQ(n.speech->fileHandle(), nullptr);
    EXPECT_EQ(n.shell->window(), nullptr);
    EXPECT_EQ(n.laserPen->vioceMode(), 1);
}

TEST(NeighboursTest, FakesRecordInOrderAndAreRemovedAfterwards)
{
    {
        FakeNeighbours fakes;
        neighbours().voice->hidCallbackType(33);
        neighbours().tips->showTipMessage("切换到打字模式", "laserPen_icon-6");
        neighbours().laserPen->dismissEffect();
        EXPECT_EQ(fakes.log.calls,
                  (QStringList{"hidCallbackType(33)", "showTipMessage(切换到打字模式,laserPen_icon-6)", "dismissEffect"}));
        fakes.speech.startRecording();
        ASSERT_NE(neighbours().speech->fileHandle(), nullptr);
        neighbours().speech->fileHandle()->write("\x01\x02", 2);
        EXPECT_EQ(fakes.speech.recording.data().size(), 2);
    }
    EXPECT_EQ(neighbours().speech->fileHandle(), nullptr);
}

TEST(NeighboursTest, PressTypeRuns)
{
    EXPECT_EQ(presstype::programmablePressKind(53), 2);  // long-press start of 51-54
    EXPECT_EQ(presstype::programmablePressKind(187), 3); // long-press end of 184-187
    EXPECT_EQ(presstype::programmablePressKind(224), 0);
    for (int code : {0, 32, 50, 71, 188})
        EXPECT_FALSE(presstype::isProgrammableKey(code)) << code;
}

TEST(NeighboursTest, AIContentLastAnswer)
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
