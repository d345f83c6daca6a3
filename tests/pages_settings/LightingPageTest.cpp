// The lighting page over PageWorld's recorders, and over the real HID command road to
// a recording plan-2 receiver.
#include "FrameDecoder.h"
#include "HidLightingReplyHandler.h"
#include "InstalledInstance.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "PreferencesViewController.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "QXMouseInfoItem.h"
#include "RecordingHidSink.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXSliderCell.h"

#include <QLabel>

#include <climits>

namespace {
struct Lighting {
    qint64 mouseType = 72, mode = 0, brightness = 50, speed = 3, colour = 1, hand = 0;
};

struct LightingWorld {
    PageWorld world;
    QXMouseInfoItem &item = world.state().mouseInfoItem();
    std::unique_ptr<PreferencesViewController> page;

    explicit LightingWorld(const Lighting &l = {}) { set(l); }
    ~LightingWorld() { world.scheduler.advance(2000); } // no group outlives the clock
    void set(const Lighting &l)
    {
        item.setMouseType(quint64(l.mouseType));
        item.setLightingEffectsMode(l.mode);
        item.setLightingEffectsBrightness(l.brightness);
        item.setLightingEffectsSpeed(l.speed);
        item.setLightingEffectsColor(l.colour);
        item.setMouseLeftOrRightHandBehavior(l.hand);
    }
    PreferencesViewController &load(const PageContext &context)
    {
        page = std::make_unique<PreferencesViewController>(context);
        page->view()->resize(880, 720);
        return *page;
    }
    PreferencesViewController &load() { return load(world.context()); }
    void post() { world.notifications.post(QString::fromLatin1(qx::notify::kUpdateLightingEffectsNotification)); }
    QStringList calls() { return std::exchange(world.log.calls, {}); }
};

QString image(const QXButton *b)
{
    return b->property("imageName").toString();
}
int selectedMode(const PreferencesViewController &p)
{
    for (QXButton *b : p.modeBtnArr())
        if (!b->isHidden() && image(b) == "6_radio_sel")
            return b->tag();
    return -1;
}
} // namespace

TEST(Pgs3Lighting, RefreshShowsTheReportWithClampedSlidersAndSendsNothing)
{
    const struct Row {
        Lighting in;
        bool marquee;
        int mode, brightness, speed, marker;
        bool speedOn, left;
    } rows[] = {
        {{72, 2, 150, 0, 3, 0}, true, 2, 100, 1, 96, true, false},
        {{56, 3, 10, 2, 1, 1}, false, -1, 10, 2, 0, true, true}, // the hidden marquee is not shown selected
        {{72, 5, 10, 2, 0, 2}, true, -1, 10, 2, -48, false, false},
        {{72, 0, -1, 255, 8, 1}, true, 0, 1, 5, 336, false, true},
        {{72, 1, INT_MAX, INT_MAX, INT_MAX, 0}, true, 1, 100, 5, (INT_MAX / 48 - 1) * 48, false, false},
        {{72, 3, 4294967301LL, LLONG_MIN, LLONG_MIN, 0}, true, 3, 100, 1, -(INT_MAX / 48) * 48, true, false},
    };
    LightingWorld w;
    // Device news before the view exists reaches nothing.
    w.post();
    PreferencesViewController &page = w.load();
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.in.mode << " brightness " << r.in.brightness);
        w.set(r.in);
        w.post();
        EXPECT_EQ(!page.marqueeBtn()->isHidden(), r.marquee);
        EXPECT_EQ(selectedMode(page), r.mode);
        EXPECT_EQ(page.sliderBrightness()->value(), r.brightness);
        EXPECT_EQ(page.brightnessValueLabel()->text(), QString::number(r.brightness));
        EXPECT_EQ(page.sliderSpeed()->value(), r.speed);
        EXPECT_EQ(page.speedValueLabel()->text(), QString::number(r.speed));
        EXPECT_EQ(page.currentImageView()->x(), r.marker);
        EXPECT_EQ(page.sliderSpeed()->isEnabled(), r.speedOn);
        EXPECT_EQ(page.sliderSpeed()->sliderKnobColor(), r.speedOn ? QColor(190, 195, 68) : QColor(112, 112, 112));
        EXPECT_EQ(page.sliderSpeed()->sliderBackgroundColor(), r.speedOn ? QColor(0, 175, 204) : QColor(112, 112, 112));
        EXPECT_EQ(!page.colorfulImageView()->isHidden(), r.speedOn);
        EXPECT_EQ(image(page.leftBehaviorBtn()), r.left ? "6_radio_sel" : "6_radio_nor");
        EXPECT_EQ(image(page.rightBehaviorBtn()), r.left ? "6_radio_nor" : "6_radio_sel");
    }
    w.world.scheduler.advance(2000);
    EXPECT_TRUE(w.calls().isEmpty());
}

TEST(Pgs3Lighting, ClicksSendWhatTheDeviceIsToApplyAndChangeNothingOnScreen)
{
    LightingWorld w({72, 1, 50, 3, 3, 0});
    PreferencesViewController &page = w.load();
    page.modeBtnArr()[1]->click();
    EXPECT_EQ(selectedMode(page), 1);
    page.modeBtnArr()[2]->click();
    EXPECT_EQ(selectedMode(page), 1);
    page.colorBtnArr()[2]->click(); // the reported colour
    page.colorBtnArr()[4]->click();
    page.leftBehaviorBtn()->click();
    page.rightBehaviorBtn()->click(); // already selected: sent all the same
    EXPECT_EQ(w.calls(),
              QStringList({"sendSetLightingEffectsModeData(1)", "sendSetLightingEffectsModeData(2)",
                           "sendSetLightingEffectsColorData(5)", "sendSetMouseLeftOrRightHandBehaviorData(1)",
                           "sendSetMouseLeftOrRightHandBehaviorData(0)"}));
    EXPECT_EQ(image(page.rightBehaviorBtn()), "6_radio_sel");
}

