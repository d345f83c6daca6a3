#include "MouseEvent.h"

namespace platform {

std::optional<MouseEventType> classifyPointerEvent(RawPointerKind kind, int xButton, HeldButtons held)
{
    switch (kind) {
    case RawPointerKind::Motion:
        if (held.left)
            return MouseEventType::LeftMouseDragged;
        if (held.right)
            return MouseEventType::RightMouseDragged;
        if (held.middle)
            return MouseEventType::OtherMouseDragged;
        return MouseEventType::MouseMoved;
    case RawPointerKind::Press:
    case RawPointerKind::Release: {
        const bool down = kind == RawPointerKind::Press;
        if (xButton == 1)
            return down ? MouseEventType::LeftMouseDown : MouseEventType::LeftMouseUp;
        if (xButton == 3)
            return down ? MouseEventType::RightMouseDown : MouseEventType::RightMouseUp;
        if (xButton == 2 || xButton >= 8)
            return down ? MouseEventType::OtherMouseDown : MouseEventType::OtherMouseUp;
        return std::nullopt; // wheel steps (4-7) and nonsense
    }
    }
    return std::nullopt;
}

int buttonNumberForXButton(int xButton)
{
    switch (xButton) {
    case 1:
        return 0;
    case 2:
        return 2;
    case 3:
        return 1;
    default:
        return xButton >= 8 ? xButton - 5 : 0;
    }
}

void trackHeldButtons(HeldButtons &held, RawPointerKind kind, int xButton)
{
    if (kind == RawPointerKind::Motion)
        return;
    const bool down = kind == RawPointerKind::Press;
    if (xButton == 1)
        held.left = down;
    else if (xButton == 2)
        held.middle = down;
    else if (xButton == 3)
        held.right = down;
}

} // namespace platform
