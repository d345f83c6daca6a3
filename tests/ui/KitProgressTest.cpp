// Slider, ring, image bar, frame animation and GIF view.
#include "LocalHttpServer.h"
#include "ManualScheduler.h"
#include "QXImageLoader.h"
#include "controls/QXSliderCell.h"
#include "views/CustomProgress.h"
#include "views/NSAnimateImageView.h"
#include "views/QXGifView.h"
#include "views/RWProgressView.h"

#include <QBuffer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(QX_UI_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QByteArray pngBytes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

// The fixture with every frame's delay set to `centiseconds`.
QByteArray withDelay(QByteArray gif, int centiseconds)
{
    for (qsizetype at = gif.indexOf("\x21\xF9\x04"); at >= 0; at = gif.indexOf("\x21\xF9\x04", at + 1)) {
        gif[at + 4] = char(centiseconds & 0xFF);
        gif[at + 5] = char(centiseconds >> 8);
    }
    return gif;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(KitSlider, KnobSitsWhereTheFilledPartEndsAndThePointerMapsBack)
{
    struct Row {
        int value;
        qreal knobX;
    };
    QXSliderCell slider;
    slider.resize(200, 24);
    slider.setRange(1, 5);
    for (const Row row : {Row{1, 0}, Row{3, 89}, Row{5, 178}}) {
        SCOPED_TRACE(row.value);
        slider.setValue(row.value);
        EXPECT_DOUBLE_EQ(slider.knobRect().x(), row.knobX);
        EXPECT_DOUBLE_EQ(slider.leftBarRect().width(), row.knobX);
        EXPECT_DOUBLE_EQ(slider.knobRect().width(), 22);
    }
    // At 3: blue before the knob, grey after it, on the bar's middle line.
    slider.setValue(3);
    const QImage image = slider.grab().toImage();
    EXPECT_EQ(image.pixelColor(40, 12), QColor(0, 175, 204));
    EXPECT_EQ(image.pixelColor(150, 12), QColor(212, 212, 212));
    EXPECT_EQ(image.pixelColor(100, 12), QColor(190, 195, 68));

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(189, 12));
    EXPECT_EQ(slider.value(), 5);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(11 + 89 / 2, 12));
    EXPECT_EQ(slider.value(), 2);

    QXSliderCell empty;
    empty.resize(200, 24);
    empty.setRange(4, 4);
    EXPECT_EQ(empty.fraction(), 0);
    EXPECT_EQ(empty.knobRect().x(), 0);
}

TEST(KitRing, ProgressIsClampedAndAnimatesFromTheValueShownLast)
{
    RWProgressView ring;
    ring.resize(20, 20);
    ring.setProgressLineWidth(2);
    ring.setBackgroundLineWidth(2);
    struct Row {
        double in, out;
    };
    for (const Row row : {Row{1.5, 1}, Row{-1, 0}, Row{kNaN, 0}, Row{kInf, 1}, Row{-kInf, 0}, Row{0.75, 0.75}}) {
        ring.setProgress(row.in);
        EXPECT_EQ(ring.progress(), row.out) << row.in;
        EXPECT_EQ(ring.shownProgress(), row.out); // not animated: at once
    }
    EXPECT_EQ(ring.radius(), 8);

    ring.setProgress(0.25, true);
    const QVariantAnimation *a = ring.animation();
    EXPECT_EQ(a->startValue().toDouble(), 0.75);
    EXPECT_EQ(a->endValue().toDouble(), 0.25);
    EXPECT_EQ(a->duration(), 400);
    EXPECT_EQ(a->state(), QAbstractAnimation::Running);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->state() == QAbstractAnimation::Stopped; }));
    EXPECT_EQ(ring.shownProgress(), 0.25); // holds the end value

    RWProgressView tiny;
    tiny.resize(6, 6);
    tiny.setProgress(0.5);
    EXPECT_EQ(tiny.radius(), 0);
    EXPECT_FALSE(tiny.grab().isNull());
}

