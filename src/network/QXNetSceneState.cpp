#include "QXNetSceneState.h"

#include <QCoreApplication>

namespace {
QXNetSceneState *g_installed = nullptr;
}

QString QXFreshSceneState::clientVersion() const
{
    return QCoreApplication::applicationVersion();
}

QXNetSceneState &QXNetSceneState::instance()
{
    static QXFreshSceneState standIn;
    return g_installed ? *g_installed : standIn;
}

void QXNetSceneState::setInstance(QXNetSceneState *state)
{
    g_installed = state;
}
