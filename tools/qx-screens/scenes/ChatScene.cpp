// The native chat window with two finished turns, the second answer long enough to
// wrap over several lines.
#include "SceneWorld.h"

#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "QXAIWindowController.h"

#include <QWidget>

namespace {
const char *kAnswers[] = {
    "The voice key types what you say into the application that has the focus. Hold it, speak, and let go.",
    "Select a sentence with the mouse and a small search button appears beside the pointer. Click it to translate "
    "the selection into the language chosen in the translation window's header; the window stays beside the "
    "screen's right edge until you click elsewhere, and each card has a button that copies its text.",
};

struct ChatSceneWorld : QObject {
    FakeClipboard clipboard;
    CallLog log;
    FakePopupTips tips{log};
};

QWidget *build(SceneWorld &world)
{
    auto *host = new QWidget;
    auto *w = new ChatSceneWorld;
    w->setParent(host);
    QXAIWindowController::Deps deps;
    deps.clipboard = &w->clipboard;
    deps.tips = &w->tips;
    deps.notifications = &world.pages().notifications;
    deps.chat = [](const QXAIWindowController::Conversation &conversation, std::shared_ptr<QXAIContentModel> turn,
                   QXChatCallback callback) {
        turn->answer = QString::fromUtf8(kAnswers[std::min<qsizetype>(conversation.size() - 1, 1)]);
        turn->isFinished = true;
        callback(true, turn, QXNetError{});
    };
    // Made before the window is laid on the host, so it is deleted first and takes the
    // window with it.
    auto *controller = new QXAIWindowController(std::move(deps));
    controller->setParent(host);
    controller->requestChatGPT(world.option(QStringLiteral("first")));
    controller->requestChatGPT(world.option(QStringLiteral("second")));
    QWidget &window = controller->window();
    window.setParent(host);
    window.move(0, 0);
    host->setFixedSize(window.size());
    return host;
}

const SceneRegistrar
    reg({QStringLiteral("chat"),
         QStringLiteral("native chat window: two finished turns"),
         {{QStringLiteral("first"), QStringLiteral("How do I type by voice?"), QStringLiteral("the first question")},
          {QStringLiteral("second"), QStringLiteral("And how do I translate a sentence on screen?"),
           QStringLiteral("the second question")}},
         build});
} // namespace
