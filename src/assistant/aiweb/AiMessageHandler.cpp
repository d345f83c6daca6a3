#include "AiMessageHandler.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <utility>

namespace aiweb {
namespace {

constexpr int kLoggedChars = 512;

QString logLine(const QString &name, const QString &json)
{
    QString shown = json.left(kLoggedChars);
    if (json.size() > kLoggedChars)
        shown += QStringLiteral("…(%1 characters)").arg(json.size());
    return QStringLiteral("userContentController:didReceiveScriptMessage:%1:%2").arg(name, shown);
}

} // namespace

AiMessageAction handleAiMessage(const QString &name, const QString &json)
{
    AiMessageAction action;
    if (json.size() > kMaxMessageBytes) {
        action.logLine = QStringLiteral("userContentController:didReceiveScriptMessage:%1: a body of %2 characters "
                                        "dropped")
                             .arg(name.left(64))
                             .arg(json.size());
        return action;
    }
    action.logLine = logLine(name.left(64), json);
    // "fileSelected" carries the chosen files' data, which nothing uses.
    if (name != QLatin1String("iOS"))
        return action;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return action;
    const QJsonObject body = doc.object();
    const QString what = body.value(QStringLiteral("action")).toString();
    if (what == QLatin1String("goBack")) {
        action.kind = AiMessageAction::Kind::GoBack;
    } else if (what == QLatin1String("checkMicrophonePermission")) {
        action.kind = AiMessageAction::Kind::AnswerMicrophone;
    } else if (what == QLatin1String("copyToClipboard")) {
        // The clipboard is emptied before the text is written, so a copy whose text is
        // missing (or not text) leaves it empty.
        const QJsonValue text = body.value(QStringLiteral("text"));
        action.kind = text.isString() ? AiMessageAction::Kind::CopyToClipboard : AiMessageAction::Kind::ClearClipboard;
        action.text = text.toString();
    }
    return action;
}

std::optional<QString> ScriptMessageLog::line(const QString &name, const QString &logLine, qint64 nowMs)
{
    constexpr size_t kMaxKinds = 16;
    const QString key = m_kinds.size() < kMaxKinds || m_kinds.count(name.left(64)) ? name.left(64) : QString();
    const auto [it, first] = m_kinds.try_emplace(key);
    Kind &kind = it->second;
    if (!first && nowMs - kind.loggedMs < kIntervalMs) {
        ++kind.unlogged;
        return std::nullopt;
    }
    kind.loggedMs = nowMs;
    const int unlogged = std::exchange(kind.unlogged, 0);
    if (unlogged == 0)
        return logLine;
    return logLine + QStringLiteral(" (%1 more unlogged)").arg(unlogged);
}

} // namespace aiweb
