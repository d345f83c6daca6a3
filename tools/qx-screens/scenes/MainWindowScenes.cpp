// The main window for three kinds of device: a mouse, a pointer of mouse type 56 and
// a hot-key receiver (device type 3). The pages are those of this build, over the
// scene world's page context.
#include "SceneWorld.h"

#include "QXLanguageManager.h"
#include "QXLaserPenManager.h"
#include "QXUserInfoData.h"
#include "platform/ShortcutBinder.h"
#include "services/VoiceKeyState.h"
#include "windows/MainWindow.h"
#include "windows/PageFactory.h"

namespace {
struct Device {
    const char *scene;
    const char *summary;
    quint64 deviceType, mouseType;
};

const Device kDevices[] = {
    {"main-mouse", "main window with a mouse: device, smart, software and personalisation tabs", 1, 0},
    {"main-pointer56", "main window with a pointer of mouse type 56: pointer settings first, preferences last", 2, 56},
    {"main-type3", "main window with a hot-key receiver (device type 3): no device tab", 3, 0},
};

QWidget *build(SceneWorld &world, const Device &device)
{
    QXLanguageManager::sharedInstance().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    QXUserInfoData &state = world.state();
    state.mouseInfoItem().setdeviceType(device.deviceType);
    state.mouseInfoItem().setMouseType(device.mouseType);
    state.setMouseIsConnect(true);
    world.pages().data.languages().setAsrLanguageType(1); // as at launch
    if (device.deviceType == 3)                           // what opening a hot-key receiver registers: F1 / F2 / F3
        world.pages().shortcuts.registerDefaults({{QStringLiteral("WordShortcutKey"), {122, 0}},
                                                  {QStringLiteral("TranslateShortcutKey"), {120, 0}},
                                                  {QStringLiteral("SearchShortcutKey"), {99, 0}}});
    auto *window = new MainWindow({&state, {}});
    auto *pages = new PageFactory(world.context());
    // The pointer page works on a pointer manager over the scene's store.
    auto *keys = new VoiceKeyState;
    QXLaserPenManager::Deps pen;
    pen.store = &world.store();
    pen.keys = keys;
    pen.tips = &world.context().tips;
    pen.scheduler = &world.scheduler();
    auto *laserPen = new QXLaserPenManager(pen);
    pages->setLaserPen(laserPen);
    QObject::connect(window, &QObject::destroyed, [pages, laserPen, keys] {
        delete pages;
        delete laserPen;
        delete keys;
    });
    window->configUI(pages);
    window->setLowElectricShown(world.option(QStringLiteral("low-battery")) == QLatin1String("yes"));
    return window;
}

const bool registered = [] {
    for (const Device &device : kDevices)
        SceneRegistry::instance().add(
            {QString::fromLatin1(device.scene),
             QString::fromLatin1(device.summary),
             {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index (2: English)")},
              {QStringLiteral("low-battery"), QStringLiteral("no"), QStringLiteral("yes: the low-battery image")}},
             [&device](SceneWorld &world) { return build(world, device); }});
    return true;
}();
} // namespace
