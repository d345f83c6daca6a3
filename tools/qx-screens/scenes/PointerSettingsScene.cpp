// The pointer settings page as the main window's right side shows it (880 x 720), over
// a pointer manager on the scene's store: fresh (nothing previewed), and with each of
// the four functions previewed.
#include "SceneWorld.h"

#include "LaserPenSettingViewController.h"
#include "QXLaserPenManager.h"
#include "services/VoiceKeyState.h"

namespace {

QWidget *build(SceneWorld &world, int previewIndex)
{
    auto *host = new QWidget;
    host->resize(880, 720);
    auto *keys = new VoiceKeyState;
    PageContext context = world.context();
    QXLaserPenManager::Deps pen;
    pen.store = &world.store();
    pen.keys = keys;
    pen.tips = &context.tips;
    pen.scheduler = &world.scheduler();
    auto *manager = new QXLaserPenManager(pen);
    manager->setPreviewIndex(previewIndex);
    manager->setWarningTimeIndex(world.intOption(QStringLiteral("time")));
    manager->setWarningTime(7);
    world.state().setLaserPenVoiceFunctionIndex(world.intOption(QStringLiteral("voice")));
    // The host goes first and takes the page, which deletes its view.
    auto *page = new LaserPenSettingViewController({manager, &world.state(), &context.notifications, &context.tips});
    QObject::connect(host, &QObject::destroyed, [page, manager, keys] {
        delete page;
        delete manager;
        delete keys;
    });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    return host;
}

QList<SceneOption> options()
{
    return {
        {QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("countdown length radio (3: custom, 7 minutes)")},
        {QStringLiteral("voice"), QStringLiteral("1"), QStringLiteral("voice key function 0-3")}};
}

const bool registered = [] {
    SceneRegistry::instance().add({QStringLiteral("pointer-settings"),
                                   QStringLiteral("pointer settings page, nothing previewed yet"), options(),
                                   [](SceneWorld &world) { return build(world, -1); }});
    const char *names[] = {"highlight", "light spot", "loupe", "pen"};
    for (int i = 1; i <= 4; ++i)
        SceneRegistry::instance().add(
            {QStringLiteral("pointer-preview-%1").arg(i),
             QStringLiteral("pointer settings page previewing the %1").arg(QString::fromLatin1(names[i - 1])),
             options(), [i](SceneWorld &world) { return build(world, i); }});
    return true;
}();

} // namespace
