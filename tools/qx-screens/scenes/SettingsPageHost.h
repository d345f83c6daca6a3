#pragma once

// A settings page as the main window's right side shows it (880 x 720), over the scene
// world's page context: the host takes the page's view and deletes the page with it.
#include "SceneWorld.h"

#include "views/QXBaseViewController.h"

#include <QWidget>

template <class Page> QWidget *hostSettingsPage(SceneWorld &world, Page **made = nullptr)
{
    auto *host = new QWidget;
    host->resize(880, 720);
    auto *page = new Page(world.context());
    QObject::connect(host, &QObject::destroyed, [page] { delete page; });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    if (made)
        *made = page;
    return host;
}
