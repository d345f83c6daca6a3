#pragma once

// The self-test page after its launch run: the device connected or not, and both
// network probes answered as asked.
#include "SettingsPageHost.h"

#include "QXUserInfoData.h"
#include "SmartDetectionViewController.h"

#include <QJsonValue>

inline QWidget *buildSelfTestPage(SceneWorld &world, bool connected, bool internet, bool server)
{
    world.state().setMouseIsConnect(connected);
    QWidget *host = hostSettingsPage<SmartDetectionViewController>(world);
    auto &requests = world.pages().ports.requests;
    const bool answers[] = {internet, server};
    for (size_t i = 0; i < requests.size() && i < 2; ++i)
        requests[i].second(answers[i], QJsonValue(), QXNetError{});
    return host;
}
