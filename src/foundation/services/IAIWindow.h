#pragma once

#include <QString>

// The AI chat window holder (QXAIWindowTool).
class IAIWindow {
public:
    virtual ~IAIWindow() = default;
    virtual void showInWindow() = 0;
    // Hides the AI window if one exists; never creates one (the web window is costly).
    virtual void hiddenWindow() = 0;
    // Recognised text for the AI page: input of the helper an AI key chose, else a
    // plain question.
    virtual void requestChatGPT(const QString &text) = 0;
    // helperId: the AI helper's id text ("aiImg", "xml", ...).
    virtual void requestChatGPT(const QString &helperId, const QString &content) = 0;
    virtual void requestChatGPT(const QString &helperId, const QString &content, bool isOpenMic) = 0;
    virtual void initSubViews() = 0;
    // Reloads the AI page.
    virtual void refresh() = 0;
    // Removes the web pages' cookies, caches and visited links.
    virtual void clearAllWebsiteData() = 0;
    // The AI web window fills the screen; leaveWebWindowFullScreen puts it back.
    virtual bool isWebWindowFullScreen() const = 0;
    virtual void leaveWebWindowFullScreen() = 0;
};

// The translation manager (QXTranslateManager).
class ITranslateManager {
public:
    virtual ~ITranslateManager() = default;
    // Starts a screenshot translation when the user switched it on.
    virtual void snipTranslate() = 0;
    // Translates the text the application state holds as pasteboardContent.
    virtual void hyperTranslate() = 0;
};
