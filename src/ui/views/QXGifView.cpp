#include "QXGifView.h"

#include "PZLog.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

QXGifView::QXGifView(QWidget *parent) : QWidget(parent) {}

QXGifView::~QXGifView()
{
    stop();
}

void QXGifView::stop()
{
    cancelTimer(Scheduler::instance(), m_timer);
}

bool QXGifView::setImage(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage first;
    if (data.isEmpty() || !reader.canRead() || !reader.read(&first) || first.isNull())
        return false;

    QList<QImage> frames;
    int firstDelay = 0;
    // imageCount() is unreliable for stills; whether the format animates is not.
    if (reader.supportsAnimation()) {
        firstDelay = reader.nextImageDelay();
        frames.append(first);
        QImage next;
        while (reader.canRead() && reader.read(&next) && !next.isNull())
            frames.append(next);
    }
    stop();
    m_image = first;
    m_frames = frames;
    m_index = 0;
    m_intervalMs = 0;
    if (!m_frames.isEmpty()) {
        // The delay read after frame 0 is frame 0's own.
        m_intervalMs = firstDelay <= kMinDelayMs ? kFallbackDelayMs : firstDelay;
        m_timer = Scheduler::instance().repeating(
            m_intervalMs,
            [this] {
                m_index = (m_index + 1) % int(m_frames.size());
                update();
            },
            this);
    }
    update();
    return true;
}

void QXGifView::setImageURL(const QString &address)
{
    const QUrl url(address);
    if (!url.isValid() || url.scheme().isEmpty()) {
        qxInfo("ui") << "not an image address:" << address;
        return;
    }
    m_load.reset(); // a newer address wins
    if (!m_loader) {
        qxLogOnce(QStringLiteral("ui.gif.noLoader"), QStringLiteral("[ui] an animated image has no image loader"));
        emit imageURLFinished(false);
        return;
    }
    m_load = m_loader->loadImage(url, [this, url](bool ok, const QByteArray &body, const QString &error) {
        const bool shown = ok && setImage(body);
        if (!shown)
            qxInfo("ui") << "no image from" << url.toString() << error;
        emit imageURLFinished(shown);
    });
}

QRectF QXGifView::frameRect() const
{
    if (m_frames.isEmpty())
        return {};
    const QSizeF image = m_frames.at(m_index % m_frames.size()).size();
    QSizeF shown = image;
    if (image.width() > width() || image.height() > height()) {
        const qreal ratio = qMax(image.width() / qMax(1, width()), image.height() / qMax(1, height()));
        shown = image / ratio;
    }
    // Centred in the view's own bounds (not its frame in the parent).
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void QXGifView::paintEvent(QPaintEvent *)
{
    if (m_frames.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(frameRect(), m_frames.at(m_index % m_frames.size()));
}
