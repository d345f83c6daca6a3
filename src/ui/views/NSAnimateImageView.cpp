#include "NSAnimateImageView.h"

#include <cmath>

namespace {
constexpr float kStartInterval = 0.1f;
// A frame step below this would keep the main loop busy for no visible change.
constexpr int kMinStepMs = 10;

bool g_animating = false;
float g_frameInterval = kStartInterval;
} // namespace

NSAnimateImageView::NSAnimateImageView(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

NSAnimateImageView::~NSAnimateImageView()
{
    // A view that goes away while it animates ends its animation, and with it the
    // shared flag, as a removed animation does.
    if (isAnimating())
        stopAnimation();
}

bool NSAnimateImageView::sharedIsAnimating()
{
    return g_animating;
}

float NSAnimateImageView::sharedFrameInterval()
{
    return g_frameInterval;
}

void NSAnimateImageView::resetSharedState()
{
    g_animating = false;
    g_frameInterval = kStartInterval;
}

void NSAnimateImageView::setImages(const QList<QPixmap> &images)
{
    if (g_animating)
        return;
    m_images = images;
    if (m_time == 0)
        m_time = float(images.size()) * g_frameInterval;
    if (m_time > 0 && !images.isEmpty())
        g_frameInterval = m_time / float(images.size());
}

void NSAnimateImageView::setTime(float seconds)
{
    if (g_animating)
        return;
    m_time = seconds;
    if (seconds > 0 && !m_images.isEmpty())
        g_frameInterval = seconds / float(m_images.size());
}

void NSAnimateImageView::startAnimation()
{
    Scheduler &scheduler = Scheduler::instance();
    cancelTimer(scheduler, m_timer);
    if (m_images.isEmpty() || !(m_time > 0) || !std::isfinite(m_time))
        return;
    const int step = qMax(kMinStepMs, int(std::lround(m_time * 1000 / m_images.size())));
    if (!isAnimating())
        m_ownImage = pixmap();
    showFrame(0);
    m_timer = scheduler.repeating(
        step, [this] { showFrame((m_frame + 1) % int(m_images.size())); }, this);
    g_animating = true;
}

void NSAnimateImageView::stopAnimation()
{
    // The frames were the animation's; the view shows its own image again.
    if (isAnimating())
        setPixmap(m_ownImage);
    cancelTimer(Scheduler::instance(), m_timer);
    g_animating = false;
}

void NSAnimateImageView::showFrame(int index)
{
    m_frame = index;
    setPixmap(index < m_images.size() ? m_images.at(index) : QPixmap());
}
