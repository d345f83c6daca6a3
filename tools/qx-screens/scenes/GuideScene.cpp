// The guide under the status item while no device is connected.
#include "SceneWorld.h"

#include "QXLanguageManager.h"
#include "tray/GuidePopover.h"
#include "tray/QXGuideViewController.h"

namespace {
QWidget *build(SceneWorld &world)
{
    QXLanguageManager::sharedInstance().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    auto *guide = new QXGuideViewController({});
    const bool window = world.option(QStringLiteral("tray")) == QLatin1String("no");
    auto *popover = new GuidePopover(guide->view(), window ? GuidePopover::Mode::Window : GuidePopover::Mode::Popover);
    guide->setParent(popover);
    return popover;
}

const SceneRegistrar reg({QStringLiteral("guide"),
                          QStringLiteral("the guide shown while no device is connected"),
                          {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index")},
                           {QStringLiteral("tray"), QStringLiteral("yes"),
                            QStringLiteral("no: the window that stands in where no tray exists")}},
                          build});
} // namespace
