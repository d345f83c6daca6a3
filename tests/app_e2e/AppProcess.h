#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "SignalChild.h"

#include <gtest/gtest.h>

// The real application in a child process over its own data root, headless, with
// every outside host pointed where the test says (by default at nothing that listens)
// so that nothing reaches the internet. Output (console log lines) is collected as it
// arrives.
class AppProcess {
public:
    explicit AppProcess(const QString &dataDir, const QProcessEnvironment &extra = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QX_DATA_DIR", dataDir);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LANG", "C.UTF-8");
        for (const char *var :
             {"QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE", "QX_SEMANTIC_BASE", "QX_AI_WEB_BASE"})
            env.insert(var, "http://127.0.0.1:9");
        env.insert("QX_ASR_BASE", "ws://127.0.0.1:9");
        for (const QString &key : extra.keys())
            env.insert(key, extra.value(key));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    }
    // Before start(): the child runs without this variable (QT_QPA_PLATFORM, DISPLAY ...).
    void unsetEnv(const QString &name)
    {
        QProcessEnvironment env = m_process.processEnvironment();
        env.remove(name);
        m_process.setProcessEnvironment(env);
    }
    ~AppProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool start()
    {
        begin();
        return m_process.waitForStarted(10000);
    }
    // Starts without waiting, so that several copies start at the same moment; then
    // waitStarted() before anything else.
    void begin() { m_process.start(QStringLiteral(QX_APP_EXE), {}); }
    bool waitStarted() { return m_process.waitForStarted(10000); }
    // Waits for the process to end by itself; its exit code, -1 when it did not end or
    // was ended by a signal.
    int waitForExit(int timeoutMs = 15000)
    {
        if (!m_process.waitForFinished(timeoutMs) && m_process.state() != QProcess::NotRunning)
            return -1;
        m_output += m_process.readAll();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    bool running() const { return m_process.state() == QProcess::Running; }
    qint64 pid() const { return m_process.processId(); }
    // False when the application is no longer there to receive it.
    bool signal(int sig) { return signalChild(m_process, sig); }

    // Waits until a line containing `text` has been printed (after `from` bytes).
    bool waitFor(const QByteArray &text, int timeoutMs = 15000, qsizetype from = 0)
    {
        QElapsedTimer t;
        t.start();
        for (;;) {
            m_output += m_process.readAll();
            if (m_output.indexOf(text, from) >= 0)
                return true;
            if (t.elapsed() > timeoutMs || m_process.state() != QProcess::Running)
                return false;
            m_process.waitForReadyRead(100);
        }
    }
    // Waits until the user log (the daily files under <data root>/Log) holds `text`.
    bool waitForUserLog(const QString &dataDir, const QByteArray &text, int timeoutMs = 15000)
    {
        QElapsedTimer t;
        t.start();
        for (;;) {
            if (userLog(dataDir).contains(text))
                return true;
            if (t.elapsed() > timeoutMs || m_process.state() != QProcess::Running)
                return false;
            m_process.waitForReadyRead(100);
            m_output += m_process.readAll();
        }
    }
    static QByteArray userLog(const QString &dataDir)
    {
        QByteArray all;
        for (const QFileInfo &f : QDir(dataDir + QStringLiteral("/Log")).entryInfoList(QDir::Files)) {
            QFile file(f.filePath());
            if (file.open(QIODevice::ReadOnly))
                all += file.readAll();
        }
        return all;
    }
    int count(const QByteArray &text)
    {
        m_output += m_process.readAll();
        return int(m_output.count(text));
    }
    const QByteArray &output()
    {
        m_output += m_process.readAll();
        return m_output;
    }
    qsizetype outputSize() { return output().size(); }

    // SIGTERM, and the exit code of a clean quit (-1 when it did not end so, or had ended).
    int terminate()
    {
        if (!signal(SIGTERM) || !m_process.waitForFinished(15000))
            return -1;
        m_output += m_process.readAll();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};
