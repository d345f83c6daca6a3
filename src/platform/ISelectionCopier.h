#pragma once

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
    // selection again. A gesture that may select text calls beginGesture() when it
    // starts; selectionChangedSinceGesture() then says whether anything was selected
    // since.
    virtual void beginGesture() = 0;
    virtual bool selectionChangedSinceGesture() = 0;
};

} // namespace platform
