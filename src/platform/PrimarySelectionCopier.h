#pragma once

#include "IClipboard.h"
#include "ISelectionCopier.h"

namespace platform {

// The plain copier: whatever the current selection (X11 PRIMARY) holds goes to the
// clipboard. It cannot tell a fresh selection from one made long ago, so every
// gesture counts as having selected something.
class PrimarySelectionCopier final : public ISelectionCopier {
public:
    explicit PrimarySelectionCopier(IClipboard &clipboard) : m_clipboard(clipboard) {}
    bool copySelectionToClipboard() override;
    void beginGesture(quint32) override {}
    bool selectionChangedSinceGesture() override { return true; }

private:
    IClipboard &m_clipboard;
};

} // namespace platform
