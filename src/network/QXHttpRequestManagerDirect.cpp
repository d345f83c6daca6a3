// The requests of QXHttpRequestManager that use no scene: the streamed chat, the
// OCR uploads and the voice-chip vendor's token.
#include "QXHttpRequestManager.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "MainThread.h"
#include "PZLog.h"
#include "PZString.h"
#include "QXChatRequest.h"
#include "QXDirectAnswers.h"
#include "QXLanguageManager.h"
#include "QXReplyWatch.h"
#include "QXServiceEndpoints.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/QXAIContentModel.h"

#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace {

using Kind = QXNetError::Kind;

constexpr char kChipProductIdKey[] = "chipVendorProductId";
constexpr char kBuiltInChipProductId[] = "4c7e19b2-5d83-4f06-a1e7-92b3c8d05f61";

QXNetError error(Kind kind, const QString &message)
{
    return QXNetError{kind, message, 0};
}

// A URL under a configured base, or nullopt when the base cannot make one.
std::optional<QUrl> serviceUrl(QXService service, const char *path)
{
    const QUrl url(qxServiceBase(service) + QLatin1String(path), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    return url;
}

// A failure found before anything was sent; never before the call returns, so
// callers can finish setting up after the call.
void failLater(const QXSceneCallback &callback, const QXNetError &e)
{
    qxWarning("net") << e.message;
    if (callback)
        postToMainThread([callback, e] { callback(false, QJsonValue(), e); });
}

// With no network the request is not sent and the caller hears so before the call
// returns, as every other request of the client does.
bool refuseWhenUnreachable(bool unreachable, const QXSceneCallback &callback)
{
    if (!unreachable)
        return false;
    if (callback)
        callback(false, QJsonValue(), error(Kind::Unreachable, hrvAppLocalizedString(QStringLiteral("请检查网络"))));
    return true;
}

QHttpPart formField(const QByteArray &name, const QByteArray &value)
{
    QHttpPart part;
    part.setRawHeader("Content-Disposition", "form-data; name=\"" + name + '"');
    part.setBody(value);
    return part;
}

// Reads a JSON answer of an OCR or token request and hands the result on.
void finishJsonRequest(const QXReplyResult &r, const char *what,
                       const std::function<QXAnswerOutcome(const QJsonValue &)> &read, const QXSceneCallback &callback)
{
    QXAnswerOutcome out;
    if (r.error.isError()) {
        out = QXAnswerOutcome{false, QJsonValue(QJsonValue::Undefined), r.error};
    } else {
        out = qxDecodeDirectAnswer(r.contentType, r.body);
        if (out.success)
            out = read(out.value);
    }
    if (out.error.kind == Kind::NoBody)
        out.error.message = hrvAppLocalizedString(out.error.message);
    if (out.success)
        qxInfo("net") << "done" << what;
    else
        qxWarning("net") << "failed" << what << int(out.error.kind) << out.error.code << out.error.message.left(200);
    if (callback)
        callback(out.success, out.value, out.error);
}

// The chat answer's pieces, one per call, spaced so the answer grows as if typed;
// then the closing call of a turn not yet finished.
void replayChatPieces(std::shared_ptr<const QStringList> texts, qsizetype index, std::shared_ptr<QXAIContentModel> turn,
                      QXChatCallback callback)
{
    if (index < texts->size()) {
        turn->answer = texts->at(index);
        if (callback)
            callback(true, turn, QXNetError{});
        Scheduler::instance().singleShot(
            kQXChatPieceSpacingMs,
            [texts = std::move(texts), index, turn = std::move(turn), callback = std::move(callback)]() mutable {
                replayChatPieces(std::move(texts), index + 1, std::move(turn), std::move(callback));
            });
        return;
    }
    if (turn->isFinished)
        return;
    turn->isFinished = true;
    if (callback)
        callback(true, turn, QXNetError{});
}

} // namespace

