#include "QXPopContentView.h"

#include "PopupGeometry.h"
#include "QXWordView.h"
#include "Scheduler.h"
#include "VoiceArtwork.h"
#include "drawing/KitAppearance.h"
#include "drawing/NamedImage.h"
#include "drawing/RoundedRegion.h"
#include "views/NSAnimateImageView.h"
#include "views/QXBaseView.h"

#include <QLabel>
#include <QPainter>

#include <cmath>

namespace {
constexpr int kCardMargin = 2;
constexpr int kWaveHeight = 35;
constexpr int kWaveOverlap = 10;        // the strip covers the source card's bottom
constexpr int kTranslationOverlap = 12; // and the translation card's top
constexpr int kTypeImageSide = 80;
constexpr qint64 kStartFrames = -1;

int px(double v)
{
    return int(std::ceil(v));
}
} // namespace

QXPopContentView::QXPopContentView(QWidget *parent) : QWidget(parent)
{
    registerVoiceArtwork();
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);

    m_fanWordView = new QXWordView(this);
    m_fanWordView->setContentBgColor(Qt::white);
    m_fanWordView->setTextColor(QColor(112, 112, 112));

    m_yiWordView = new QXWordView(this);
    m_yiWordView->setContentBgColor(qxAccentColor());
    m_yiWordView->setTextColor(Qt::white);
    // The wave strip covers the card's top: its first line starts below the strip.
    m_yiWordView->setTopInset(kTranslationOverlap);
    m_yiWordView->hide();

    m_waveView = new QXBaseView(this);
    m_waveView->setLayerBackgroundColor(Qt::white);
    m_waveImage = new QLabel(m_waveView);
    m_waveImage->setScaledContents(true);
    m_waveImage->setPixmap(namedPixmap(QStringLiteral("wave_icon")));
    m_waveView->hide();

    m_typeImageView = new NSAnimateImageView(this);
    m_typeImageView->setAttribute(Qt::WA_TransparentForMouseEvents);

    resize(popupgeometry::kPopupWidth, popupgeometry::kPopupMinHeight);
    relayout();
    setPressType(33);
}

void QXPopContentView::setFanText(const QString &text)
{
    m_fanText = text;
    m_fanWordView->setStringValue(text);
    m_fanHeight = m_fanWordView->viewHeight();
    recomputeHeight();
}

void QXPopContentView::setYiText(const QString &text)
{
    m_yiText = text;
    m_yiWordView->setStringValue(text);
    const bool shown = !text.isEmpty();
    m_yiWordView->setVisible(shown);
    m_waveView->setVisible(shown);
    m_yiHeight = m_yiWordView->viewHeight();
    recomputeHeight();
}

void QXPopContentView::recomputeHeight()
{
    m_viewHeight = popupgeometry::contentHeight(m_fanHeight, m_yiHeight, !m_yiText.isEmpty());
    relayout();
    emit viewHeightChanged();
}

void QXPopContentView::setPressType(qint64 type)
{
    if (type == m_pressType)
        return;
    m_pressType = type;
    playFrames(frames(type));
    // Every change, to idle included, ends in the listening loop; the frames are
    // swapped with the animation stopped, because a running one keeps its frames.
    Scheduler::instance().singleShot(
        kFrameStepDelayMs,
        [this] {
            m_typeImageView->stopAnimation();
            playFrames(frames(kStartFrames));
        },
        this);
}

void QXPopContentView::playFrames(const QList<QPixmap> &list)
{
    m_typeImageView->setImages(list);
    if (m_animationsVisible)
        m_typeImageView->startAnimation();
}

void QXPopContentView::setAnimationsVisible(bool visible)
{
    if (visible == m_animationsVisible)
        return;
    m_animationsVisible = visible;
    if (visible)
        m_typeImageView->startAnimation();
    else
        m_typeImageView->stopAnimation();
}

const QList<QPixmap> &QXPopContentView::frames(qint64 type)
{
    auto it = m_frames.find(type);
    if (it == m_frames.end()) {
        const QStringList names =
            type == kStartFrames ? voiceartwork::startFrameNames() : voiceartwork::typeFrameNames(type);
        it = m_frames.insert(type, voiceartwork::pixmaps(names));
    }
    return *it;
}

void QXPopContentView::relayout()
{
    const int w = width() - 2 * kCardMargin;
    const int fanH = px(m_fanHeight);
    m_fanWordView->setGeometry(kCardMargin, kCardMargin, w, fanH);
    const int waveTop = kCardMargin + fanH - kWaveOverlap;
    m_waveView->setGeometry(kCardMargin, waveTop, w, kWaveHeight);
    m_waveImage->setGeometry(m_waveView->rect());
    m_yiWordView->setGeometry(kCardMargin, waveTop + kWaveHeight - kTranslationOverlap, w, px(m_yiHeight));
    m_typeImageView->setGeometry((width() - kTypeImageSide) / 2, height() - kTypeImageSide, kTypeImageSide,
                                 kTypeImageSide);
    update();
}

QRegion QXPopContentView::shapeRegion() const
{
    QRegion region;
    for (const QXWordView *card : {m_fanWordView, m_yiWordView})
        if (card->isVisibleTo(this) && card->height() > 0)
            region += qxRoundedRegion(card->geometry(), card->layerStyle().cornerRadius);
    if (m_waveView->isVisibleTo(this))
        region += m_waveView->geometry();
    // The badge's disc; its fading ring is lost without translucency.
    region += QRegion(m_typeImageView->geometry().adjusted(12, 12, -12, -12), QRegion::Ellipse);
    return region;
}

void QXPopContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void QXPopContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const QXWordView *card : {m_fanWordView, m_yiWordView})
        if (card->isVisibleTo(this) && card->height() > 0)
            QXWordView::paintShadow(painter, QRectF(card->geometry()));
}
