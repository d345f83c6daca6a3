#include "PZViewAnimation.h"

#include "Scheduler.h"

#include <QPropertyAnimation>
#include <QWidget>

namespace {
constexpr int kDurationMs = 350;
}

void moveAnimationWithView(QWidget *view, const QRect &location, std::function<void()> complete)
{
    if (!view)
        return;
    auto *animation = new QPropertyAnimation(view, "geometry", view);
    animation->setDuration(kDurationMs);
    animation->setEndValue(location);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    if (complete)
        Scheduler::instance().singleShot(kDurationMs, std::move(complete));
}