TEST(Pgs3Lighting, EachSliderSendsTheValueItRestsAtHalfASecondLater)
{
    LightingWorld w({72, 2, 10, 1, 1, 0});
    PreferencesViewController &page = w.load();
    ManualScheduler &clock = w.world.scheduler;
    QStringList labels;
    for (int v : {11, 20, 35, 60}) {
        page.sliderBrightness()->setValue(v);
        labels << page.brightnessValueLabel()->text();
        clock.advance(100);
    }
    EXPECT_EQ(labels, QStringList({"11", "20", "35", "60"}));
    clock.advance(399); // t = 0.799
    EXPECT_TRUE(w.calls().isEmpty());
    clock.advance(1);
    EXPECT_EQ(w.calls(), QStringList{"sendSetLightingEffectsBrightnessData(60)"});

    // The two sliders keep their own pending sends.
    page.sliderSpeed()->setValue(2);
    clock.advance(200);
    page.sliderBrightness()->setValue(50);
    clock.advance(300);
    EXPECT_EQ(w.calls(), QStringList{"sendSetLightingEffectsSpeedData(2)"});
    clock.advance(200);
    EXPECT_EQ(w.calls(), QStringList{"sendSetLightingEffectsBrightnessData(50)"});

    // Back on the reported value: the label stays, and the earlier send still goes out.
    page.sliderBrightness()->setValue(20);
    clock.advance(200);
    page.sliderBrightness()->setValue(10);
    EXPECT_EQ(page.brightnessValueLabel()->text(), "20");
    clock.advance(300);
    EXPECT_EQ(w.calls(), QStringList{"sendSetLightingEffectsBrightnessData(20)"});
}

// The page over the real command road: what it sends is the device's lighting frame,
// and the device's lighting replies redraw it.
TEST(Pgs3LightingConversation, APageChangeReachesTheDeviceAndItsReplyRedrawsThePage)
{
    LightingWorld w({72, 2, 10, 3, 5, 0});
    FakeNeighbours &fakes = w.world.neighbours;
    RecordingHidSink sink;
    QXHidCommandManager hid{fakes.seams()};
    QXBLEMouseCommandManager ble{nullptr, nullptr, fakes.seams()};
    QXMouseCommandManager facade{hid, ble};
    QXHidReportParser parser{hid, &facade};
    HidLightingReplyHandler lighting{parser};
    ScopedInstall<QXHidCommandManager> installedHid{&hid};
    ScopedInstall<QXMouseCommandManager> installedFacade{&facade};
    hid.setHidSink(&sink);
    QXHidReportParser::Deps deps;
    deps.cancelPeripheralConnection = [] {};
    deps.startScan = [] {};
    deps.currentIds = [] { return std::pair<quint16, quint16>{0x3151, 0x22AB}; };
    parser.setDeps(deps);
    parser.setLightingReplyHandler(&lighting);
    w.world.state().setChipPlan(2);
    w.item.setdeviceType(1);
    w.world.state().setMouseIsConnect(true);

    const PageContext c = w.world.context();
    PreferencesViewController &page = w.load(PageContext{c.state,
                                                         c.store,
                                                         c.languages,
                                                         c.notifications,
                                                         c.scheduler,
                                                         facade,
                                                         c.hidCommands,
                                                         c.firmware,
                                                         c.receiver,
                                                         c.api,
                                                         c.images,
                                                         c.aiWindow,
                                                         c.translate,
                                                         c.tips,
                                                         c.alerts,
                                                         c.errorAlert,
                                                         c.permissionsWindow,
                                                         c.shell,
                                                         c.startAtLogin,
                                                         c.shortcuts,
                                                         c.workspace,
                                                         c.commands,
                                                         c.commandDialogs,
                                                         c.files,
                                                         c.accountHeaders,
                                                         c.hotWords,
                                                         c.makeTransferAudioView});
    page.sliderBrightness()->setValue(60);
    page.modeBtnArr()[3]->click();
    w.world.scheduler.advance(1000);
    QList<sim::DecodedFrame> heard;
    for (const QByteArray &report : std::exchange(sink.reports, {}))
        if (auto frame = sim::FrameDecoder::decodeHid(2, report))
            heard << *frame;
    EXPECT_EQ(heard, QList<sim::DecodedFrame>(
                         {{"sendSetLightingEffectsModeData", {3}}, {"sendSetLightingEffectsBrightnessData", {60}}}));

    // The device reports mode 3 and brightness 60 back.
    parser.eventTypeConvertDataToHexStr(RecordingHidSink::R(64, "0d5a4d830103"), [](int, int) {});
    parser.eventTypeConvertDataToHexStr(RecordingHidSink::R(64, "0d5a4d85013c"), [](int, int) {});
    EXPECT_EQ(selectedMode(page), 3);
    EXPECT_EQ(page.sliderBrightness()->value(), 60);
    EXPECT_EQ(page.brightnessValueLabel()->text(), "60");
    w.world.scheduler.advance(1000);
    hid.invalidateTimer();
    hid.invalidateCheckVoiceTimer();
}
