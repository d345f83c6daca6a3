// The pace of a file transcription on the real timer backend: the speech service sends
// one frame every 40 ms for a minute to a websocket server on its own thread, which
// stamps each frame as it arrives. Prints the mean interval, the 99th percentile of the
// deviation from 40 ms and the CPU time of the process (and of the service's thread).
//
//   build-bench/bench/asr_cadence [seconds]     (default 60)
#include "DataPaths.h"
#include "KeyValueStore.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "asr/QXWebApiAsrService.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QWebSocket>
#include <QWebSocketServer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <vector>

namespace {

double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double nowMs();

// Stamps every frame on arrival; answers the end frame with the last result.
struct Receiver {
    QMutex mutex;
    std::vector<double> arrivalsMs;
    QThread thread;
    quint16 port = 0;

    void start()
    {
        std::promise<quint16> listening;
        QObject::connect(&thread, &QThread::started, [this, &listening] {
            auto *server = new QWebSocketServer(QStringLiteral("bench"), QWebSocketServer::NonSecureMode);
            QObject::connect(&thread, &QThread::finished, server, &QObject::deleteLater);
            QObject::connect(server, &QWebSocketServer::newConnection, server, [this, server] {
                QWebSocket *c = server->nextPendingConnection();
                QObject::connect(c, &QWebSocket::textMessageReceived, c, [this, c](const QString &m) {
                    const double now =
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
                            .count();
                    {
                        QMutexLocker lock(&mutex);
                        arrivalsMs.push_back(now);
                    }
                    if (QJsonDocument::fromJson(m.toUtf8()).object().value(QLatin1String("end")).toBool())
                        c->sendTextMessage(QStringLiteral(R"({"status":200,"data":{"type":"LAST","text":"done"}})"));
                });
            });
            server->listen(QHostAddress::LocalHost, 0);
            listening.set_value(server->serverPort());
        });
        auto f = listening.get_future();
        thread.start();
        port = f.get();
    }
};

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Progress is reported right after each chunk went out: the sender's own clock.
struct Sender : ISpeechStatusListener {
    std::vector<double> sentMs;
    void speechManagerRecognitionUpdateTransferProgress(double, const QXTransferAudioModel &) override
    {
        sentMs.push_back(nowMs());
    }
    void speechManagerRecognitionStatusChangeEndAsr(const QString &, bool, const QXTransferAudioModel *) override
    {
        QCoreApplication::quit();
    }
};

struct Cadence {
    double mean = 0, p99 = 0, max = 0;
};

// The open sends one chunk and the first tick another at once; the cadence is the rest.
Cadence cadence(const std::vector<double> &t)
{
    std::vector<double> deviations;
    double sum = 0;
    for (size_t i = 2; i < t.size(); ++i) {
        sum += t[i] - t[i - 1];
        deviations.push_back(std::abs(t[i] - t[i - 1] - QXAudioFileTranscription::kSendIntervalMs));
    }
    std::sort(deviations.begin(), deviations.end());
    const size_t at = size_t(std::ceil(0.99 * double(deviations.size()))) - 1;
    return {sum / double(deviations.size()), deviations[std::min(at, deviations.size() - 1)], deviations.back()};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    QTemporaryDir dir;
    DataPaths::setDataRootOverride(dir.path());
    MemoryKeyValueStore store;
    setDefaultStore(&store);
    QXUserInfoData state(store);
    QXUserInfoData::setSharedInstance(&state);
    QXLanguageManager languages(store);
    QXLanguageManager::setSharedInstance(&languages);

    Receiver receiver;
    receiver.start();

    const int chunks = seconds * 1000 / QXAudioFileTranscription::kSendIntervalMs;
    const QString path = dir.filePath(QStringLiteral("minute.pcm"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(qsizetype(chunks) * QXAudioFileTranscription::kChunkBytes, '\x11'));
    }
    QXWebApiAsrService::Deps deps;
    deps.state = &state;
    deps.languages = &languages;
    deps.serviceBase = QStringLiteral("ws://127.0.0.1:%1").arg(receiver.port);
    QXWebApiAsrService asr(deps);
    Sender sender;
    asr.addStatusListener(&sender);
    asr.fileTranscription().transferAudioWithFilePath(path, QXTransferAudioModel());

    const double cpuBefore = cpuSeconds(RUSAGE_SELF), mainBefore = cpuSeconds(RUSAGE_THREAD);
    asr.beginAsrIsTransferAudio(true, {});
    app.exec();
    const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore, mainCpu = cpuSeconds(RUSAGE_THREAD) - mainBefore;
    receiver.thread.quit();
    receiver.thread.wait();

    std::vector<double> arrived;
    {
        QMutexLocker lock(&receiver.mutex);
        arrived = receiver.arrivalsMs;
    }
    if (sender.sentMs.size() < 4 || arrived.size() < 4) {
        std::fprintf(stderr, "only %zu frames went out\n", sender.sentMs.size());
        return 1;
    }
    const double wall = (sender.sentMs.back() - sender.sentMs.front()) / 1000.0;
    std::printf("frames %zu over %.1f s\n", sender.sentMs.size(), wall);
    for (const auto &[what, t] : {std::pair("sent", &sender.sentMs), std::pair("received", &arrived)}) {
        const Cadence c = cadence(*t);
        std::printf("%-8s mean interval %.3f ms, p99 |interval - 40 ms| %.3f ms, max %.3f ms (goal 40 +/- 2)\n", what,
                    c.mean, c.p99, c.max);
    }
    std::printf("CPU time: process %.3f s (%.2f %% of one core), service thread %.3f s\n", cpu, 100.0 * cpu / wall,
                mainCpu);
    return 0;
}
