// Framed lighting, hand and pointer replies.
#include "HidKeysFixture.h"

#include "NotificationNames.h"

namespace {

TEST_F(HidKeysTest, LightingAndHandRepliesStoreOrReadBack)
{
    const QString lighting = QString::fromLatin1(qx::notify::kUpdateLightingEffectsNotification);
    const QString hand = QString::fromLatin1(qx::notify::kUpdateMouseLeftOrRightHandBehaviorNotification);
    QXMouseInfoItem &item = state->mouseInfoItem();
    struct Row {
        int command;
        int value;
        QStringList sent; // after the acknowledgement
        std::function<qint64()> field;
        QString notification;
    };
    const Row rows[] = {
        {0x83, 2, {"send:sendGetLightingEffectsColorData"}, [&] { return item.lightingEffectsMode(); }, lighting},
        {0x84, 0, {"send:sendGetLightingEffectsModeData", "send:sendGetLightingEffectsColorData"}, nullptr, {}},
        {0x85, 0xc8, {}, [&] { return item.lightingEffectsBrightness(); }, lighting},
        {0x86, 0, {"send:sendGetLightingEffectsBrightnessData"}, nullptr, {}},
        {0x87, 3, {}, [&] { return item.lightingEffectsSpeed(); }, lighting},
        {0x88, 0, {"send:sendGetLightingEffectsSpeedData"}, nullptr, {}},
        {0x89, 4, {}, [&] { return item.lightingEffectsColor(); }, lighting},
        {0x8a, 0, {"send:sendGetLightingEffectsColorData"}, nullptr, {}},
        {0x8b, 1, {}, [&] { return item.mouseLeftOrRightHandBehavior(); }, hand},
        {0x8c, 0, {"send:sendGetMouseLeftOrRightHandBehavior"}, nullptr, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QString::number(row.command, 16).toStdString());
        notes.clear();
        completions.clear();
        framed(row.command, 0, row.value);
        EXPECT_EQ(calls(), QStringList{"send:sendGetReceiveData"} + row.sent);
        if (row.field) {
            EXPECT_EQ(row.field(), row.value);
        }
        EXPECT_EQ(notes.count(lighting) + notes.count(hand), row.notification.isEmpty() ? 0 : 1);
        if (!row.notification.isEmpty()) {
            EXPECT_EQ(notes.count(row.notification), 1);
        }
        EXPECT_EQ(completions, (std::vector<std::pair<int, int>>{{row.command, 0}}));
    }
}

TEST_F(HidKeysTest, PointerModeAndEffectKeys)
{
    framed(0x90);
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "changeLaserPenStatus(0)"}));

    framed(0x92); // no effect shown: show it
    framed(0x92); // shown: take it away
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "showLaserPenEffect", "send:sendGetReceiveData",
                                    "dismissEffect"}));

    framed(0x93); // released with nothing shown: acknowledged and completed only
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData"}));
    fakes.laserPen.showing = true;
    framed(0x93);
    EXPECT_EQ(calls(), QStringList({"send:sendGetReceiveData", "dismissEffect"}));
    EXPECT_EQ(completions.size(), 5u);
}

TEST_F(HidKeysTest, LightingCodesMeanOtherThingsOnPlans6And7)
{
    plan(7);
    state->mouseInfoItem().setLightingEffectsColor(9);
    plan7Reply(0x89);
    EXPECT_EQ(state->mouseInfoItem().lightingEffectsColor(), 9);
    EXPECT_EQ(notes.count(QString::fromLatin1(qx::notify::kUpdateLightingEffectsNotification)), 0);
}

} // namespace
