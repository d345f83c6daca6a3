#include "NetWorld.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>
#include <QThread>

namespace {

constexpr std::pair<const char *, const char *> kBases[] = {
    {"QX_API_BASE", "/api"},
    {"QX_API2_BASE", "/api2"},
    {"QX_WEATHER_BASE", ""},
    {"QX_MS_TRANSLATOR_BASE", "/ms"},
    {"QX_BAIDU_OAUTH_BASE", "/baidu-oauth"},
    {"QX_BAIDU_ASR_BASE", "/baidu-asr"},
    {"QX_IFLYTEK_API_BASE", "/ifly"},
    {"QX_SEMANTIC_BASE", "/semantic"},
    {"QX_IFLYTEK_OCR_BASE", ""},
    {"QX_CHIP_TOKEN_BASE", ""},
    {"QX_WEB_BASE", ""},
};

} // namespace

NetWorld::NetWorld()
{
    pointAt(server.baseUrl());
    m_http.setReachabilityCheck([] { return false; });
}

NetWorld::~NetWorld()
{
    for (const auto &[env, path] : kBases)
        qunsetenv(env);
}

void NetWorld::pointAt(const QString &base)
{
    for (const auto &[env, path] : kBases)
        qputenv(env, base.toLatin1() + path);
}

QString NetWorld::deadBase()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
    probe.close();
    return base;
}

QXSceneCallback NetWorld::recordInto(const std::shared_ptr<Delivery> &d)
{
    return [d](bool ok, const QJsonValue &v, const QXNetError &e) {
        ++d->calls;
        d->success = ok;
        d->value = v;
        d->error = e;
        d->onMainThread = d->onMainThread && QThread::currentThread() == qApp->thread();
    };
}

void NetWorld::waitFor(const std::shared_ptr<Delivery> &d, int timeoutMs)
{
    (void)QTest::qWaitFor([&] { return d->calls > 0; }, timeoutMs);
    ::runUntilIdle();
}

std::shared_ptr<Delivery> NetWorld::send(std::shared_ptr<QXNetBaseScene> scene, int timeoutMs)
{
    auto d = std::make_shared<Delivery>();
    m_http.httpRequestWithScene(std::move(scene), recordInto(d));
    waitFor(d, timeoutMs);
    return d;
}

QJsonValue NetWorld::json(const QByteArray &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text);
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}
