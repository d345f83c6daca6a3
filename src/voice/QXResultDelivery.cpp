#include "QXResultDelivery.h"

#include "ISpeechPopup.h"
#include "IVoiceCommandRunner.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "QXLocalTextPoster.h"
#include "QXMouseCommandManager.h"
#include "QXToolManagerUI.h"
#include "QXUserInfoData.h"
#include "platform/IClipboard.h"
#include "platform/IKeyPoster.h"
#include "services/IAIWindow.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <array>

namespace {

constexpr quint64 kAiWindowKeyAction = 18;

// Indexed by the search engine tag.
constexpr std::array<const char *, 3> kSearchPrefixes = {
    "https://www.baidu.com/s?ie=utf-8&wd=",
    "https://www.google.com/search?ei=qx&q=",
    "https://search.yahoo.co.jp/search;_ylt=qx?ei=UTF-8&p=",
};

} // namespace

QString webSearchAddress(quint64 searchEngineTag, const QString &text)
{
    const char *prefix = kSearchPrefixes[searchEngineTag < kSearchPrefixes.size() ? searchEngineTag : 0];
    // One query value: a spoken "&", "+", "#" or "=" is part of what was said.
    return QString::fromLatin1(prefix) + QString::fromLatin1(QUrl::toPercentEncoding(text));
}

void sendChord(const keyaction::Chord &chord, bool compatibleMode, QXMouseCommandManager &device,
               platform::IKeyPoster &keyPoster)
{
    if (compatibleMode) {
        if (chord.hidUsage != 0)
            device.sendKeyCommandDataKeyCode1(chord.hidModifier, chord.hidUsage);
    } else if (chord.macKeyCode >= 0) {
        QXPostKeyEvent(chord.macKeyCode, true, chord.macFlags, &keyPoster);
    }
}

QXResultDelivery::QXResultDelivery(Deps deps) : d(std::move(deps)) {}

QXResultDelivery::~QXResultDelivery() = default;

void QXResultDelivery::copyAndPasteResult(const QString &text)
{
    if (text.isEmpty())
        return;
    pasteStep(text);
    d.localPost.sendLocalhostHttp(text, d.state.sno());
}

bool QXResultDelivery::aiWindowTakesText() const
{
    if (!d.isShowAIWindow || !d.isShowAIWindow() || d.state.keyAction() != kAiWindowKeyAction)
        return false;
    const int product = d.state.productCode().toInt();
    return product != 209 && product != 285;
}

void QXResultDelivery::pasteStep(const QString &text)
{
    platform::IClipboard &cb = d.clipboard;
    // Only the first paste of a burst keeps what the user had: later ones would keep
    // our own text.
    if (!m_restorePending)
        m_savedClipboard = cb.snapshot();
    m_restorePending = true;
    cb.clear();
    if (!cb.setText(text)) {
        qxWarning("voice") << "the clipboard did not take the recognised text; nothing pasted";
        m_pasted.clear();
        cancelTimer(Scheduler::instance(), m_restoreTimer);
        m_restorePending = false;
        cb.restore(std::move(m_savedClipboard));
        return;
    }
    m_pasted = text;
    scheduleRestore();
    if (aiWindowTakesText()) {
        d.aiWindow.requestChatGPT(text);
        return;
    }
    sendChord(keyaction::pasteChord(), d.state.compatibleModeSwitch(), d.device, d.keyPoster);
}

void QXResultDelivery::scheduleRestore()
{
    Scheduler &s = Scheduler::instance();
    cancelTimer(s, m_restoreTimer);
    m_restoreTimer = s.singleShot(
        kClipboardRestoreMs,
        [this] {
            m_restoreTimer = Scheduler::kNoTimer;
            m_restorePending = false;
            std::unique_ptr<QMimeData> saved = std::move(m_savedClipboard);
            // Something copied since then is the user's newer choice.
            if (d.clipboard.text() == m_pasted)
                d.clipboard.restore(std::move(saved));
        },
        &m_context);
}

void QXResultDelivery::requestMatchingCmd(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); })) {
        qxInfo("voice") << "nothing to search for in" << text;
        return;
    }
    QString searchText;
    if (d.commands.runSpokenCommand(text, &searchText)) {
        d.popup.dismissSpeechView();
        return;
    }
    openBrowserWithCmdString(searchText);
}

void QXResultDelivery::openBrowserWithCmdString(const QString &text)
{
    d.commands.openFileWithCmdPath(webSearchAddress(d.languages.searchEngineTag(), text), QString());
}
