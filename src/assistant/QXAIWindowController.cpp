#include "QXAIWindowController.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXAIContentView.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"
#include "drawing/KitAppearance.h"
#include "platform/IClipboard.h"
#include "services/IAppShell.h"
#include "services/IPopupTips.h"
#include "views/QXBaseView.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kWidth = 600;
constexpr int kHeight = 700;
constexpr int kBarHeight = 100;
constexpr int kSendWidth = 80;
constexpr int kSendHeight = 60;
constexpr int kSide = 20;
const QColor kTextColor(38, 12, 12);

// The chat's top-level window; closing it tells the shell it no longer shows.
class ChatWindow : public QWidget {
public:
    explicit ChatWindow(std::function<void()> closed) : m_closed(std::move(closed)) {}

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (m_closed)
            m_closed();
        event->accept();
    }

private:
    std::function<void()> m_closed;
};
} // namespace

QXAIWindowController::QXAIWindowController(Deps deps) : m_deps(std::move(deps)) {}

QXAIWindowController::~QXAIWindowController() = default;

QWidget &QXAIWindowController::window()
{
    if (m_window)
        return *m_window;
    auto window = std::make_unique<ChatWindow>([shell = m_deps.shell] {
        if (shell)
            shell->setIsShowAIWindow(false);
    });
    window->setFixedSize(kWidth, kHeight);

    m_scrollView = new QScrollArea(window.get());
    m_scrollView->setFrameShape(QFrame::NoFrame);
    m_scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setGeometry(0, 1, kWidth, kHeight - 1 - kBarHeight - 20);
    auto *content = new QXBaseView;
    content->setLayerBackgroundColor(QColor(246, 246, 246));
    m_scrollContentView = content;
    m_scrollView->setWidget(m_scrollContentView);

    auto *bottom = new QXBaseView(window.get());
    bottom->setLayerBackgroundColor(QColor(211, 211, 211));
    m_bottomView = bottom;
    m_bottomView->setGeometry(0, kHeight - kBarHeight, kWidth, kBarHeight);
    auto *line = new QXBaseView(m_bottomView);
    line->setLayerBackgroundColor(QColor(190, 190, 190));
    line->setGeometry(0, 0, kWidth, 1);

    m_sendBtn = new QXButton(m_bottomView);
    m_sendBtn->setObjectName(QStringLiteral("send"));
    m_sendBtn->setTitleColor(kTextColor);
    m_sendBtn->setLayerCornerRadius(5);
    m_sendBtn->setLayerBackgroundColor(Qt::white);
    m_sendBtn->setLayerBorder(QColor(190, 190, 190), 1);
    m_sendBtn->setGeometry(kWidth - kSide - kSendWidth, (kBarHeight - kSendHeight) / 2, kSendWidth, kSendHeight);
    QObject::connect(m_sendBtn, &QXButton::clicked, this, &QXAIWindowController::sendBtnClicked);

    // The field ends 10 short of the button so its text never runs under it.
    m_questionTextField = new QXTextField(m_bottomView);
    m_questionTextField->setFont(qxSystemFont(14));
    QPalette text = m_questionTextField->palette();
    text.setColor(QPalette::Text, kTextColor);
    m_questionTextField->setPalette(text);
    m_questionTextField->setGeometry(kSide, 2, m_sendBtn->x() - 10 - kSide, kBarHeight - 2);
    QObject::connect(m_questionTextField, &QLineEdit::returnPressed, this, [this] {
        if (!m_isRequesting)
            sendBtnClicked();
    });

    m_window = std::move(window);
    configTitle();
    // The window is no base view of the kit: it follows a new interface language itself.
    if (m_deps.notifications)
        m_deps.notifications->addObserver(QString::fromLatin1(qx::notify::kUpdateTitleNotification), m_window.get(),
                                          [this](const QVariant &) { configTitle(); });
    // Bubbles made before the window (none today) would have nowhere to go.
    layoutContent(0);
    m_sendBtn->setEnabled(!m_isRequesting);
    return *m_window;
}

void QXAIWindowController::configTitle()
{
    m_sendBtn->setTitle(hrvAppLocalizedString(QStringLiteral("发送")));
    m_questionTextField->setPlaceholderText(hrvAppLocalizedString(QStringLiteral("请输入内容")));
}

void QXAIWindowController::showWindow()
{
    QWidget &w = window();
    w.show();
    w.raise();
    w.activateWindow();
}

