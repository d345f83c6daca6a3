#include "QXHttpRequestManager.h"

#include "HRVLocalizedString.h"
#include "InstalledInstance.h"
#include "MainThread.h"
#include "PZLog.h"
#include "QXAnswerReader.h"
#include "QXQueryEncoding.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QUrl>

#include <limits>

namespace {

using Kind = QXNetError::Kind;

QXNetError invalidRequest(const QString &why)
{
    return QXNetError{Kind::InvalidRequest, QStringLiteral("invalid request URL: ") + why, 0};
}

// Method and path only: queries carry passwords, tokens and the device serial.
QString describeForLog(const QByteArray &method, const QUrl &url)
{
    return QString::fromLatin1(method) + QLatin1Char(' ') + url.host() + url.path();
}

bool isNetworkDown()
{
    static const bool loaded = QNetworkInformation::loadDefaultBackend();
    if (!loaded || !QNetworkInformation::instance())
        return false;
    return QNetworkInformation::instance()->reachability() == QNetworkInformation::Reachability::Disconnected;
}

} // namespace

QXBuiltRequest qxBuildSceneRequest(QXNetBaseScene &scene)
{
    QXBuiltRequest built;
    built.method = scene.httpMethod().trimmed().toUpper().toLatin1();
    if (built.method.isEmpty())
        built.method = "GET";

    QByteArray urlText = qxEscapeUrlText(scene.requestURL().trimmed());
    // A scene that puts the serial in its own query ("sn=...") sends no default
    // fields; only a key named exactly "sn" counts, not a value holding "sn=".
    const QXStringMap parameters =
        qxUrlQueryHasKey(urlText, QStringLiteral("sn")) ? QXStringMap{} : scene.requestParameters();
    // GET-like requests carry the parameters in the query; for the others they would
    // form a JSON body, which the scene's own body (or none) always replaces.
    if (built.method == "GET" || built.method == "HEAD" || built.method == "DELETE")
        urlText = qxAppendQueryParameters(urlText, parameters);

    const QUrl url = QUrl::fromEncoded(urlText, QUrl::StrictMode);
    if (!url.isValid())
        built.error = invalidRequest(url.errorString());
    else if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        built.error = invalidRequest(QStringLiteral("no http or https scheme"));
    else if (url.host().isEmpty())
        built.error = invalidRequest(QStringLiteral("no host"));
    if (built.error.isError())
        return built;

    built.request.setUrl(url);
    qint64 seconds = scene.timeOutInterval();
    if (seconds <= 0) // Qt reads 0 as "no time-out": a request must never wait forever
        seconds = kQXDefaultTimeoutSeconds;
    built.request.setTransferTimeout(int(std::min<qint64>(seconds * 1000, std::numeric_limits<int>::max())));
    const QXStringMap header = scene.requestHeader();
    for (auto it = header.cbegin(); it != header.cend(); ++it)
        built.request.setRawHeader(it.key().toUtf8(), it.value().toUtf8());
    built.body = scene.requestBody();
    return built;
}

QXHttpRequestManager &QXHttpRequestManager::sharedInstance()
{
    return InstalledInstance<QXHttpRequestManager>::get("QXHttpRequestManager");
}

QXHttpRequestManager *QXHttpRequestManager::setSharedInstance(QXHttpRequestManager *instance)
{
    return InstalledInstance<QXHttpRequestManager>::install(instance);
}

QXHttpRequestManager::QXHttpRequestManager(QObject *parent) : QObject(parent) {}

// Replies still in flight go with the network manager, their callbacks uncalled: the
// process (or the test's world) is ending.
QXHttpRequestManager::~QXHttpRequestManager() = default;

bool QXHttpRequestManager::validNetworkIsNotReable() const
{
    return m_isNotReachable ? m_isNotReachable() : isNetworkDown();
}

QNetworkAccessManager *QXHttpRequestManager::urlSessionManager()
{
    if (!m_manager)
        m_manager = new QNetworkAccessManager(this);
    return m_manager;
}

void QXHttpRequestManager::setReachabilityCheck(std::function<bool()> isNotReachable)
{
    m_isNotReachable = std::move(isNotReachable);
}

