#pragma once

#include "Scheduler.h"
#include "services/IImageLoader.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <memory>

// Plays an animated GIF: each frame centred in the view at its own size, or scaled
// down to fit. A still image shows nothing and starts no timer. Frames step on the
// scheduler at the first frame's delay; a delay of 10 ms or less (common in GIFs
// meant as "as fast as possible") plays at 100 ms instead of spinning the loop.
class QXGifView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinDelayMs = 10;
    static constexpr int kFallbackDelayMs = 100;

    explicit QXGifView(QWidget *parent = nullptr);
    ~QXGifView() override;

    // Bytes of an image file. Data that does not make an image changes nothing and
    // returns false.
    bool setImage(const QByteArray &data);
    // Loads the address through the image loader and shows what comes back when it
    // is an image; a failure, a 404, a body that is not an image or no loader changes
    // nothing. A newer address replaces a load still under way.
    void setImageURL(const QString &address);
    // Whoever builds the view hands it the loader (which must outlive it).
    void setImageLoader(IImageLoader *loader) { m_loader = loader; }

    QImage image() const { return m_image; }
    int frameCount() const { return int(m_frames.size()); }
    int currentFrameIdx() const { return m_index; }
    int frameIntervalMs() const { return m_intervalMs; }
    bool isPlaying() const { return m_timer != Scheduler::kNoTimer; }
    // Where the current frame is drawn; empty when nothing plays.
    QRectF frameRect() const;

signals:
    // A load of setImageURL ended (shown or not).
    void imageURLFinished(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void stop();

    QImage m_image;
    QList<QImage> m_frames;
    int m_index = 0;
    int m_intervalMs = 0;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    IImageLoader *m_loader = nullptr;
    std::unique_ptr<IImageLoader::Load> m_load;
};