void QXHttpRequestManager::chatGPT(const QList<std::shared_ptr<QXAIContentModel>> &conversation,
                                   std::shared_ptr<QXAIContentModel> currentModel, QXChatCallback callback)
{
    if (!isMainThread()) {
        postToMainThread(
            [this, conversation, currentModel = std::move(currentModel), callback = std::move(callback)]() mutable {
                chatGPT(conversation, std::move(currentModel), std::move(callback));
            });
        return;
    }
    const auto failEarly = [&](const QString &why) {
        qxWarning("net") << "chat:" << why;
        if (callback)
            postToMainThread(
                [callback, currentModel, why] { callback(false, currentModel, error(Kind::InvalidRequest, why)); });
    };
    if (!currentModel)
        return failEarly(QStringLiteral("no turn to answer"));
    const std::optional<QUrl> url = serviceUrl(QXService::MakerApi, "/chat");
    if (!url)
        return failEarly(QStringLiteral("invalid chat URL"));
    // An empty body could only draw an error page: fail here instead of sending it.
    const std::optional<QByteArray> body = qxChatRequestBody(qxChatMessageList(conversation));
    if (!body)
        return failEarly(QStringLiteral("chat body could not be encrypted"));

    QNetworkRequest request(*url);
    request.setRawHeader("Accept", "text/event-stream");
    request.setRawHeader("Content-Type", "application/json");
    qxInfo("net") << "send POST" << url->host() + url->path();
    QNetworkReply *reply = urlSessionManager()->post(request, *body);
    qxWatchReply(reply, kQXDirectRequestTimeoutMs,
                 [turn = std::move(currentModel), callback = std::move(callback)](const QXReplyResult &r) {
                     if (r.error.isError()) {
                         qxWarning("net") << "chat failed" << int(r.error.kind) << r.error.code << r.error.message;
                         if (callback)
                             callback(false, turn, r.error);
                         return;
                     }
                     auto texts = std::make_shared<const QStringList>(qxChatAnswerTexts(r.body));
                     qxInfo("net") << "chat answer of" << texts->size() << "pieces";
                     replayChatPieces(std::move(texts), 0, turn, callback);
                 });
}

void QXHttpRequestManager::twinLarkOcrWithBase64ImageData(const QByteArray &image, QXSceneCallback callback)
{
    if (!isMainThread()) {
        postToMainThread([this, image, callback = std::move(callback)]() mutable {
            twinLarkOcrWithBase64ImageData(image, std::move(callback));
        });
        return;
    }
    if (refuseWhenUnreachable(validNetworkIsNotReable(), callback))
        return;
    if (image.isEmpty())
        return failLater(callback, error(Kind::InvalidRequest, QStringLiteral("OCR of an empty image")));
    const std::optional<QUrl> url = serviceUrl(QXService::MakerApi, "/ocr");
    if (!url)
        return failLater(callback, error(Kind::InvalidRequest, QStringLiteral("invalid OCR URL")));

    auto *form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    form->append(formField("language",
                           QXLanguageManager::sharedInstance().readToScreenshotsTranslateFromLanguageCode().toUtf8()));
    QHttpPart file;
    file.setRawHeader("Content-Disposition",
                      "form-data; name=\"file\"; filename=\"" + pz::getTimeStr().toLatin1() + ".png\"");
    file.setRawHeader("Content-Type", "image");
    file.setBody(image);
    form->append(file);

    // Qt writes the Content-Type with the form's boundary; a bare "multipart/form-data"
    // set here would leave the server unable to read the form.
    QNetworkReply *reply = urlSessionManager()->post(QNetworkRequest(*url), form);
    form->setParent(reply);
    qxInfo("net") << "send POST" << url->host() + url->path();
    qxWatchReply(reply, kQXDirectRequestTimeoutMs, [callback = std::move(callback)](const QXReplyResult &r) {
        finishJsonRequest(r, "OCR", qxReadTwinLarkOcrAnswer, callback);
    });
}

