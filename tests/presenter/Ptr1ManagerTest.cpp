// The pointer manager's modes, key timing and settings, over the real frame builders.
#include "Ptr1World.h"

namespace {

class Ptr1Manager : public ::testing::Test, protected Ptr1World {};

TEST_F(Ptr1Manager, CreationThenEveryPressOfTheModeKey)
{
    QXLaserPenManager &m = make();
    EXPECT_EQ(take(), (QStringList{"closeHardLaser", "mode(1)"})); // no tip at creation
    EXPECT_EQ(m.laserPenStatus(), 1);

    struct Press {
        int status;
        QStringList calls;
    };
    const Press presses[] = {
        {2, {"quitMouseStatus", "closeHardLaser", tip("数码光点", "laserPen_icon-4"), "mode(2)"}},
        {3, {"quitMouseStatus", "closeHardLaser", tip("放大镜", "laserPen_icon-3"), "mode(3)"}},
        {4, {"quitMouseStatus", "closeHardLaser", tip("画笔", "laserPen_icon-5"), "mode(4)"}},
        {0, {"closeHardLaser", tip("硬激光", "laserPen_icon-1"), "mode(0)"}}, // leaving the pen: no quit
        {1, {"closeHardLaser", tip("突出显示", "laserPen_icon-9"), "mode(1)"}},
        {2, {"quitMouseStatus", "closeHardLaser", tip("数码光点", "laserPen_icon-4"), "mode(2)"}},
    };
    for (const Press &p : presses) {
        SCOPED_TRACE(p.status);
        m.changeLaserPenStatus(false);
        EXPECT_EQ(m.laserPenStatus(), p.status);
        EXPECT_EQ(take(), p.calls);
        EXPECT_EQ(store.intValue("laserPenStatusKey"), p.status);
    }
}

TEST_F(Ptr1Manager, SwitchedOffModesAreSkipped)
{
    QXLaserPenManager &m = make();
    m.setLaserPenDigitalLightSpotSwitch(false);
    m.changeLaserPenStatus(false);
    EXPECT_EQ(m.laserPenStatus(), 3);

    // keep = YES on a mode just switched off: the next one, its command, no tip.
    m.setLaserPenDigitalLightSpotSwitch(true);
    m.changeLaserPenStatus(false); // 4
    m.changeLaserPenStatus(false); // 0
    m.changeLaserPenStatus(false); // 1
    m.changeLaserPenStatus(false); // 2
    m.setLaserPenDigitalLightSpotSwitch(false);
    take();
    m.changeLaserPenStatus(true);
    EXPECT_EQ(m.laserPenStatus(), 3);
    EXPECT_EQ(take(), (QStringList{"quitMouseStatus", "closeHardLaser", "mode(3)"}));

    for (auto set : {&QXLaserPenManager::setLaserPenHighlightedSwitch, &QXLaserPenManager::setLaserPenZoomInSwitch,
                     &QXLaserPenManager::setLaserPenDrawSwitch})
        (m.*set)(false);
    QXLaserPenManager &allOff = make();
    EXPECT_EQ(allOff.laserPenStatus(), 0);
    EXPECT_EQ(take(), (QStringList{"closeHardLaser", "mode(0)"}));
    for (int i = 0; i < 3; ++i) {
        allOff.changeLaserPenStatus(false);
        EXPECT_EQ(allOff.laserPenStatus(), 0);
        EXPECT_EQ(take(), (QStringList{"closeHardLaser", tip("硬激光", "laserPen_icon-1"), "mode(0)"}));
    }
}

TEST_F(Ptr1Manager, OnlyPointerReceiversChangeTheMode)
{
    struct Row {
        quint16 vid, pid;
        bool acts;
    };
    const Row rows[] = {
        {0x248A, 0x64AB, true}, {0x1234, 0x62AB, true}, {0x1234, 0x63AB, true}, {0x1234, 0x64AB, false}, {0, 0, false}};
    for (const Row &r : rows) {
        SCOPED_TRACE(QString::number(r.vid, 16).toStdString() + ":" + QString::number(r.pid, 16).toStdString());
        penIds = {r.vid, r.pid};
        QXLaserPenManager &m = make();
        EXPECT_EQ(m.laserPenStatus(), r.acts ? 1 : 0);
        take();
        m.changeLaserPenStatus(false);
        EXPECT_EQ(m.laserPenStatus(), r.acts ? 2 : 0);
        EXPECT_EQ(m.laserPenIndex(), r.acts ? 1 : 0);
        EXPECT_EQ(take().isEmpty(), !r.acts);
    }
}

TEST_F(Ptr1Manager, KeyDownTellsTheReceiverFortyMillisecondsLater)
{
    QXLaserPenManager &m = make();
    const auto toMode = [&](int mode) {
        while (m.laserPenStatus() != mode)
            m.changeLaserPenStatus(false);
        take();
        effects.calls.clear();
    };

    toMode(0);
    m.showLaserPenEffect();
    EXPECT_EQ(take(), QStringList{"closeHardLaser"});
    sched.advance(40);
    EXPECT_EQ(take(), QStringList{"openHardLaser"});
    m.dismissEffect();
    EXPECT_EQ(take(), QStringList{"closeHardLaser"});
    EXPECT_FALSE(effects.calls.contains("highlighted(0.6,300)"));

    toMode(2);
    m.showLaserPenEffect();
    EXPECT_EQ(take(), (QStringList{"quitMouseStatus", "closeHardLaser"}));
    EXPECT_TRUE(effects.calls.contains("spot(#ff0000,20)"));
    sched.advance(39);
    EXPECT_FALSE(m.hasShowEffecf());
    sched.advance(1);
    EXPECT_TRUE(m.hasShowEffecf());
    EXPECT_EQ(take(), (QStringList{"enterMouseStatus", "closeHardLaser"}));
    effects.calls.clear();
    m.dismissEffect();
    EXPECT_FALSE(m.hasShowEffecf());
    EXPECT_EQ(take(), (QStringList{"quitMouseStatus", "closeHardLaser"}));
    EXPECT_EQ(effects.calls, (QStringList{"hideHighlighted", "dismissZoom", "endDraw"}));

    // The pen: the stroke starts and ends, the drawing stays, and the shown flag stays
    // set after the key-up (toggle receivers rely on it as it is).
    toMode(4);
    m.showLaserPenEffect();
    EXPECT_EQ(effects.calls, (QStringList{"startDraw(10)", "penDown"}));
    sched.advance(40);
    EXPECT_EQ(take(), (QStringList{"enterMouseStatus", "closeHardLaser"}));
    effects.calls.clear();
    m.dismissEffect();
    EXPECT_EQ(take(), QStringList{"closeHardLaser"});
    EXPECT_EQ(effects.calls, QStringList{"penUp"});
    EXPECT_TRUE(m.hasShowEffecf());
    m.changeLaserPenStatus(false); // to 0: the drawing goes
    EXPECT_TRUE(effects.calls.contains("endDraw"));

    // A mode key within the 40 ms decides what goes out.
    toMode(0);
    m.showLaserPenEffect();
    take();
    sched.advance(20);
    m.changeLaserPenStatus(false); // -> 1
    take();
    sched.advance(20);
    EXPECT_EQ(take(), (QStringList{"enterMouseStatus", "closeHardLaser"}));
}

TEST_F(Ptr1Manager, SettingsKeepTheirPrecisionAndWriteOnlyChangedSwitches)
{
    QXLaserPenManager &m = make();
    EXPECT_DOUBLE_EQ(m.highlightedMaskAlpha(), 0.6); // absent: the exact default
    EXPECT_EQ(m.previewIndex(), -1);
    store.resetCounts();
    m.setLaserPenZoomInSwitch(true);
    EXPECT_EQ(store.writes("laserPenZoomInSwitchKey"), 0);
    m.setHighlightedMaskAlpha(0.6);
    m.setLaserPenCountdownSwitch(true);
    m.setDrawColor(QColor(0x10, 0x20, 0x30, 0x40));
    EXPECT_EQ(store.stringValue("drawColorKey"), "#40102030");
    QXLaserPenManager &again = make();
    EXPECT_EQ(again.highlightedMaskAlpha(), 0.6000000238418579);
    EXPECT_FALSE(again.laserPenCountdownSwitch());
    EXPECT_EQ(again.drawColor(), QColor(0x10, 0x20, 0x30, 0x40));
}

TEST_F(Ptr1Manager, BadStoredValuesGiveDefaultsOrClamps)
{
    struct Row {
        const char *key;
        QVariant stored;
        std::function<QVariant(const QXLaserPenManager &)> read;
        QVariant expected;
    };
    const auto alpha = [](const QXLaserPenManager &m) { return QVariant(m.highlightedMaskAlpha()); };
    const auto hole = [](const QXLaserPenManager &m) { return QVariant(m.highlightedCircleW()); };
    const auto spot = [](const QXLaserPenManager &m) { return QVariant(m.digitalLightSpotColor()); };
    const Row rows[] = {
        {"highlightedMaskAlphaKey", 5, alpha, 1.0},
        {"highlightedMaskAlphaKey", -1, alpha, 0.0},
        {"highlightedMaskAlphaKey", "abc", alpha, 0.6},
        {"highlightedCircleWKey", -300, hole, 300.0},
        {"highlightedCircleWKey", std::nan(""), hole, 300.0},
        {"drawWidthKey", "inf", [](const QXLaserPenManager &m) { return QVariant(m.drawWidth()); }, 10.0},
        {"digitalLightSpotColorKey", "garbage", spot, QColor(Qt::red)},
        {"digitalLightSpotColorKey", "#12345", spot, QColor(Qt::red)},
        {"digitalLightSpotColorKey", "#00FF00\n", spot, QColor(Qt::red)},
        {"digitalLightSpotColorKey", "#0G0000", spot, QColor(Qt::red)},
        {"digitalLightSpotColorKey", "#8000ff00", spot, QColor(0, 255, 0, 128)},
        {"warningTimeKey", 2.9, [](const QXLaserPenManager &m) { return QVariant(m.warningTime()); }, 2},
        {"previewIndexKey", "x", [](const QXLaserPenManager &m) { return QVariant(m.previewIndex()); }, -1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(std::string(r.key) + "=" + r.stored.toString().toStdString());
        store.setValue(r.key, r.stored);
        EXPECT_EQ(r.read(make()), r.expected);
        store.remove(r.key);
    }
}

TEST_F(Ptr1Manager, DismissWithoutAShowSendsOnlyTheLaserOff)
{
    penIds = {0, 0};
    QXLaserPenManager &m = make();
    take();
    m.dismissEffect();
    EXPECT_EQ(take(), QStringList{"closeHardLaser"});
}

} // namespace
