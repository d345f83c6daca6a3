#include "QXTranslateManager.h"

#include "InstalledInstance.h"
#include "PZLog.h"
#include "QXHttpRequestManager.h"
#include "QXLanguageManager.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"
#include "popup/QXPopupWindowTool.h"
#include "translation/ISpeechTranslator.h"

#include <QBuffer>
#include <QJsonValue>

QXTranslateManager::QXTranslateManager(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.state && m_deps.languages && m_deps.popups && m_deps.http && m_deps.translator);
}

QXTranslateManager::~QXTranslateManager() = default;

void QXTranslateManager::snipTranslate()
{
    if (!m_deps.state->screenshotsTranslateSwitch())
        return;
    if (m_deps.startSnip)
        m_deps.startSnip();
}

void QXTranslateManager::hyperTranslate()
{
    if (!m_deps.state->wordInputSwitch())
        return;
    m_deps.state->setIsScreenshotsTranslate(false);
    // A selection always wants its translation, also after a recognise-only capture
    // (the flag would otherwise keep the translation card hidden for good).
    m_deps.popups->setIsScreenshotsOCR(false);
    const std::optional<QString> text = m_deps.state->pasteboardContent();
    if (!QXToolManager::isHaveText(text))
        return;
    m_fanText = *text;
    m_deps.popups->showTranslateWindowFanText(*text, QString());
    translateText(*text);
}

void QXTranslateManager::translateText(const QString &text)
{
    QXLanguageManager &languages = *m_deps.languages;
    if (m_deps.state->isScreenshotsTranslate())
        request(text, QString(), languages.readToScreenshotsTranslateLanguageCode());
    else
        request(text, languages.readFromHyperTranslateLanguageCode(), languages.readToHyperTranslateLanguageCode());
}

void QXTranslateManager::request(const QString &text, const QString &from, const QString &to)
{
    ISpeechTranslator *translator = m_deps.translator();
    if (!translator) {
        qxWarning("translate") << "no translator yet; nothing translated";
        return;
    }
    // A failure comes as an empty translation, which the window ignores: nothing new
    // shows under the source.
    translator->requestTranslateText(
        text, from, to, [this, text, alive = std::weak_ptr<int>(m_alive)](bool, const QString &translation) {
            if (alive.expired())
                return;
            m_yiText = translation;
            m_deps.popups->showTranslateWindowFanText(text, translation);
        });
}

void QXTranslateManager::translateImage(const QImage &image)
{
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        qxWarning("translate") << "cannot encode the captured image";
        return;
    }
    m_deps.http->twinLarkOcrWithBase64ImageData(
        png, [this, alive = std::weak_ptr<int>(m_alive)](bool success, const QJsonValue &result, const QXNetError &) {
            // A failed recognition leaves the window alone: the capture is already gone.
            if (alive.expired() || !success)
                return;
            const QString text = result.toString();
            m_fanText = text;
            m_deps.popups->showTranslateWindowFanText(text, QString());
            if (m_deps.popups->isScreenshotsOCR())
                return;
            QXLanguageManager &languages = *m_deps.languages;
            request(text, languages.readToScreenshotsTranslateFromLanguageCode(),
                    languages.readToScreenshotsTranslateLanguageCode());
        });
}
