#pragma once

#include "FakeDesktop.h"
#include "platform/ISelectionCopier.h"

// select() is the user selecting text somewhere during the gesture under way.
class FakeSelectionCopier : public platform::ISelectionCopier {
public:
    explicit FakeSelectionCopier(FakeClipboard &clipboard) : m_clipboard(clipboard) {}
    int copies = 0;
    void select(const QString &text) { m_clipboard.selection = text, m_changed = true; }
    bool copySelectionToClipboard() override { return ++copies, m_clipboard.setText(m_clipboard.selection); }
    void beginGesture(quint32) override { m_changed = false; }
    bool selectionChangedSinceGesture() override { return m_changed; }

private:
    FakeClipboard &m_clipboard;
    bool m_changed = false;
};
