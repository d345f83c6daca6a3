#pragma once

// A vendor speech SDK that records what it is asked and delivers results on demand.
#include "platform/IAsrSdkEngine.h"

#include <QStringList>

#include <mutex>

class FakeAsrSdkEngine : public platform::IAsrSdkEngine {
public:
    int initResult = 0, startResult = 0;
    bool makesRecogniser = true;
    QStringList calls; // "init", "create", "rlang zh-hk", "ptt 1", "start", "stop 0", "write 4", "uninit"
    platform::AsrSdkConfig config;

    int init(const platform::AsrSdkConfig &c) override { return (config = c, called("init", initResult)); }
    bool createRecogniser(const platform::AsrRecogniserParams &) override { return called("create", makesRecogniser); }
    void setRlang(const QString &rlang) override { called("rlang " + rlang); }
    void setPtt(bool on) override { called(QStringLiteral("ptt %1").arg(int(on))); }
    int start(const platform::AsrAudioAttributes &) override { return called("start", startResult); }
    int stop(int mode) override { return called(QStringLiteral("stop %1").arg(mode)); }
    void write(QByteArrayView pcm) override { called(QStringLiteral("write %1").arg(pcm.size())); }
    void uninit() override { called("uninit"); }
    void setResultHandler(ResultHandler h) override
    {
        std::lock_guard lock(m_mutex);
        m_handler = std::move(h);
    }
    ResultHandler handler() const
    {
        std::lock_guard lock(m_mutex);
        return m_handler;
    }

private:
    int called(const QString &call, int result = 0)
    {
        calls << call;
        return result;
    }
    mutable std::mutex m_mutex; // results come from the SDK's own thread
    ResultHandler m_handler;
};
