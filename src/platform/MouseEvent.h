#pragma once

#include <QPoint>
#include <QtGlobal>

#include <optional>

// Mouse events as the event monitors see them. The type numbers are the event-type
// bit numbers the monitor masks were written with (mask = OR of 1 << type), so the
// stored masks keep their meaning: 64 is "left dragged", 34 "moved or left down".
namespace platform {

enum class MouseEventType : int {
    LeftMouseDown = 1,
    LeftMouseUp = 2,
    RightMouseDown = 3,
    RightMouseUp = 4,
    MouseMoved = 5,
    LeftMouseDragged = 6,
    RightMouseDragged = 7,
    OtherMouseDown = 25,
    OtherMouseUp = 26,
    OtherMouseDragged = 27,
};

constexpr quint64 maskOf(MouseEventType type)
{
    return quint64(1) << int(type);
}

constexpr bool maskMatches(quint64 mask, MouseEventType type)
{
    return (mask & maskOf(type)) != 0;
}

struct MouseEvent {
    MouseEventType type = MouseEventType::MouseMoved;
    QPoint globalPos;     // desktop coordinates, top-left origin
    int buttonNumber = 0; // 0 left, 1 right, 2 middle and beyond; 0 for plain moves
    quint32 time = 0;     // the window system's time stamp in ms (X server time); 0 unknown
};

// The raw pointer happenings of a window system, before classification.
enum class RawPointerKind { Press, Release, Motion };

// Which of the three click buttons are held while the pointer moves.
struct HeldButtons {
    bool left = false;
    bool middle = false;
    bool right = false;
};

// Classifies one pointer happening. Buttons use X numbering: 1 left, 2 middle,
// 3 right, 4-7 the wheel (never a click), 8 and up extra buttons (other mouse).
// A motion with a button held is a drag of that button and never a plain move.
std::optional<MouseEventType> classifyPointerEvent(RawPointerKind kind, int xButton, HeldButtons held);

// The monitors' button number (left 0, right 1, middle 2, extra buttons from 3).
int buttonNumberForXButton(int xButton);

// Keeps the held buttons up to date from presses and releases.
void trackHeldButtons(HeldButtons &held, RawPointerKind kind, int xButton);

} // namespace platform
