// The pointer settings page over the real pointer manager on an in-memory store.
#include "LaserPenPainting.h"
#include "LaserPenPreviewView.h"
#include "LaserPenSettingViewController.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "Ptr1World.h"
#include "controls/QXButton.h"
#include "controls/QXSliderCell.h"

#include <QLineEdit>
#include <QTest>
#include <QThread>

namespace {

class Ptr3Page : public ::testing::Test, protected Ptr1World {
protected:
    std::unique_ptr<LaserPenSettingViewController> page;
    LaserPenSettingViewController &open()
    {
        if (!pen)
            make();
        page = std::make_unique<LaserPenSettingViewController>(
            LaserPenSettingViewController::Deps{pen.get(), &st(), &NotificationCenter::defaultCenter(), &tips});
        page->view()->resize(880, 720);
        return *page;
    }
    static bool selected(QXButton *b) { return LaserPenSettingViewController::imageName(b) == "6_radio_sel"; }
    QRect row(QWidget *w) const { return w->isVisibleTo(page->previewBottomView()) ? w->geometry() : QRect(); }
};

TEST_F(Ptr3Page, FiguresAtAThirdOfTheScreen)
{
    const QSizeF view(340, 200);
    EXPECT_EQ(laserpen::previewFigureRect(1, 300, view), QRectF(120, 50, 100, 100));
    EXPECT_EQ(laserpen::previewFigureRect(1, 600, view), QRectF(70, 0, 200, 200));
    EXPECT_EQ(laserpen::previewFigureRect(2, 20, view), QRectF(170 - 10 / 3.0, 100 - 10 / 3.0, 20 / 3.0, 20 / 3.0));
    EXPECT_EQ(laserpen::previewFigureRect(3, 300, view), QRectF(120, 50, 100, 100));
    EXPECT_EQ(laserpen::previewFigureRect(4, 10, view), QRectF(120, 95, 100, 10));
    EXPECT_EQ(laserpen::previewFigureRect(4, 40, view), QRectF(120, 80, 100, 40));
    EXPECT_TRUE(laserpen::previewFigureRect(5, 40, view).isEmpty());
}

TEST_F(Ptr3Page, EachPreviewHasItsBarRowsAndRanges)
{
    LaserPenSettingViewController &p = open();
    struct Row {
        int radio, barHeight, zoomY; // zoomY: the size row's place in the bar
        bool brightness, colour;
        double min, max, value;
    };
    const Row rows[] = {{2, 40, 5, false, false, 200, 600, 300}, // the loupe: one row, centred
                        {3, 60, 0, false, true, 1, 40, 10},
                        {0, 60, 30, true, false, 200, 600, 300},
                        {1, 60, 0, false, true, 20, 100, 20}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.radio);
        p.functionBtnArr()[r.radio]->click();
        EXPECT_EQ(pen->previewIndex(), r.radio + 1);
        EXPECT_EQ(p.previewBottomView()->height(), r.barHeight);
        EXPECT_EQ(p.zoomView()->y(), r.zoomY);
        EXPECT_EQ(row(p.brightnessView()).isNull(), !r.brightness);
        EXPECT_EQ(row(p.colorView()).isNull(), !r.colour);
        EXPECT_EQ(p.zoomSlider()->minimum(), r.min * 1000);
        EXPECT_EQ(p.zoomSlider()->maximum(), r.max * 1000);
        EXPECT_EQ(p.zoomSlider()->value(), r.value * 1000);
        EXPECT_EQ(p.previewView()->figureIndex(), r.radio + 1);
    }
    EXPECT_EQ(p.colorBtnView()->layerStyle().backgroundColor, QColor(Qt::red));
}