TEST(KitImageBar, FilledWidthIsValueOverMaximumAndStaysInTheBar)
{
    struct Row {
        float max;
        int value;
        int width;
    };
    const Row rows[] = {{100, 50, 100}, {100, 0, 0}, {100, 150, 200},    {100, -5, 0},
                        {0, 50, 0},     {-10, 5, 0}, {float(kNaN), 5, 0}};
    for (const Row &row : rows) {
        CustomProgress bar;
        bar.resize(200, 10);
        bar.setMaxValue(row.max);
        bar.setPresent(row.value);
        EXPECT_EQ(bar.leftImgWidth(), row.width) << row.max << " " << row.value;
        EXPECT_EQ(bar.leftimg()->width(), row.width);
    }
}

class KitFrameAnim : public ::testing::Test {
protected:
    void SetUp() override { NSAnimateImageView::resetSharedState(); }
    void TearDown() override { NSAnimateImageView::resetSharedState(); }
    static QList<QPixmap> frames(int n)
    {
        QList<QPixmap> list;
        for (int i = 0; i < n; ++i) {
            QPixmap p(4, 4);
            p.fill(QColor(i, 0, 0));
            list << p;
        }
        return list;
    }
    ManualScheduler clock;
};

TEST_F(KitFrameAnim, SharedIntervalAndFlagGovernEveryInstance)
{
    NSAnimateImageView a, b;
    a.setImages(frames(5));
    EXPECT_FLOAT_EQ(a.time(), 0.5f);
    EXPECT_FLOAT_EQ(NSAnimateImageView::sharedFrameInterval(), 0.1f);
    a.setImages(frames(10)); // time kept at 0.5
    EXPECT_FLOAT_EQ(NSAnimateImageView::sharedFrameInterval(), 0.05f);

    b.setImages(frames(2));
    a.startAnimation();
    EXPECT_TRUE(NSAnimateImageView::sharedIsAnimating());
    b.setImages(frames(7)); // dropped while A runs
    b.setTime(9);
    EXPECT_EQ(b.images().size(), 2);
    EXPECT_NE(b.time(), 9.0f);

    // Ten frames in 0.5 s step every 50 ms and loop.
    EXPECT_EQ(a.currentFrame(), 0);
    clock.advance(50 * 3);
    EXPECT_EQ(a.currentFrame(), 3);
    clock.advance(50 * 7);
    EXPECT_EQ(a.currentFrame(), 0);

    a.stopAnimation();
    EXPECT_FALSE(NSAnimateImageView::sharedIsAnimating());
    EXPECT_EQ(clock.pendingCount(), 0);
    // A hundred frames in 0.1 s would step every millisecond: 10 ms is the shortest step.
    a.setImages(frames(100));
    a.setTime(0.1f);
    a.startAnimation();
    clock.advance(9);
    EXPECT_EQ(a.currentFrame(), 0);
    clock.advance(1);
    EXPECT_EQ(a.currentFrame(), 1);
    a.stopAnimation();
    b.setImages(frames(7));
    EXPECT_EQ(b.images().size(), 7);

    // A view that goes away while it runs takes the flag with it.
    {
        NSAnimateImageView c;
        c.setImages(frames(3));
        c.startAnimation();
    }
    EXPECT_FALSE(NSAnimateImageView::sharedIsAnimating());
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST(KitGif, FramesAreCentredInTheBoundsAndScaledDownToFit)
{
    ManualScheduler clock;
    struct Row {
        const char *file;
        QRectF expected;
        int interval;
    };
    const Row rows[] = {{"two_frames_200x100_no_delay.gif", {0, 25, 100, 50}, 100}, // zero delay: 100 ms
                        {"three_frames_50x40.gif", {25, 30, 50, 40}, 200}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file);
        QWidget parent;
        QXGifView view(&parent);
        view.setGeometry(30, 40, 100, 100); // not at the parent's origin
        ASSERT_TRUE(view.setImage(fixture(row.file)));
        EXPECT_EQ(view.frameRect(), row.expected);
        EXPECT_EQ(view.frameIntervalMs(), row.interval);
        // Stepping wraps to frame 0 after the last.
        for (int i = 1; i <= view.frameCount(); ++i) {
            clock.advance(row.interval);
            EXPECT_EQ(view.currentFrameIdx(), i % view.frameCount());
        }
    }
    EXPECT_EQ(clock.pendingCount(), 0);

    // Delays of 10 ms and less play at 100 ms; longer ones as they are.
    for (const auto &[cs, ms] : {std::pair{1, 100}, std::pair{2, 20}, std::pair{0, 100}}) {
        QXGifView v;
        ASSERT_TRUE(v.setImage(withDelay(fixture("three_frames_50x40.gif"), cs)));
        EXPECT_EQ(v.frameIntervalMs(), ms) << cs;
    }

    QXGifView view;
    view.resize(100, 100);
    ASSERT_TRUE(view.setImage(fixture("three_frames_50x40.gif")));
    const QByteArray gif = fixture("three_frames_50x40.gif");
    EXPECT_FALSE(view.setImage(gif.left(20))); // corrupt: unchanged
    EXPECT_FALSE(view.setImage(QByteArray("not a gif")));
    EXPECT_EQ(view.frameCount(), 3);
    EXPECT_TRUE(view.isPlaying());
    EXPECT_TRUE(view.setImage(pngBytes({10, 10}))); // a still: nothing plays or draws
    EXPECT_EQ(view.frameCount(), 0);
    EXPECT_FALSE(view.isPlaying());
    EXPECT_TRUE(view.frameRect().isEmpty());
}

