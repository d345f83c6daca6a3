#include "QXNetSceneState.h"

#include "PZString.h"
#include "QXLanguageManager.h"

#include <QCoreApplication>

namespace {
QXNetSceneState *g_installed = nullptr;
}

QString QXAppSceneState::uiLanguageCode() const
{
    return QXLanguageManager::sharedInstance().readUILanguageCode();
}

QString QXAppSceneState::toLanguageCode() const
{
    return QXLanguageManager::sharedInstance().readToLanguageCode();
}

QString QXAppSceneState::macAddress() const
{
    return pz::qx_getMacAddress();
}

QString QXAppSceneState::clientVersion() const
{
    return QCoreApplication::applicationVersion();
}

QXNetSceneState &QXNetSceneState::instance()
{
    static QXAppSceneState appState;
    return g_installed ? *g_installed : appState;
}

void QXNetSceneState::setInstance(QXNetSceneState *state)
{
    g_installed = state;
}
