#pragma once

#include "DeviceProfileController.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXNetBaseScene.h"
#include "QXNetSceneState.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrlQuery>

#include <gtest/gtest.h>

// The profile loader of product 523 / sn S9 on a page world: a fresh state, the
// scenes reading it, and recorders behind every port. `events` holds the profile's
// notifications in the order they were posted; the ports' calls (the request, the
// picture loads, the voice-chip query, the AI window) go to `log`.
struct ProfileWorld {
    PageWorld page;
    QXAppSceneState sceneState;
    ScopedInstall<QXNetSceneState> installedSceneState{&sceneState};
    ScopedUserInfoData &s = page.data;
    CallLog &log = page.log;
    QObject observer;
    QStringList events;
    QList<QJsonValue> replies; // the server's answers, in order; none left: the request fails
    DeviceProfileController ctl{page.context()};

    ProfileWorld()
    {
        using namespace qx::notify;
        for (const char *name : {kUpdateOCRListNotification, kUpdateInputAudioListNotification,
                                 kUpdateTranslateListNotification, kUpdateLeftItemNotification})
            page.notifications.addObserver(QString::fromLatin1(name), &observer,
                                           [this, name](const QVariant &) { events << name; });
        s->setProductCode(QStringLiteral("523"));
        s->mouseInfoItem().setSn(QStringLiteral("S9"));
    }
    static QJsonValue json(const QByteArray &text)
    {
        const QJsonArray wrapped = QJsonDocument::fromJson("[" + text + "]").array();
        return wrapped.isEmpty() ? QJsonValue() : wrapped.first();
    }
    void serve(const QByteArray &data) { replies << json(data); }
    // Runs getCustomerKey and answers its request (if any); the number of requests.
    int getCustomerKey()
    {
        auto &requests = page.ports.requests;
        const size_t before = requests.size();
        ctl.getCustomerKey();
        for (size_t i = before; i < requests.size(); ++i) {
            if (replies.isEmpty())
                requests[i].second(false, {}, QXNetError{});
            else
                requests[i].second(true, replies.takeFirst(), QXNetError{});
        }
        return int(requests.size() - before);
    }
    // The query of the last request's address.
    QUrlQuery lastQuery() { return QUrlQuery(QUrl(page.ports.requests.back().first->requestURL())); }
    // Applies a profile and lets the picture port answer.
    void apply(const QByteArray &text)
    {
        ctl.handleModelInfo(json(text), "523", "S9");
        QCoreApplication::processEvents();
    }
    QStringList imageLoads() const { return log.calls.filter(QStringLiteral("loadImage(")); }
    KeyValueStore &store() { return s.store(); }
    QJsonValue stored(const QString &key) { return json(store().stringValue(key).toUtf8()); }
};
