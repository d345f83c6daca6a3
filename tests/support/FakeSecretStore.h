#pragma once

#include "platform/ISecretStore.h"

#include <QMap>

#include <functional>
#include <utility>
#include <vector>

// A keyring in memory; `answering` false plays a desktop without a Secret Service.
// It answers before the call returns, unless `deferred`: then the answers wait for
// answer() (a keyring that asks the user to unlock it first).
class FakeSecretStore final : public platform::ISecretStore {
public:
    bool answering = true;
    bool deferred = false;
    QMap<QString, QString> secrets;
    int reads = 0;
    int writes = 0;

    void readSecret(const QString &key, ReadCompletion completion) override
    {
        ++reads;
        run([this, key, completion = std::move(completion)] {
            ReadResult r;
            r.ok = answering;
            if (answering && secrets.contains(key))
                r.value = secrets.value(key);
            completion(r);
        });
    }
    void writeSecret(const QString &key, const QString &value, WriteCompletion completion) override
    {
        run([this, key, value, completion = std::move(completion)] {
            if (answering) {
                secrets.insert(key, value);
                ++writes;
            }
            completion(answering);
        });
    }
    // Runs the waiting answers, in the order they were asked.
    void answer()
    {
        for (auto &a : std::exchange(m_pending, {}))
            a();
    }
    int waiting() const { return int(m_pending.size()); }

private:
    void run(std::function<void()> a)
    {
        if (deferred)
            m_pending.push_back(std::move(a));
        else
            a();
    }
    std::vector<std::function<void()>> m_pending;
};
