// The status item's menu with a device connected, open under the item in a panel.
#include "SceneWorld.h"

#include "HRVLocalizedString.h"
#include "QXLanguageManager.h"
#include "drawing/NamedImage.h"
#include "tray/TrayStatusItem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

namespace {
QWidget *build(SceneWorld &world)
{
    QXLanguageManager::sharedInstance().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    // A desktop panel with the item at its right end.
    auto *panel = new QWidget;
    panel->setFixedSize(420, 28);
    panel->setAutoFillBackground(true);
    QPalette dark = panel->palette();
    dark.setColor(QPalette::Window, QColor(48, 48, 48));
    panel->setPalette(dark);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 2, 8, 2);
    row->addStretch(1);
    auto *icon = new QLabel;
    icon->setFixedSize(22, 22);
    icon->setScaledContents(true);
    icon->setPixmap(namedPixmap(QStringLiteral("Icon")));
    row->addWidget(icon);

    QMenu *menu = makeStatusMenu({{hrvAppLocalizedString(QStringLiteral("打开Quorvex")), {}},
                                  {hrvAppLocalizedString(QStringLiteral("退出Quorvex")), {}}},
                                 panel)
                      .release();
    // Under the item, kept inside the panel's width as the screen's edge would keep it.
    world.afterShow([menu, panel, icon] {
        const QPoint under = icon->mapToGlobal(QPoint(0, icon->height() + 4));
        menu->popup(QPoint(panel->mapToGlobal(QPoint(panel->width(), 0)).x() - menu->sizeHint().width(), under.y()));
    });
    return panel;
}

const SceneRegistrar reg({QStringLiteral("tray-menu"),
                          QStringLiteral("the status item's menu with a device connected"),
                          {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index")}},
                          build});
} // namespace