void QXHttpRequestManager::httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback)
{
    if (!isMainThread()) { // the network manager and every completion live on the main thread
        postToMainThread([this, scene = std::move(scene), callback = std::move(callback)]() mutable {
            httpRequestWithScene(std::move(scene), std::move(callback));
        });
        return;
    }
    if (!scene) {
        qxWarning("net") << "request without a scene";
        if (callback)
            postToMainThread([callback] {
                callback(false, QJsonValue(), QXNetError{Kind::InvalidRequest, QStringLiteral("no scene"), 0});
            });
        return;
    }
    if (validNetworkIsNotReable()) {
        if (callback)
            callback(false, QJsonValue(),
                     QXNetError{Kind::Unreachable, hrvAppLocalizedString(QStringLiteral("请检查网络")), 0});
        return;
    }
    send(std::move(scene), std::move(callback));
}

void QXHttpRequestManager::send(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback)
{
    QXBuiltRequest built = qxBuildSceneRequest(*scene);
    if (built.error.isError()) {
        qxWarning("net") << built.error.message;
        // Never before the call returns: callers set up their state after sending.
        if (callback)
            postToMainThread([callback, error = built.error] { callback(false, QJsonValue(), error); });
        return;
    }

    QNetworkAccessManager *manager = urlSessionManager();
    QNetworkReply *reply = nullptr;
    if (built.method == "GET" && !built.body)
        reply = manager->get(built.request);
    else if (built.method == "POST")
        reply = manager->post(built.request, built.body.value_or(QByteArray()));
    else if (built.body)
        reply = manager->sendCustomRequest(built.request, built.method, *built.body);
    else
        reply = manager->sendCustomRequest(built.request, built.method);

    const QString logName = describeForLog(built.method, built.request.url());
    qxInfo("net") << "send" << logName;
    ++m_inFlight;
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, scene = std::move(scene), callback = std::move(callback), logName] {
                finish(reply, scene, callback, logName);
            });
}

void QXHttpRequestManager::finish(QNetworkReply *reply, const std::shared_ptr<QXNetBaseScene> &scene,
                                  const QXSceneCallback &callback, const QString &logName)
{
    // finished is emitted once per reply; deleting it later drops the connection and
    // with it the scene and the callback.
    reply->deleteLater();
    --m_inFlight;

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // A reply that timed out was aborted, which closes it: reading it only earns Qt's warning.
    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    const int code = status.isValid() ? status.toInt() : 0;
    const QNetworkReply::NetworkError error = reply->error();
    QXAnswerOutcome outcome;
    if (status.isValid() && (code < 200 || code > 299)) {
        // A 4xx/5xx page is a failure carrying its status, whatever its body says.
        outcome = qxReadHttpAnswer(scene->answerSpec(), code, reply->rawHeader("Content-Type"), body);
    } else if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError) {
        // Nothing here aborts a reply, so a cancel is the transfer time-out.
        outcome =
            QXAnswerOutcome::fail(Kind::Timeout, QStringLiteral("request timed out"), int(QNetworkReply::TimeoutError));
    } else if (error != QNetworkReply::NoError || !status.isValid()) {
        // Includes a connection closed in the middle of a 2xx body: what arrived is
        // not the whole answer.
        outcome = QXAnswerOutcome::fail(Kind::Transport, reply->errorString(),
                                        error == QNetworkReply::NoError ? int(QNetworkReply::UnknownNetworkError)
                                                                        : int(error));
    } else {
        outcome = qxReadHttpAnswer(scene->answerSpec(), code, reply->rawHeader("Content-Type"), body);
    }
    if (outcome.error.kind == Kind::NoBody)
        outcome.error.message = hrvAppLocalizedString(outcome.error.message);

    if (outcome.success)
        qxInfo("net") << "done" << logName;
    else
        qxWarning("net") << "failed" << logName << int(outcome.error.kind) << outcome.error.code
                         << outcome.error.message.left(200);
    if (callback)
        callback(outcome.success, outcome.value, outcome.error);
}
