#pragma once

#include "QXAIContentView.h"
#include "QXHttpRequestManager.h"
#include "services/QXAIContentModel.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class IAppShell;
class IPopupTips;
class NotificationCenter;
class QScrollArea;
class QWidget;
class QXButton;
class QXTextField;
namespace platform {
class IClipboard;
}

// The native chat window: the conversation as a column of bubbles over a question
// field and "发送". One question runs at a time; its answer grows in the newest bubble
// as the pieces arrive, and every question is sent with the turns before it. A failed
// request ends its turn with the error, so the user can ask again. The window is made
// the first time it is needed. Main thread.
class QXAIWindowController final : public QObject {
    Q_OBJECT
public:
    using Conversation = QList<std::shared_ptr<QXAIContentModel>>;
    // Sends the conversation, answering its newest turn; calls back on the main thread
    // as the answer grows, once more when it is complete, or once on failure.
    using ChatClient = std::function<void(const Conversation &, std::shared_ptr<QXAIContentModel>, QXChatCallback)>;

    struct Deps {
        ChatClient chat;
        platform::IClipboard *clipboard = nullptr;
        IPopupTips *tips = nullptr;
        IAppShell *shell = nullptr; // keeps the shown flag the close clears; may be null
        NotificationCenter *notifications = nullptr; // the interface language's changes; none: the texts stay
        // Where the bubbles' text heights come from; empty: the text views' own.
        std::function<double(const QString &text, double width, const QFont &font)> textHeight;
    };

    explicit QXAIWindowController(Deps deps);
    ~QXAIWindowController() override;

    QWidget &window();
    void showWindow();

    void sendBtnClicked();
    // Starts a turn with the question; nothing for an empty one or while a turn runs.
    void requestChatGPT(const QString &question);

    bool isRequesting() const { return m_isRequesting; }
    double contentHeight() const { return m_contentHeight; }
    const Conversation &conversation() const { return m_turns; }
    QXAIContentView *lastAIContentView() const { return m_lastView; }
    QXTextField &questionTextField();
    QXButton &sendBtn();

private:
    void configUI();
    void configTitle();
    void updateContentViewText();
    void answered(bool success, const std::shared_ptr<QXAIContentModel> &turn, const QXNetError &error);
    void layoutContent(double bubbleHeight);
    QSize viewportSize() const;
    void copyAnswer(const QString &text);

    Deps m_deps;
    std::unique_ptr<QWidget> m_window;
    QScrollArea *m_scrollView = nullptr;
    QWidget *m_scrollContentView = nullptr;
    QWidget *m_bottomView = nullptr;
    QXTextField *m_questionTextField = nullptr;
    QXButton *m_sendBtn = nullptr;

    Conversation m_turns;
    std::shared_ptr<QXAIContentModel> m_lastModel;
    QPointer<QXAIContentView> m_lastView;
    bool m_isRequesting = false;
    bool m_lastCounted = true; // the newest bubble's height is in contentHeight
    double m_contentHeight = 0;
};
