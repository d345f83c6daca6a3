#pragma once

#include "FakeGlobalShortcuts.h"
#include "FakeScreenGrabber.h"
#include "KeyValueStore.h"
#include "ManualScheduler.h"
#include "overlay/EscapeArbiter.h"
#include "overlay/OverlayServices.h"
#include "platform/ShortcutBinder.h"

#include <QGuiApplication>
#include <QScreen>

// The pen and the loupe over a pattern desktop, virtual time, a pointer the test moves
// and the escape key. Two screens side by side: 1600 x 900 at (0, 0), 1920 x 1080 at
// (1600, 0) (data/two_screens.json).
struct Ptr2World {
    ManualScheduler scheduler;
    FakeScreenGrabber grabber;
    MemoryKeyValueStore store;
    FakeGlobalShortcuts keys;
    platform::ShortcutBinder binder{store, &keys};
    EscapeArbiter escape{binder};
    QPointF pointer;
    bool compositor = false;

    OverlayServices overlays()
    {
        return {&grabber, [this] { return compositor; }, &escape};
    }
    std::function<QPointF()> pointerFn()
    {
        return [this] { return pointer; };
    }
    // What screen i shows at a rectangle of its points.
    QImage desktop(int i, const QRect &r) { return grabber.grab(QGuiApplication::screens().value(i), r); }
};
