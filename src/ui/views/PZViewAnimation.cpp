#include "PZViewAnimation.h"

#include "Scheduler.h"

#include <QPointer>
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
    // The scheduler's clock decides when the move is over: the view stands at its
    // place then, whatever the animation's own timer did, so a manual clock in a test
    // and the real one agree on where the view is.
    Scheduler::instance().singleShot(kDurationMs, [view = QPointer<QWidget>(view),
                                                   animation = QPointer<QPropertyAnimation>(animation), location,
                                                   complete = std::move(complete)] {
        if (animation)
            animation->stop();
        if (view)
            view->setGeometry(location);
        if (complete)
            complete();
    });
}
