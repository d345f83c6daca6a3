// The speech pop-up and the tips over the offscreen platform and virtual time.
#include "PZLog.h"
#include "PopupWorld.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "popup/PopupGeometry.h"
#include "popup/QXShowTipContentView.h"
#include "popup/QXShowTipWindow.h"
#include "popup/VoiceArtwork.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using namespace popupgeometry;

namespace {
QString chars(int n, char c = 'x')
{
    return QString(n, QLatin1Char(c));
}

// The animation shows exactly the named frames, in order.
void expectFrames(NSAnimateImageView *view, const QStringList &names)
{
    const QList<QPixmap> shown = view->images();
    ASSERT_EQ(shown.size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(shown[i].toImage(), voiceartwork::pixmaps({names[i]}).first().toImage()) << qPrintable(names[i]);
}
} // namespace

TEST(Vox3Popup, FramesFollowTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    EXPECT_EQ(popupFrame(screen, 140), QRect(1580, 840, 320, 140));
    EXPECT_EQ(tipFrame(screen), QRect(885, 800, 150, 180));
    // A screen beside the origin, and none at all.
    EXPECT_EQ(popupFrame(QRect(1920, 200, 1280, 1024), 290), QRect(2860, 834, 320, 290));
    EXPECT_EQ(popupFrame(QRect(), 140), QRect(-340, -240, 320, 140));
    EXPECT_EQ(tipFrame(QRect()), QRect(-75, -280, 150, 180));
    // A tip grown for its text: centred, and never past a screen's edges.
    EXPECT_EQ(tipFrame(screen, QSize(300, 196)), QRect(810, 784, 300, 196));
    EXPECT_EQ(tipFrame(QRect(0, 0, 200, 250), QSize(300, 196)), QRect(0, 0, 200, 196));
}

// English texts: the tip shows all of its text (on two lines when it is long) inside
// the screen, and the source text keeps clear of the pop-up's close button.
TEST(Vox3Popup, TextsAreShownWholeAndClearOfTheCloseButton)
{
    PopupWorld w;
    QXShowTipWindow &tip = w.tool.tipWindow();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const char *text :
         {"No device connected", "Switched to translation mode: select text to translate it", "切换到翻译模式"}) {
        w.tool.showTipMessage(QString::fromUtf8(text), QStringLiteral("laserPen_icon-7"));
        const QXLabel *label = tip.tipContentView()->tipTextField();
        // Where the label draws its lines, and what they take there.
        const QRectF drawn = label->textRect();
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, int(drawn.width()), 1000),
                                                               Qt::AlignHCenter | Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), drawn.width()) << text;
        EXPECT_GE(drawn.top(), 0) << text;
        EXPECT_LE(drawn.top() + needed.height(), label->height()) << text;
        EXPECT_TRUE(screen.contains(tip.geometry())) << text;
        EXPECT_TRUE(tip.rect().contains(label->geometry())) << text;
    }
    w.tool.showSpeechView(QStringLiteral("hello world, this line is long enough to reach the corner"), 33);
    const auto *text = w.content().fanWordView()->findChild<QScrollArea *>();
    const QRect textRect(text->mapTo(&w.popup(), QPoint()), text->size());
    const QRect close(w.popup().closeBtn()->mapTo(&w.popup(), QPoint()), w.popup().closeBtn()->size());
    EXPECT_FALSE(textRect.intersects(close)) << textRect.x() << "+" << textRect.width() << " vs " << close.x();
}

TEST(Vox3Popup, HeightFollowsTheTexts)
{
    const struct {
        int source, translation, card, window;
        const char *what;
    } rows[] = {
        // clang-format off
        {30, 0, 80, 140, "one line: the window's smallest height"},
        {150, 0, 200, 240, "the card grows with the text"},
        {250, 0, 250, 290, "past 200 the card stops at 250"},
        {100000, 0, 250, 290, "100 KB of text: still 250"},
        {30, 60, 80, 245, "a translation adds its card and 15"},
        // clang-format on
    };
    for (const auto &row : rows) {
        PopupWorld w;
        w.keys.setHadStart(true);
        w.tool.showSpeechView(chars(row.source), 37);
        if (row.translation)
            w.tool.showYiText(chars(row.translation, 'y'));
        EXPECT_EQ(w.content().fanWordViewHeight(), row.card) << row.what;
        EXPECT_EQ(w.height(), row.window) << row.what;
        EXPECT_EQ(w.popup().geometry().bottom() + 1, QGuiApplication::primaryScreen()->geometry().bottom() + 1 - 100)
            << row.what;
        // A capped card scrolls to the newest words.
        QScrollArea *scroll = w.content().fanWordView()->scrollView();
        EXPECT_EQ(scroll->height(), std::min(row.source, 200)) << row.what;
        EXPECT_EQ(scroll->verticalScrollBar()->value(), std::max(0, row.source - 200)) << row.what;
    }
    // A text whose measurement is not a number, or negative: the smallest card and window.
    for (const char *text : {"NaN", "-broken"}) {
        PopupWorld w;
        w.tool.showSpeechView(QString::fromLatin1(text), 33);
        EXPECT_EQ(w.content().fanWordViewHeight(), 50) << text;
        EXPECT_EQ(w.height(), 140) << text;
    }
}

