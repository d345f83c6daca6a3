#include "TextInsertionService.h"

#include "PZLog.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "platform/IClipboard.h"
#include "platform/IKeyPoster.h"
#include "platform/KeyCodeTable.h"
#include "platform/PlatformServices.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QPointer>

#include <algorithm>

namespace {

bool hasVisibleText(const QString &text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return true;
    return false;
}

quint64 flagsFromSymbols(const QString &symbols)
{
    using namespace platform::keys;
    quint64 flags = 0;
    for (QChar c : symbols) {
        switch (c.unicode()) {
        case 0x21E7: // ⇧
            flags |= kFlagShift;
            break;
        case 0x2303: // ⌃
            flags |= kFlagControl;
            break;
        case 0x2318: // ⌘
            flags |= kFlagCommand;
            break;
        case 0x2325: // ⌥
            flags |= kFlagAlternate;
            break;
        default:
            break;
        }
    }
    return flags;
}

} // namespace

void QXPostKeyEvent(int keyCode, bool keyDown, quint64 flags, platform::IKeyPoster *poster)
{
    if (!keyDown)
        return;
    (poster ? *poster : *platform::services().keyPoster).postKeyStroke(keyCode, flags);
}

void sendChord(const keyaction::Chord &chord, bool compatibleMode, QXMouseCommandManager &device,
               platform::IKeyPoster &keyPoster)
{
    if (compatibleMode) {
        if (chord.hidUsage != 0)
            device.sendKeyCommandDataKeyCode1(chord.hidModifier, chord.hidUsage);
    } else if (chord.macKeyCode >= 0) {
        // A whole stroke: a chord left held down would repeat and corrupt later typing.
        QXPostKeyEvent(chord.macKeyCode, true, chord.macFlags, &keyPoster);
    }
}

TextInsertionService::TextInsertionService(Deps deps)
    : d(std::move(deps)), m_fields({d.accessibility, d.mousePosition, [this] { return m_lastPiece; }, nullptr})
{
}

TextInsertionService::~TextInsertionService()
{
    // Quitting before the restore is due still gives the user's clipboard back.
    if (m_restoreTimer != Scheduler::kNoTimer)
        restoreClipboard();
}

bool TextInsertionService::pasteText(const QString &text, const Paste &how)
{
    // An empty text would only wipe the user's clipboard.
    if (text.isEmpty()) {
        qxInfo("paste") << "no text to paste; nothing done";
        return false;
    }
    platform::IClipboard &cb = d.clipboard;
    // Only the first restoring paste of a burst keeps what the user had: later ones
    // would keep our own text. Unless the user copied something meanwhile: that is
    // what comes back then.
    if (how.restoreClipboard && (!m_restorePending || cb.text() != m_pasted)) {
        m_savedClipboard = cb.snapshot();
        m_restorePending = true;
    }
    cb.clear();
    // The text's takers are heard of only while the service lives (the clipboard may
    // outlive it, up to the exit's hand-over to a clipboard manager).
    const auto taken = [alive = QPointer<QObject>(&m_context), this] {
        if (alive)
            pasteTaken();
    };
    const bool held = how.restoreClipboard ? cb.setWatchedText(text, taken) : cb.setText(text);
    if (!held) {
        qxWarning("paste") << "the clipboard did not take the text; nothing pasted";
        if (how.restoreClipboard) {
            m_pasted.clear();
            cancelTimer(Scheduler::instance(), m_restoreTimer);
            m_restorePending = false;
            cb.restore(std::move(m_savedClipboard));
        }
        return false;
    }
    if (how.restoreClipboard) {
        m_pasted = text;
        m_pastedAtMs = Scheduler::instance().clock().monotonicMs();
        m_chordSent = how.chord != Chord::None;
        m_takes = 0;
        m_lastTakenAtMs = m_pastedAtMs;
        scheduleRestore();
    }
    sendChord(keyaction::pasteChord(), how.chord);
    return true;
}

void TextInsertionService::pasteTaken()
{
    if (m_restoreTimer == Scheduler::kNoTimer)
        return; // nothing waits for the take any more
    ++m_takes;
    m_lastTakenAtMs = Scheduler::instance().clock().monotonicMs();
    scheduleRestore();
}

