#pragma once

// The software-management page as the main window's right side shows it (880 x 720),
// over the scene world's page context: a mouse "523" with a stored firmware image
// that has been offered, the interface language of the "lang" option, and, when
// `percent` is not negative, a mouse transfer started from the row at that progress.
#include "SceneWorld.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "controls/QXButton.h"

#include "AboutMouseView.h"
#include "SoftwareManagerViewController.h"

#include <QCoreApplication>

inline QWidget *buildSoftwarePage(SceneWorld &world, int percent)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    world.pages().data.languages().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    world.pages().data.languages().shouldRefreshData();
    QXUserInfoData &state = world.state();
    state.setProductCode(QStringLiteral("523"));
    state.mouseInfoItem().setSn(QStringLiteral("S9"));
    state.mouseInfoItem().setFirmwareVersion(QStringLiteral("2.0"));
    state.mouseInfoItem().setdeviceType(1);
    world.pages().ports.mouseImage = true;
    world.pages().ports.dongleImage = true;

    // The host goes first and takes the page, which deletes its view.
    auto *host = new QWidget;
    host->resize(880, 720);
    auto *page = new SoftwareManagerViewController(world.context());
    QObject::connect(host, &QObject::destroyed, [page] { delete page; });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    world.pages().notifications.post(QString::fromLatin1(qx::notify::kUpdateOTAStatusNotification));
    if (percent >= 0) {
        page->aboutView()->updateBtn()->click();
        world.pages().notifications.post(QString::fromLatin1(qx::notify::kUpdateOTAProgressNotification), percent);
    }
    return host;
}