TEST_F(Ptr3Page, SlidersAndColoursWriteThroughToTheirFunctionOnly)
{
    LaserPenSettingViewController &p = open();
    p.functionBtnArr()[3]->click();
    p.zoomSlider()->setValue(25000);
    EXPECT_EQ(store.value("drawWidthKey").toDouble(), 25);
    EXPECT_EQ(p.previewView()->figureRect().height(), 25);
    p.functionBtnArr()[0]->click();
    p.brightnessSlider()->setValue(300);
    EXPECT_DOUBLE_EQ(pen->highlightedMaskAlpha(), 0.3);
    store.resetCounts();
    p.changeColor(Qt::green); // highlight and loupe have no colour
    p.functionBtnArr()[2]->click();
    p.alphaSliderChangeValue();
    p.changeColor(Qt::green);
    EXPECT_EQ(store.totalWrites(), 1); // the previewed function only
    p.functionBtnArr()[1]->click();
    p.showColorPanel();
    ASSERT_TRUE(p.colorPanel());
    EXPECT_FALSE(p.colorPanel()->isModal());
    p.colorPanel()->setCurrentColor(QColor(0, 0, 255, 128));
    EXPECT_EQ(store.stringValue("digitalLightSpotColorKey"), "#800000FF");
    EXPECT_EQ(p.previewView()->figureColor(), QColor(0, 0, 255, 128));
}

TEST_F(Ptr3Page, LoadSelectsThePreviewAndSwitchesDisableTheirRadio)
{
    for (int index : {-1, 0, 5, -7}) {
        store.setValue("previewIndexKey", index);
        make();
        open();
        // Nothing stored to preview: the first function switched on is previewed.
        for (QXButton *radio : page->functionBtnArr())
            EXPECT_EQ(selected(radio), radio == page->functionBtnArr()[0]) << index;
        EXPECT_EQ(page->previewBottomView()->height(), 60);
    }
    page->functionBtnArr()[1]->click();
    EXPECT_EQ(store.intValue("previewIndexKey"), 2);
    page->functionSwitches()[0]->click();
    EXPECT_FALSE(store.boolValue("laserPenHighlightedSwitchKey"));
    EXPECT_FALSE(page->functionBtnArr()[0]->isEnabled());
    EXPECT_EQ(pen->previewIndex(), 2);

    // Restarted on the highlight with its switch off: selected and enabled again; a
    // stored size past the slider's range is shown at its end and not rewritten.
    store.setValue("previewIndexKey", 1);
    store.setValue("highlightedCircleWKey", 900);
    make();
    store.resetCounts();
    LaserPenSettingViewController &p = open();
    EXPECT_TRUE(selected(p.functionBtnArr()[0]));
    EXPECT_TRUE(p.functionBtnArr()[0]->isEnabled());
    EXPECT_EQ(p.zoomSlider()->value(), 600000);
    EXPECT_EQ(store.totalWrites(), 0);
    EXPECT_EQ(LaserPenSettingViewController::imageName(p.functionSwitches()[0]), "2_switch_off_icon");
}

class FinPointerPage : public Ptr3Page {};

// A fresh installation: the page opens on the first function's preview, which the
// user's controls act on, but the choice is stored only when the user makes it.
TEST_F(FinPointerPage, OpeningStoresNoPreviewUntilTheUserPicks)
{
    LaserPenSettingViewController &p = open();
    EXPECT_TRUE(selected(p.functionBtnArr()[0]));
    p.brightnessSlider()->setValue(300);
    EXPECT_DOUBLE_EQ(pen->highlightedMaskAlpha(), 0.3);
    EXPECT_FALSE(store.contains("previewIndexKey"));
    p.functionBtnArr()[2]->click();
    EXPECT_EQ(store.intValue("previewIndexKey"), 3);
}