// A delay that is not a number or negative closes at once; a huge one is held, not
// turned into a negative one that closes at once.
TEST(Vox3Popup, DismissDelaysThatAreNotNumbersOrOutOfRange)
{
    const struct {
        double seconds;
        int openFor; // ms
    } rows[] = {{std::nan(""), 0}, {-3, 0}, {0.3, 300}, {1e12, 10000}};
    for (const auto &row : rows) {
        PopupWorld w;
        w.tool.showSpeechView(QStringLiteral("x"), 33);
        w.tool.dismissSpeechView(row.seconds);
        QCoreApplication::processEvents();
        if (row.openFor > 0) {
            w.clock.advance(row.openFor - 1);
            EXPECT_TRUE(w.tool.isShow()) << row.seconds;
        }
        if (row.openFor < 10000) {
            w.clock.advance(1);
            EXPECT_FALSE(w.tool.isShow()) << row.seconds;
        }
    }
}

TEST(Vox3Popup, RepeatShowKeepsTranslationAndTranslationNeedsARunningTranslation)
{
    PopupWorld w;
    w.keys.setHadStart(true);
    w.tool.showSpeechView(chars(30), 37);
    w.tool.showYiText(chars(60, 'y'));
    ASSERT_EQ(w.height(), 245);
    w.tool.showSpeechView(chars(40), 37);
    EXPECT_EQ(w.popup().yiText(), chars(60, 'y'));
    EXPECT_EQ(w.height(), 255);
    // Null and empty texts make nothing grow.
    w.tool.showSpeechView(QString(), 37);
    w.tool.showSpeechView(QStringLiteral(""), 37);
    EXPECT_EQ(w.height(), 255);

    w.tool.showSpeechView(chars(30), 33);
    w.tool.showYiText(QStringLiteral("ignored while typing"));
    w.keys.setHadStart(false);
    w.tool.showSpeechView(chars(30), 37);
    w.tool.showYiText(QStringLiteral("ignored with no recognition"));
    EXPECT_EQ(w.popup().yiText(), chars(60, 'y'));
}

TEST(Vox3Popup, NoPopupWhereTheAiWindowTakesTheVoice)
{
    const struct {
        const char *product;
        quint64 keyAction;
        bool shown;
    } rows[] = {{"41", 18, false}, {"209", 18, false}, {"285", 18, false},
                {"41", 0, true},   {"100", 18, true},  {"", 18, true}};
    for (const auto &row : rows) {
        PopupWorld w;
        w.state->setProductCode(QString::fromLatin1(row.product));
        w.state->setKeyAction(row.keyAction);
        w.tool.showSpeechView(QStringLiteral("hello"), 33);
        EXPECT_EQ(w.tool.isShow(), row.shown) << row.product << " " << row.keyAction;
        EXPECT_EQ(w.popup().isVisible(), row.shown) << row.product << " " << row.keyAction;
    }
}

