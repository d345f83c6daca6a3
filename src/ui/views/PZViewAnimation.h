#pragma once

#include <QRect>

#include <functional>

class QWidget;

// Moves the view to the rectangle (in its parent's coordinates) over 0.35 s; 0.35 s
// after the call on the scheduler the view stands there and the completion, when
// given, runs.
void moveAnimationWithView(QWidget *view, const QRect &location, std::function<void()> complete = {});
