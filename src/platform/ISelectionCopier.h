#pragma once

#include <QtGlobal>

namespace platform {

// Copies what the user selected to the clipboard without synthesising a copy chord
// (a Control+C would interrupt a terminal's job).
class ISelectionCopier {
public:
    virtual ~ISelectionCopier() = default;
    // True when a selection was there and the clipboard holds it now; false leaves
    // the clipboard as it was.
    virtual bool copySelectionToClipboard() = 0;

    // The selection outlives the gesture that made it (X11 keeps the last one until
    // something else is selected), so a drag that selected nothing would copy an old
    // selection again. A gesture that may select text calls beginGesture() with the
    // time stamp of the event that started it (MouseEvent::time; 0: now);
    // selectionChangedSinceGesture() then says whether anything was selected since.
    // The time stamp matters: the handler may run after the selection already changed.
    virtual void beginGesture(quint32 eventTime) = 0;
    virtual bool selectionChangedSinceGesture() = 0;
};

} // namespace platform
