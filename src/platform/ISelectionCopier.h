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
};

} // namespace platform
