// The presentation countdown, the black screen and the overlays' geometry.
#include "LaserPenPainting.h"
#include "PZString.h"
#include "Ptr1World.h"
#include "QXLanguageManager.h"

#include <QImage>
#include <QPainter>

namespace {

class Ptr1Countdown : public ::testing::Test, protected Ptr1World {
protected:
    static QString label(qint64 s) { return pz::secondToStr(s, hrvAppLocalizedString); }
    static QByteArray frame(const char *seconds) { return R(64, QByteArray("0c4d06ff").append(seconds).append("4c")); }
};

TEST_F(Ptr1Countdown, LengthsFirstFramesAndTheEnd)
{
    struct Row {
        int index, custom;
        const char *firstLabel;
        const char *firstSeconds;
        int ticks; // device commands, the last with 0
    };
    const Row rows[] = {
        {0, 0, "15分", "0384", 901},      {1, 0, "30分", "0708", 1801},
        {2, 0, "1小时0分", "0e10", 3601}, {3, 2, "2分", "0078", 121},
        {3, 0, "0秒", "0000", 1},         {3, -1, "0秒", "0000", 1}, // a negative length ends at once
        {9, 0, "15分", "0384", 901},                                 // an index outside the table counts as 15 minutes
        {3, 100000, nullptr, "ffff", 0},                             // past the 16-bit field: the largest value
    };
    QXLaserPenManager &m = make();
    for (const Row &r : rows) {
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(r.index).arg(r.custom).toStdString());
        m.setWarningTimeIndex(r.index);
        m.setWarningTime(r.custom);
        sent();
        int ended = 0;
        m.showCountDownWarningCallBack([&] { ++ended; });
        const QList<QByteArray> first = sent();
        ASSERT_EQ(first.size(), 1);
        EXPECT_EQ(first[0], frame(r.firstSeconds));
        if (r.firstLabel) {
            EXPECT_EQ(effects.blackText, QString::fromUtf8(r.firstLabel));
        }
        if (r.ticks == 0) {
            m.hideCountDownWarning();
            continue;
        }
        sched.advance(qint64(r.ticks) * 1000 + 5000);
        EXPECT_EQ(1 + sent().size(), r.ticks);
        EXPECT_EQ(ended, 1);
        EXPECT_FALSE(effects.black);
        EXPECT_FALSE(m.isCountingDown());
    }
}

TEST_F(Ptr1Countdown, TicksHideAndRestart)
{
    QXLaserPenManager &m = make();
    sent();
    int ended = 0;
    m.showCountDownWarningCallBack([&] { ++ended; });
    sched.advance(1000);
    EXPECT_EQ(effects.blackText, label(899)); // "14分59秒"
    EXPECT_EQ(sent(), (QList<QByteArray>{frame("0384"), frame("0383")}));
    // Hidden at the tenth tick: no more commands and no block; a new start is full length.
    sched.advance(8000);
    m.hideCountDownWarning();
    sent();
    sched.advance(10000);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(effects.black);
    m.showCountDownWarningCallBack([&] { ++ended; });
    sched.advance(3000);
    m.showCountDownWarningCallBack([&] { ++ended; });
    EXPECT_EQ(effects.blackText, label(900));
    EXPECT_EQ(ended, 0);
}

TEST_F(Ptr1Countdown, BlackScreenWithAndWithoutTheCountdown)
{
    QXLaserPenManager &m = make();
    sent();
    m.enterBlackScreen();
    EXPECT_TRUE(m.isBlackScreen());
    EXPECT_TRUE(effects.black);
    EXPECT_EQ(effects.blackText, "");
    EXPECT_FALSE(m.isCountingDown());
    EXPECT_TRUE(sent().isEmpty());
    m.quitBlackScreen();
    EXPECT_FALSE(m.isBlackScreen());
    EXPECT_FALSE(effects.black);

    m.setLaserPenCountdownSwitch(true);
    m.enterBlackScreen();
    EXPECT_TRUE(m.isCountingDown());
    EXPECT_EQ(effects.blackText, label(900));
    EXPECT_EQ(sent().size(), 1);
    m.quitBlackScreen();
    EXPECT_FALSE(m.isCountingDown());
}

TEST(Ptr1Geometry, HoleSpotAndLabel)
{
    // The pointer at (700, 400) of a 1440 x 900 screen.
    EXPECT_EQ(laserpen::highlightHole({700, 400}, 300), QRectF(550, 250, 300, 300));
    EXPECT_EQ(laserpen::spotRect({700, 400}, 20), QRectF(690, 390, 20, 20));
    EXPECT_EQ(laserpen::countdownLabelRect({1440, 900}), QRectF(420, 340, 600, 200));
}

// 14:59 in every interface language on a 1024-wide screen leaves both edges black
// (the Vietnamese "14 phút 59 giây" at the full size runs off both).
TEST(ReadCountdown, EveryLanguageStaysOnTheScreen)
{
    QImage black(8, 640, QImage::Format_RGB32);
    black.fill(Qt::black);
    for (quint64 language = 0; language < QXLanguageManager::kUiLanguageCount; ++language) {
        QImage screen(1024, 640, QImage::Format_RGB32);
        QPainter p(&screen);
        laserpen::paintBlackScreen(p, screen.rect(), pz::secondToStr(899, [language](const QString &key) {
                                       return HRVLocalizedString::localizedString(key, language);
                                   }));
        p.end();
        EXPECT_EQ(screen.copy(0, 0, 8, 640), black) << language;
        EXPECT_EQ(screen.copy(1016, 0, 8, 640), black) << language;
    }
}

} // namespace
