#pragma once

#include "platform/ISecretStore.h"

#include <QMap>

// A keyring in memory; `answering` false plays a desktop without a Secret Service.
class FakeSecretStore final : public platform::ISecretStore {
public:
    bool answering = true;
    QMap<QString, QString> secrets;
    int writes = 0;

    ReadResult readSecret(const QString &key) override
    {
        if (!answering)
            return {};
        ReadResult r;
        r.ok = true;
        if (secrets.contains(key))
            r.value = secrets.value(key);
        return r;
    }
    bool writeSecret(const QString &key, const QString &value) override
    {
        if (!answering)
            return false;
        secrets.insert(key, value);
        ++writes;
        return true;
    }
};