TEST_F(Ptr3Page, VoiceKeyCycleWithTipsFromAnyThreadAndAnyStoredIndex)
{
    st().setLaserPenVoiceFunctionIndex(3);
    LaserPenSettingViewController &p = open();
    take();
    const QString name = QString::fromLatin1(qx::notify::kLaserPenVoiceKeyDoubleClickedNSNotification);
    const QStringList tipsInOrder{tip("切换到麦克风模式", "laserPen_icon-6"), tip("切换到打字模式", "laserPen_icon-6"),
                                  tip("切换到翻译模式", "laserPen_icon-7"), tip("切换到搜索模式", "laserPen_icon-8")};
    for (int next : {0, 1, 2, 3}) {
        NotificationCenter::defaultCenter().post(name);
        EXPECT_EQ(st().laserPenVoiceFunctionIndex(), next);
        EXPECT_TRUE(selected(p.voicefunctionBtnArr()[next]));
        EXPECT_EQ(take(), QStringList{tipsInOrder[next]});
    }
    // A corrupt stored index: nothing selected at load, and the cycle starts at 0.
    st().setLaserPenVoiceFunctionIndex(-5);
    open();
    for (QXButton *radio : page->voicefunctionBtnArr())
        EXPECT_FALSE(selected(radio));
    // Posted from a worker thread: handled on this one.
    QThread *handledOn = nullptr;
    NotificationCenter::defaultCenter().addObserver(name, page.get(),
                                                    [&](const QVariant &) { handledOn = QThread::currentThread(); });
    std::unique_ptr<QThread> worker(QThread::create([&] { NotificationCenter::defaultCenter().post(name); }));
    worker->start();
    worker->wait();
    EXPECT_TRUE(QTest::qWaitFor([&] { return handledOn != nullptr; }, 2000));
    EXPECT_EQ(handledOn, QThread::currentThread());
    EXPECT_EQ(st().laserPenVoiceFunctionIndex(), 0);
}

TEST_F(Ptr3Page, CustomMinutesAndTheLengthRadios)
{
    store.setValue("warningTimeIndexKey", 3);
    store.setValue("warningTimeKey", 7);
    LaserPenSettingViewController &p = open();
    EXPECT_TRUE(selected(p.countDownBtnArr()[3]));
    EXPECT_EQ(p.otherCountDownTextField()->text(), "7");
    QLineEdit *field = p.otherCountDownTextField();
    field->clear();
    struct Typed {
        const char *keys;
        QString shown;
        int minutes;
    };
    const Typed typed[] = {{"1", "1", 1}, {"2", "12", 12}, {"abc", "12", 12}};
    for (const Typed &t : typed) {
        QTest::keyClicks(field, QString::fromLatin1(t.keys));
        EXPECT_EQ(field->text(), t.shown);
        EXPECT_EQ(pen->warningTime(), t.minutes);
    }
    // Cleared, then each pasted: a lone sign is refused, a signed number is kept as it is.
    for (const auto &[text, minutes] : {std::pair{"", 0}, {"-", 0}, {"-5", -5}, {"999999", 999999}}) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        field->insert(QString::fromLatin1(text));
        EXPECT_EQ(pen->warningTime(), minutes) << text;
    }
    EXPECT_EQ(pen->warningTimeIndex(), 3);
    p.countDownBtnArr()[1]->click();
    EXPECT_EQ(pen->warningTimeIndex(), 1);
    EXPECT_EQ(pen->warningTime(), 999999);

    store.setValue("warningTimeIndexKey", 9);
    make();
    open();
    for (QXButton *radio : page->countDownBtnArr())
        EXPECT_FALSE(selected(radio));
    EXPECT_EQ(page->otherCountDownTextField()->text(), "");
}

TEST_F(Ptr3Page, CountdownSwitchHandsTheManagerItsEnd)
{
    LaserPenSettingViewController &p = open();
    QXButton *sw = p.countDownSwitchBtn();
    EXPECT_EQ(LaserPenSettingViewController::imageName(sw), "2_switch_off_icon");
    sw->click();
    EXPECT_TRUE(pen->laserPenCountdownSwitch());
    EXPECT_TRUE(pen->hasCountDownBlock());
    pen->setWarningTimeIndex(3);
    pen->setWarningTime(0);
    pen->enterBlackScreen(); // ends at once: the block turns the switch off
    EXPECT_FALSE(pen->laserPenCountdownSwitch());
    EXPECT_EQ(LaserPenSettingViewController::imageName(sw), "2_switch_off_icon");

    sw->click();
    pen->setWarningTimeIndex(0);
    pen->enterBlackScreen();
    sent();
    sw->click(); // off while the black screen counts: window down, timer stopped
    EXPECT_FALSE(effects.black);
    sched.advance(5000);
    EXPECT_TRUE(sent().isEmpty());
}

} // namespace
