#pragma once

#include "services/IAIWindow.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class ISpeechTranslator;
class QXHttpRequestManager;
class QXLanguageManager;
class QXPopupWindowTool;
class QXUserInfoData;

// The one entry to the translations the user starts on demand: the selection last
// copied (hyperTranslate) and the text recognised in a captured screen region
// (translateImage). The source shows at once in the translation window, the
// translation under it when its answer comes. Answers are not matched to the latest
// request: each shows with its own source, so the last to arrive is what shows.
// Main thread.
class QXTranslateManager final : public ITranslateManager {
public:
    struct Deps {
        QXUserInfoData *state = nullptr;
        QXLanguageManager *languages = nullptr;
        QXPopupWindowTool *popups = nullptr;  // the window's owner; recognition-only flag
        QXHttpRequestManager *http = nullptr; // text recognition
        // The translator is built after the device layers that call this manager.
        std::function<ISpeechTranslator *()> translator;
        // Starts a screen capture (QXSnip::startSnip).
        std::function<void()> startSnip;
    };

    explicit QXTranslateManager(Deps deps);
    ~QXTranslateManager() override;
    QXTranslateManager(const QXTranslateManager &) = delete;
    QXTranslateManager &operator=(const QXTranslateManager &) = delete;

    void snipTranslate() override;
    void hyperTranslate() override;
    // Translates a text with the codes of the window's current mode: the selection's
    // source and target, or for a screenshot text the detected source and the
    // screenshot target.
    void translateText(const QString &text);
    // Recognises the text of an image (a null image does nothing); shows it, then,
    // unless the capture asked for recognition only, its translation.
    void translateImage(const QImage &image);

    QString fanText() const { return m_fanText; }
    QString yiText() const { return m_yiText; }

private:
    void request(const QString &text, const QString &from, const QString &to);

    Deps m_deps;
    QString m_fanText;
    QString m_yiText;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
