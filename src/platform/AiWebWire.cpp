#include "platform/AiWebWire.h"

#include <QCborArray>
#include <QCborValue>
#include <QtEndian>

namespace platform::aiwebwire {
namespace {

constexpr int kHeader = 4;
// Names, types and addresses are short; a message body or an error may be long.
constexpr qsizetype kMaxShortText = 64 * 1024;

std::optional<QString> text(const QCborMap &m, const char *key, qsizetype max = kMaxShortText)
{
    const QCborValue v = m.value(QLatin1String(key));
    if (!v.isString() || v.toString().size() > max)
        return std::nullopt;
    return v.toString();
}

std::optional<qint64> integer(const QCborMap &m, const char *key, qint64 low, qint64 high)
{
    const QCborValue v = m.value(QLatin1String(key));
    if (!v.isInteger() || v.toInteger() < low || v.toInteger() > high)
        return std::nullopt;
    return v.toInteger();
}

std::optional<bool> boolean(const QCborMap &m, const char *key)
{
    const QCborValue v = m.value(QLatin1String(key));
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

// An address the page may name: any URL that parses, but never one of unbounded size.
std::optional<QUrl> address(const QCborMap &m, const char *key)
{
    const auto t = text(m, key);
    if (!t)
        return std::nullopt;
    return QUrl(*t);
}

// Results are plain JSON-like values: nested no deeper than a page needs, no tags.
bool plainValue(const QCborValue &v, int depth)
{
    if (depth > 16)
        return false;
    if (v.isArray()) {
        for (const QCborValue &e : v.toArray())
            if (!plainValue(e, depth + 1))
                return false;
        return true;
    }
    if (v.isMap()) {
        const QCborMap map = v.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            if (!it.key().isString() || !plainValue(it.value(), depth + 1))
                return false;
        return true;
    }
    return v.isString() || v.isInteger() || v.isDouble() || v.isBool() || v.isNull() || v.isUndefined();
}

constexpr qint64 kMaxId = 0xffffffffLL;

} // namespace

QByteArray frame(const QString &kind, QCborMap fields)
{
    fields.insert(QStringLiteral("k"), kind);
    const QByteArray body = fields.toCborValue().toCbor();
    QByteArray out(kHeader, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(body.size()), out.data());
    return out + body;
}

void FrameReader::append(const QByteArray &bytes)
{
    if (!m_failed)
        m_buffer.append(bytes);
}

std::optional<QByteArray> FrameReader::next()
{
    if (m_failed || m_buffer.size() < kHeader)
        return std::nullopt;
    const qint64 length = qFromBigEndian<quint32>(m_buffer.constData());
    if (length > m_maxFrame) {
        m_failed = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (m_buffer.size() < kHeader + length)
        return std::nullopt;
    QByteArray payload = m_buffer.mid(kHeader, length);
    m_buffer.remove(0, kHeader + length);
    return payload;
}

void AnswerBox::deliver(quint32 request, const QCborMap &answer)
{
    if (m_awaited.count(request))
        m_answers[request] = answer;
}

std::optional<QCborMap> AnswerBox::end(quint32 request)
{
    m_awaited.erase(request);
    const auto it = m_answers.find(request);
    if (it == m_answers.end())
        return std::nullopt;
    QCborMap answer = it->second;
    m_answers.erase(it);
    return answer;
}

std::optional<HelperEvent> parseHelperEvent(const QByteArray &payload)
{
    // Converting a few MiB of a page's values costs the main thread seconds.
    if (payload.size() > kMaxEvent)
        return std::nullopt;
    QCborParserError error;
    const QCborValue root = QCborValue::fromCbor(payload, &error);
    if (error.error != QCborError::NoError || !root.isMap())
        return std::nullopt;
    const QCborMap m = root.toMap();
    const auto kind = text(m, "k");
    if (!kind)
        return std::nullopt;
    HelperEvent e;
    if (*kind == QLatin1String("ready")) {
        // An X resource id has 29 bits: a larger number would be cut to someone's window.
        const auto window = integer(m, "window", 1, 0x1fffffff);
        const auto otr = boolean(m, "otr");
        if (!window || !otr)
            return std::nullopt;
        e.kind = HelperEvent::Kind::Ready;
        e.windowId = quint64(*window);
        e.offTheRecord = *otr;
        return e;
    }
    if (*kind == QLatin1String("loading")) {
        const auto status = integer(m, "status", 0, 3);
        const auto url = address(m, "url");
        const auto code = integer(m, "code", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        const auto err = text(m, "error");
        if (!status || !url || !code || !err)
            return std::nullopt;
        e.kind = HelperEvent::Kind::Loading;
        e.status = IAiWebHost::LoadStatus(*status);
        e.url = *url;
        e.errorCode = int(*code);
        e.text = *err;
        return e;
    }
    if (*kind == QLatin1String("shown") || *kind == QLatin1String("newWindow")) {
        const auto url = address(m, "url");
        const auto type = *kind == QLatin1String("shown") ? text(m, "type") : std::optional<QString>(QString());
        // A helper that does not say whether the user asked for the window: not asked.
        const auto gesture = m.contains(QStringLiteral("gesture")) ? boolean(m, "gesture") : std::optional<bool>(false);
        if (!url || !type || !gesture)
            return std::nullopt;
        e.userGesture = *kind == QLatin1String("newWindow") && *gesture;
        e.kind = *kind == QLatin1String("shown") ? HelperEvent::Kind::Shown : HelperEvent::Kind::NewWindow;
        e.url = *url;
        e.text = *type;
        return e;
    }
    if (*kind == QLatin1String("message")) {
        const auto name = text(m, "name", 256);
        const auto json = text(m, "json", kMaxEvent);
        if (!name || !json)
            return std::nullopt;
        e.kind = HelperEvent::Kind::ScriptMessage;
        e.text = *name;
        e.json = *json;
        return e;
    }
    if (*kind == QLatin1String("download")) {
        const auto id = integer(m, "id", 0, kMaxId);
        const auto url = address(m, "url");
        const auto type = text(m, "type");
        const auto name = text(m, "name");
        const auto link = boolean(m, "link");
        if (!id || !url || !type || !name || !link)
            return std::nullopt;
        e.kind = HelperEvent::Kind::Download;
        e.download = {quint32(*id), *url, *type, *name, *link};
        return e;
    }
    if (*kind == QLatin1String("progress")) {
        const auto id = integer(m, "id", 0, kMaxId);
        const auto state = integer(m, "state", 0, 2);
        const auto received = integer(m, "received", 0, std::numeric_limits<qint64>::max());
        const auto total = integer(m, "total", -1, std::numeric_limits<qint64>::max());
        const auto path = text(m, "path");
        const auto err = text(m, "error");
        if (!id || !state || !received || !total || !path || !err)
            return std::nullopt;
        e.kind = HelperEvent::Kind::DownloadChanged;
        e.update.id = quint32(*id);
        e.update.state = IAiWebHost::DownloadUpdate::State(*state);
        e.update.received = *received;
        e.update.total = *total;
        e.update.path = *path;
        e.update.error = *err;
        return e;
    }
    if (*kind == QLatin1String("chooseFiles") || *kind == QLatin1String("result") || *kind == QLatin1String("pong")) {
        const auto request = integer(m, "request", 0, kMaxId);
        if (!request)
            return std::nullopt;
        e.request = quint32(*request);
        if (*kind == QLatin1String("pong")) {
            e.kind = HelperEvent::Kind::Pong;
            return e;
        }
        if (*kind == QLatin1String("chooseFiles")) {
            const auto multiple = boolean(m, "multiple");
            if (!multiple)
                return std::nullopt;
            e.kind = HelperEvent::Kind::ChooseFiles;
            e.multiple = *multiple;
            return e;
        }
        const QCborValue value = m.value(QStringLiteral("value"));
        if (!plainValue(value, 0))
            return std::nullopt;
        e.kind = HelperEvent::Kind::Result;
        e.value = value.toVariant();
        return e;
    }
    return std::nullopt;
}

} // namespace platform::aiwebwire