TEST(KitGif, ImageURLShowsOnlyAnImageThatArrived)
{
    ManualScheduler clock;
    LocalHttpServer server;
    ASSERT_TRUE(server.isListening());
    const QByteArray gif = fixture("three_frames_50x40.gif");
    server.setHandler([&](const HttpRequestRecord &r) {
        if (r.path == "/ok.gif")
            return HttpScriptedReply::withContentType("image/gif", gif);
        if (r.path == "/page")
            return HttpScriptedReply::html(200, "<html>not an image</html>");
        return HttpScriptedReply::html(404, "<html>missing</html>");
    });
    QNetworkAccessManager network;
    QXImageLoader loader(network);
    QXGifView view;
    view.resize(100, 100);
    view.setImageLoader(&loader);
    QSignalSpy finished(&view, &QXGifView::imageURLFinished);

    struct Row {
        const char *path;
        bool shown;
    };
    for (const Row row : {Row{"/missing.gif", false}, Row{"/page", false}, Row{"/ok.gif", true}}) {
        SCOPED_TRACE(row.path);
        finished.clear();
        view.setImageURL(server.baseUrl() + QLatin1String(row.path));
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(finished.at(0).at(0).toBool(), row.shown);
        EXPECT_EQ(server.lastRequest().header("Accept"), QByteArray("image/*"));
        EXPECT_EQ(view.frameCount(), row.shown ? 3 : 0);
    }
    // A failure after a success leaves the GIF playing.
    finished.clear();
    view.setImageURL(server.baseUrl() + QStringLiteral("/missing.gif"));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(view.frameCount(), 3);
    view.setImageURL(QStringLiteral("not an address"));
    EXPECT_EQ(view.frameCount(), 3);
    // A view nobody gave a loader reports the load as failed instead of waiting for ever.
    QXGifView bare;
    QSignalSpy bareFinished(&bare, &QXGifView::imageURLFinished);
    bare.setImageURL(server.baseUrl() + QStringLiteral("/ok.gif"));
    ASSERT_EQ(bareFinished.size(), 1);
    EXPECT_FALSE(bareFinished.at(0).at(0).toBool());
}