TEST(Vox3Popup, AnimationPlaysTheTypeThenTheListeningLoopAndRestsWhileHidden)
{
    PopupWorld w;
    NSAnimateImageView *image = w.content().typeImageView();
    w.tool.showSpeechView(QStringLiteral("hi"), 35);
    w.clock.advance(600);
    ASSERT_TRUE(image->isAnimating());
    w.tool.dismissSpeechView();
    // Hidden: no frame timer wakes the application.
    EXPECT_FALSE(image->isAnimating());
    w.clock.advance(600);
    EXPECT_FALSE(image->isAnimating());
    EXPECT_EQ(w.clock.pendingCount(), 0);

    w.tool.showSpeechView(QStringLiteral("hi"), 33);
    expectFrames(image, voiceartwork::typeFrameNames(33));
    EXPECT_EQ(image->images().size(), 13);
    EXPECT_TRUE(image->isAnimating());
    w.clock.advance(500);
    expectFrames(image, voiceartwork::startFrameNames());
    // The same type again restarts nothing.
    w.tool.showSpeechView(QStringLiteral("hi there"), 33);
    EXPECT_EQ(image->images().size(), 39);

    // An unknown type: no frames of its own, then the listening loop.
    w.tool.dismissSpeechView();
    w.clock.advance(600);
    w.tool.showSpeechView(QStringLiteral("hi"), 34);
    EXPECT_TRUE(image->images().isEmpty());
    w.clock.advance(500);
    EXPECT_EQ(image->images().size(), 39);
}

TEST(Vox3Popup, DismissAndCloseButtonResetTheSession)
{
    PopupWorld w;
    w.keys.setHadStart(true);
    w.keys.setLastPressType(5);
    w.tool.showSpeechView(QStringLiteral("hello"), 37);
    w.tool.showYiText(QStringLiteral("你好"));
    w.log.clear();
    QTest::mouseClick(w.popup().closeBtn(), Qt::LeftButton);
    EXPECT_EQ(w.log.calls, QStringList({"cancelAsr"}));
    EXPECT_EQ(w.keys.lastPressType(), 0);
    EXPECT_FALSE(w.tool.isShow());
    EXPECT_FALSE(w.popup().isVisible());
    EXPECT_EQ(w.popup().fanText(), QString());
    EXPECT_EQ(w.popup().yiText(), QString());
    EXPECT_EQ(w.content().pressType(), 0);
    EXPECT_FALSE(w.content().yiWordView()->isVisibleTo(&w.popup()));

    // A reopened pop-up starts from the smallest height.
    w.tool.showSpeechView(chars(30), 33);
    EXPECT_EQ(w.height(), 140);
}

TEST(Vox3Popup, TipsReplaceEachOtherAndCloseTwoSecondsAfterTheLast)
{
    PopupWorld w;
    QWidget main;
    w.mainWindow = &main;
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    w.tool.showTipMessage(QStringLiteral("切换到翻译模式"), QStringLiteral("laserPen_icon-7"));
    QXShowTipWindow &tip = w.tool.tipWindow();
    EXPECT_TRUE(tip.isVisible());
    EXPECT_FALSE(main.isVisible()) << "a tip hides the active main window";
    EXPECT_FALSE(tip.tipContentView()->statusImageView()->pixmap().isNull());
    w.clock.advance(1500);
    w.tool.showTipMessage(QStringLiteral("当前音量 60"), QStringLiteral("no_such_picture"));
    EXPECT_EQ(tip.tipContentView()->tipTextField()->text(), QStringLiteral("当前音量 60"));
    // A missing picture: the text alone, the name logged once.
    EXPECT_TRUE(tip.tipContentView()->statusImageView()->pixmap().isNull());
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("namedImage:no_such_picture")));
    w.clock.advance(1999);
    EXPECT_TRUE(tip.isVisible());
    w.clock.advance(1);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.tipContentView()->tipTextField()->text(), QString());
}

TEST(Vox3Popup, CallsFromOtherThreadsAndDelayedDismissGoThroughTheMainLoop)
{
    PopupWorld w;
    std::thread worker([&] {
        w.tool.showSpeechView(QStringLiteral("from a worker"), 33);
        w.tool.showTipMessage(QStringLiteral("tip"), QStringLiteral("info_icon"));
    });
    worker.join();
    EXPECT_FALSE(w.tool.isShow());
    QTRY_VERIFY(w.tool.isShow());
    EXPECT_EQ(w.popup().fanText(), QStringLiteral("from a worker"));
    QTRY_VERIFY(w.tool.tipWindow().isVisible());

    w.tool.dismissSpeechView(0.3);
    w.clock.advance(300);
    EXPECT_TRUE(w.tool.isShow()) << "the delay starts on the main loop";
    QCoreApplication::processEvents();
    w.clock.advance(299);
    EXPECT_TRUE(w.tool.isShow());
    w.clock.advance(1);
    EXPECT_FALSE(w.tool.isShow());
}