QXTextField &QXAIWindowController::questionTextField()
{
    window();
    return *m_questionTextField;
}

QXButton &QXAIWindowController::sendBtn()
{
    window();
    return *m_sendBtn;
}

void QXAIWindowController::sendBtnClicked()
{
    requestChatGPT(questionTextField().text());
}

void QXAIWindowController::requestChatGPT(const QString &question)
{
    if (question.isEmpty() || m_isRequesting)
        return;
    window();
    auto turn = std::make_shared<QXAIContentModel>();
    turn->question = question;
    turn->answer = hrvAppLocalizedString(QStringLiteral("正在生成中。。。"));
    m_turns.append(turn);
    m_questionTextField->clear();
    m_isRequesting = true;
    m_sendBtn->setEnabled(false);
    configUI();
    if (!m_deps.chat) {
        answered(false, turn, QXNetError{});
        return;
    }
    m_deps.chat(m_turns, turn,
                [self = QPointer<QXAIWindowController>(this)](
                    bool success, const std::shared_ptr<QXAIContentModel> &model, const QXNetError &error) {
                    if (self)
                        self->answered(success, model, error);
                });
}

void QXAIWindowController::configUI()
{
    if (m_turns.isEmpty())
        return;
    m_lastModel = m_turns.last();
    auto *view = new QXAIContentView(m_deps.textHeight, m_scrollContentView);
    view->setGeometry(kSide, int(m_contentHeight), std::max(1, viewportSize().width() - 2 * kSide), 1);
    view->showQuestion(m_lastModel->question, m_lastModel->answer);
    view->resize(view->width(), int(std::ceil(view->viewHeight())));
    view->retryBlock = [self = QPointer<QXAIWindowController>(this)](const QString &question) {
        if (self)
            self->requestChatGPT(question);
    };
    view->copyBlock = [this](const QString &answer) { copyAnswer(answer); };
    view->show();
    m_lastView = view;
    m_lastCounted = false;
    layoutContent(view->viewHeight());
    m_sendBtn->setEnabled(!m_isRequesting);
}

void QXAIWindowController::answered(bool success, const std::shared_ptr<QXAIContentModel> &turn,
                                    const QXNetError &error)
{
    // Turns are matched by identity: two questions asked within one second share a
    // client id, and an earlier turn's late reply must not touch the newest bubble.
    if (!turn || turn != m_lastModel)
        return;
    if (!success) {
        if (turn->isFinished)
            return;
        qxWarning("chat") << "chat request failed:" << int(error.kind) << error.code << error.message;
        turn->answer = hrvAppLocalizedString(QStringLiteral("请检查网络"));
        turn->isFinished = true;
    }
    if (turn->isFinished)
        m_isRequesting = false;
    updateContentViewText();
}

void QXAIWindowController::updateContentViewText()
{
    if (!m_lastView || !m_lastModel)
        return;
    m_lastView->showQuestion(m_lastModel->question, m_lastModel->answer);
    m_lastView->resize(m_lastView->width(), int(std::ceil(m_lastView->viewHeight())));
    layoutContent(m_lastView->viewHeight());
    if (m_isRequesting) {
        m_sendBtn->setEnabled(false);
        return;
    }
    m_sendBtn->setEnabled(true);
    if (!m_lastCounted) {
        m_contentHeight += m_lastView->viewHeight();
        m_lastCounted = true;
    }
}

// The viewport's own size is only known once the window has been laid out; the
// content's size follows from the scroll area's, the scroller's width kept free.
QSize QXAIWindowController::viewportSize() const
{
    return {m_scrollView->width() - m_scrollView->verticalScrollBar()->sizeHint().width(), m_scrollView->height()};
}

void QXAIWindowController::layoutContent(double bubbleHeight)
{
    const QSize viewport = viewportSize();
    const int height = int(std::ceil(std::max<double>(viewport.height(), m_contentHeight + bubbleHeight)));
    m_scrollContentView->setGeometry(0, 0, viewport.width(), height);
    QScrollBar *bar = m_scrollView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void QXAIWindowController::copyAnswer(const QString &text)
{
    if (!m_deps.clipboard || text.isEmpty())
        return;
    m_deps.clipboard->clear();
    if (m_deps.clipboard->setText(text) && m_deps.tips)
        m_deps.tips->showTipMessage(hrvAppLocalizedString(QStringLiteral("已复制")), QStringLiteral("success_icon"));
}