void QXHttpRequestManager::ocrWithBase64ImageData(const QByteArray &image, QXSceneCallback callback)
{
    if (!isMainThread()) {
        postToMainThread([this, image, callback = std::move(callback)]() mutable {
            ocrWithBase64ImageData(image, std::move(callback));
        });
        return;
    }
    if (refuseWhenUnreachable(validNetworkIsNotReable(), callback))
        return;
    if (image.isEmpty())
        return failLater(callback, error(Kind::InvalidRequest, QStringLiteral("OCR of an empty image")));
    const std::optional<QUrl> url = serviceUrl(QXService::IFlytekOcr, "/v1/service/v1/ocr/recognize_document");
    if (!url)
        return failLater(callback, error(Kind::InvalidRequest, QStringLiteral("invalid OCR URL")));

    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    const QString curTime = pz::getTimeStr();
    const QString param =
        pz::qx_base64EncodeString(pz::convertToJsonData(QJsonObject{{"engine_type", "recognize_document"}}));
    QNetworkRequest request(*url);
    request.setRawHeader("X-Appid", state.xunFeiAppId().toUtf8());
    request.setRawHeader("X-CurTime", curTime.toLatin1());
    request.setRawHeader("X-Param", param.toLatin1());
    request.setRawHeader("X-CheckSum", pz::qx_md5(state.xunFeiAppKey() + curTime + param).toLatin1());

    auto *form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    form->append(formField("engine_type", "recognize_document"));
    form->append(formField("image", image.toBase64()));
    QNetworkReply *reply = urlSessionManager()->post(request, form);
    form->setParent(reply);
    qxInfo("net") << "send POST" << url->host() + url->path();
    qxWatchReply(reply, kQXDirectRequestTimeoutMs, [callback = std::move(callback)](const QXReplyResult &r) {
        finishJsonRequest(r, "document OCR", qxReadIFlytekOcrAnswer, callback);
    });
}

void QXHttpRequestManager::getIFlytekTokenWithCallback(QXSceneCallback callback)
{
    if (!isMainThread()) {
        postToMainThread(
            [this, callback = std::move(callback)]() mutable { getIFlytekTokenWithCallback(std::move(callback)); });
        return;
    }
    if (refuseWhenUnreachable(validNetworkIsNotReable(), callback))
        return;
    const std::optional<QUrl> url = serviceUrl(QXService::ChipVendorToken, "/v1/auth/tokens");
    if (!url)
        return failLater(callback, error(Kind::InvalidRequest, QStringLiteral("invalid token URL")));

    const QXUserInfoData &state = QXUserInfoData::sharedInstance();
    const QString productId = defaultStore().stringValue(QLatin1String(kChipProductIdKey)).trimmed();
    const QJsonObject body{
        {"productId", productId.isEmpty() ? QString::fromLatin1(kBuiltInChipProductId) : productId},
        {"deviceId", state.IFlytekChip_DeviceID().value_or(QString())},
        {"curtime", double(state.IFlytekChip_time())},
        {"checksum", state.IFlytekChip_AuthDataStr().value_or(QString())},
    };
    QNetworkRequest request(*url);
    request.setRawHeader("Content-Type", "application/json");
    QNetworkReply *reply = urlSessionManager()->post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    qxInfo("net") << "send POST" << url->host() + url->path();
    qxWatchReply(reply, kQXDirectRequestTimeoutMs, [callback = std::move(callback)](const QXReplyResult &r) {
        finishJsonRequest(
            r, "chip token",
            [](const QJsonValue &answer) {
                const QXChipTokenAnswer token = qxReadChipTokenAnswer(answer);
                if (token.outcome.success) {
                    // Stored on the main thread, like every other write to the state.
                    QXUserInfoData &state = QXUserInfoData::sharedInstance();
                    state.setIFlytekChip_token(token.outcome.value.toString());
                    state.setIFlytekChip_tokenExpireAt(token.expireAt);
                }
                return token.outcome;
            },
            callback);
    });
}
