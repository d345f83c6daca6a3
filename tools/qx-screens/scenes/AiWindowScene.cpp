// The AI window with the page shipped in the application: no device profile has given
// an assistant address yet. The page runs in the helper, as in the application, and
// its window shows inside the AI window: the picture is taken from the screen (X11).
#include "SceneWorld.h"

#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "aiweb/QXAIWebWindowController.h"
#include "platform/linux/RemoteAiWebHost.h"

#include <QTest>
#include <QVBoxLayout>

namespace {

// Owns the controller and shows its window inside itself, so the tool owns one widget.
class AiWindowHolder : public QWidget {
public:
    ~AiWindowHolder() override
    {
        controller.reset();
        // The tool ends once the picture is taken: the helper goes with it.
        platform::linuxbackend::RemoteAiWebHost::endHelpers();
    }
    FakeClipboard clipboard;
    FakeAppShell shell;
    std::unique_ptr<QXAIWebWindowController> controller;
};

QWidget *build(SceneWorld &world)
{
    auto *holder = new AiWindowHolder;
    holder->resize(900, 620);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    world.state().setProductCode(QStringLiteral("100"));
    QXAIWebWindowController::Deps deps;
    deps.state = &world.state();
    deps.clipboard = &holder->clipboard;
    deps.shell = &holder->shell;
    deps.makeHost = &platform::linuxbackend::createRemoteAiWebHost;
    deps.hosts = AiPageHosts::configured();
    holder->controller = std::make_unique<QXAIWebWindowController>(deps);
    layout->addWidget(holder->controller->window());
    holder->controller->initSubViews();
    world.takeFromScreen();

    world.afterShow([holder] {
        platform::IAiWebHost *page = holder->controller->aiWebView();
        if (!page)
            return;
        bool ready = false;
        (void)QTest::qWaitFor(
            [&] {
                page->evaluate(QStringLiteral("document.readyState === 'complete' && !!document.querySelector('h1')"),
                               [&](const QVariant &v) { ready = v.toBool(); });
                QTest::qWait(100);
                return ready;
            },
            20000);
        // The first frames after the load.
        QTest::qWait(1500);
    });
    return holder;
}

const SceneRegistrar reg({QStringLiteral("ai-window"),
                          QStringLiteral("the AI window showing the application's own page (no assistant address)"),
                          {},
                          build});
} // namespace