void TextInsertionService::sendChord(const keyaction::Chord &chord, Chord route)
{
    if (route == Chord::None)
        return;
    if (route == Chord::FollowCompatibleMode && d.state && d.device && d.state->compatibleModeSwitch()) {
        ::sendChord(chord, true, *d.device, d.keyPoster);
        return;
    }
    if (chord.macKeyCode >= 0)
        QXPostKeyEvent(chord.macKeyCode, true, chord.macFlags, &d.keyPoster);
}

void TextInsertionService::scheduleRestore()
{
    Scheduler &s = Scheduler::instance();
    const qint64 due = m_chordSent && m_takes == 0
                           ? m_pastedAtMs + kClipboardRestoreLimitMs
                           : std::max(m_pastedAtMs + kClipboardRestoreMs, m_lastTakenAtMs + kPasteTakenGraceMs);
    cancelTimer(s, m_restoreTimer);
    m_restoreTimer = s.singleShot(
        int(std::max<qint64>(0, due - s.clock().monotonicMs())),
        [this] {
            m_restoreTimer = Scheduler::kNoTimer;
            restoreClipboard();
        },
        &m_context);
}

void TextInsertionService::restoreClipboard()
{
    cancelTimer(Scheduler::instance(), m_restoreTimer);
    m_restorePending = false;
    std::unique_ptr<QMimeData> saved = std::move(m_savedClipboard);
    const qint64 after = Scheduler::instance().clock().monotonicMs() - m_pastedAtMs;
    if (!m_chordSent)
        qxInfo("paste") << "clipboard back" << after << "ms after the text was put there";
    else if (m_takes == 0)
        qxInfo("paste") << "clipboard back" << after << "ms after the paste, which no application took";
    else
        qxInfo("paste") << "clipboard back" << after << "ms after the paste; taken" << m_takes << "times, last at"
                        << (m_lastTakenAtMs - m_pastedAtMs) << "ms";
    // Something copied since then is the user's newer choice.
    if (d.clipboard.text() == m_pasted)
        d.clipboard.restore(std::move(saved));
}

void TextInsertionService::beginFieldSession()
{
    m_lastPiece = false;
    m_fields.startMonitorUIElement();
}

void TextInsertionService::showTextInField(const QString &text, bool isLast)
{
    m_lastPiece = isLast;
    m_fields.showTextToCurrentTextArea(text);
}

bool TextInsertionService::handleShortcut(const QString &shortcutText)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(shortcutText.toUtf8(), &error);
    if (!doc.isObject()) {
        qxWarning("keys") << "shortcut is not a JSON object:" << shortcutText;
        return false;
    }
    const QJsonObject obj = doc.object();
    const QJsonValue keyCode = obj.value("keyCode");
    if (!keyCode.isDouble() || keyCode.toDouble() < 0 || keyCode.toDouble() != double(keyCode.toInt())) {
        qxWarning("keys") << "shortcut has no usable keyCode:" << shortcutText;
        return false;
    }
    const quint64 flags = flagsFromSymbols(obj.value("modifierFlagsString").toString());
    return d.keyPoster.postKeyStroke(keyCode.toInt(), flags);
}

void TextInsertionService::getText(std::function<void(const QString &)> completion)
{
    platform::IClipboard &cb = d.clipboard;
    // Everything, not only text: the clipboard may hold an image or files.
    std::shared_ptr<QMimeData> previous(cb.snapshot().release());
    cb.clear();
    // A synthesised copy chord would interrupt a terminal's job; the X selection
    // already holds what the user selected.
    const QString selection = cb.selectionText();
    if (hasVisibleText(selection))
        cb.setText(selection);

    Scheduler::instance().singleShot(
        kSelectionCopyMs,
        [this, previous, completion = std::move(completion)]() mutable {
            platform::IClipboard &cb = d.clipboard;
            const QString copied = cb.text();
            if (hasVisibleText(copied)) {
                if (completion)
                    completion(copied);
                return;
            }
            std::unique_ptr<QMimeData> restored;
            if (previous) {
                restored = std::make_unique<QMimeData>();
                for (const QString &format : previous->formats())
                    restored->setData(format, previous->data(format));
            }
            cb.restore(std::move(restored));
        },
        &m_context);
}
