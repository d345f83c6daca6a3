#pragma once

#include "QXNetBaseScene.h"
#include "QXNetError.h"

#include <QNetworkRequest>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
struct QXAIContentModel;

// Completion of a chat request: (true, the turn, {}) as the answer grows and once
// more when it is complete, or once (false, the turn, error).
using QXChatCallback =
    std::function<void(bool success, const std::shared_ptr<QXAIContentModel> &turn, const QXNetError &error)>;

// A scene turned into what goes on the wire.
struct QXBuiltRequest {
    QXNetError error; // InvalidRequest when the URL cannot be sent
    QByteArray method;
    QNetworkRequest request;
    std::optional<QByteArray> body;
};

// Builds the request of a scene: escaped URL, the default client fields unless the
// URL's query already names "sn", GET parameters appended to the query, then the
// scene's time-out, header (exactly the scene's fields) and body (only the scene's;
// a POST without one goes without a body).
QXBuiltRequest qxBuildSceneRequest(QXNetBaseScene &scene);

// The time-out used when a scene asks for none (or a negative one).
constexpr qint64 kQXDefaultTimeoutSeconds = 15;

// The application's HTTP client for scenes. One QNetworkAccessManager on the main
// thread; every completion is delivered on the main thread, exactly once.
class QXHttpRequestManager : public QObject {
    Q_OBJECT
public:
    // Lives on the thread that constructs it (the main thread).
    explicit QXHttpRequestManager(QObject *parent = nullptr);
    ~QXHttpRequestManager() override;

    // The process-wide instance, which the composition root constructed and installed.
    static QXHttpRequestManager &sharedInstance();
    static QXHttpRequestManager *setSharedInstance(QXHttpRequestManager *instance); // returns the previous one

    // True only when the network is known to be down; an unknown state lets the
    // request go.
    bool validNetworkIsNotReable() const;
    QNetworkAccessManager *urlSessionManager();

    // Sends the scene and calls back once with (success, result, error). When the
    // network is down the callback gets (false, "请检查网络") before this returns
    // (on the main thread). The callback may be empty.
    void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback);

    // --- requests without a scene (QXHttpRequestManagerDirect.cpp) ---
    // Each is sent on the main thread, fails after 60 s of silence and calls back on
    // the main thread.

    // Asks the maker's chat endpoint about the newest turn, with the last five turns
    // as context. The answer's pieces are shown one by one: currentModel's `answer`
    // is replaced by each piece's text and the callback runs, 5 ms apart; then
    // `isFinished` is set and the callback runs once more (not for a turn that was
    // already finished).
    void chatGPT(const QList<std::shared_ptr<QXAIContentModel>> &conversation,
                 std::shared_ptr<QXAIContentModel> currentModel, QXChatCallback callback);
    // Text recognition of an image (PNG bytes) by the maker's OCR endpoint; (true,
    // the recognised lines joined by line feeds) or a failure. When the network is
    // down, (false, "请检查网络") before this returns.
    void twinLarkOcrWithBase64ImageData(const QByteArray &image, QXSceneCallback callback);
    // The same through iFlytek's document OCR with its signed header fields.
    void ocrWithBase64ImageData(const QByteArray &image, QXSceneCallback callback);
    // Asks the voice-chip vendor for an access token from the chip data the device
    // reported, stores token and expiry in the application state, and calls back
    // (true, the token).
    void getIFlytekTokenWithCallback(QXSceneCallback callback);

    // The reachability answer ("true" = not reachable); empty restores the system's.
    void setReachabilityCheck(std::function<bool()> isNotReachable);

    int requestsInFlight() const { return m_inFlight; }

private:
    void send(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback);
    void finish(QNetworkReply *reply, const std::shared_ptr<QXNetBaseScene> &scene, const QXSceneCallback &callback,
                const QString &logName);

    QNetworkAccessManager *m_manager = nullptr;
    std::function<bool()> m_isNotReachable;
    int m_inFlight = 0;
};
