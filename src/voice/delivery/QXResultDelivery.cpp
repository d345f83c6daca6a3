#include "QXResultDelivery.h"

#include "IVoiceCommandRunner.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "QXLocalTextPoster.h"
#include "QXUserInfoData.h"
#include "popup/ISpeechPopup.h"
#include "services/IAIWindow.h"

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

QXResultDelivery::QXResultDelivery(Deps deps) : d(std::move(deps)) {}

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
    // Text for the AI chat is handed to it (and left on the clipboard), not pasted.
    const bool toAiWindow = aiWindowTakesText();
    const ITextInsertion::Chord chord =
        toAiWindow ? ITextInsertion::Chord::None : ITextInsertion::Chord::FollowCompatibleMode;
    if (!d.text.pasteText(text, {.chord = chord, .restoreClipboard = true}))
        return;
    if (toAiWindow)
        d.aiWindow.requestChatGPT(text);
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
