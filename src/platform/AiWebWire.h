#pragma once

#include "platform/IAiWebHost.h"

#include <QByteArray>
#include <QCborMap>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <map>
#include <optional>
#include <set>

// The link between the companion and the AI page's helper process: each message is a
// CBOR map {"k": kind, ...} behind its length (4 bytes, big-endian). The companion
// reads everything the helper sends as outside input: a helper whose engine runs a
// page from the web may be made to say anything.
namespace platform::aiwebwire {

// Scripts of some 100 KiB fit many times over.
constexpr qint64 kMaxFrame = 8 * 1024 * 1024;
// What the helper may send in one event: a script's result or a page's message body
// fits (no page needs more), and anything larger is refused before it is converted.
constexpr qint64 kMaxEvent = 1024 * 1024;

QByteArray frame(const QString &kind, QCborMap fields = {});

// Cuts a byte stream into frame payloads. A length past the reader's bound poisons
// the stream: nothing more comes out of it.
class FrameReader {
public:
    explicit FrameReader(qint64 maxFrame = kMaxFrame) : m_maxFrame(maxFrame) {}
    void append(const QByteArray &bytes);
    std::optional<QByteArray> next();
    bool failed() const { return m_failed; }

private:
    qint64 m_maxFrame;
    QByteArray m_buffer;
    bool m_failed = false;
};

// The helper's answers from the companion: one is taken only while its question waits.
// An answer before the question or after its wait gave up is dropped: kept, it would
// answer a later question of the same number at once, unasked.
class AnswerBox {
public:
    void await(quint32 request) { m_awaited.insert(request); }
    bool has(quint32 request) const { return m_answers.count(request) != 0; }
    void deliver(quint32 request, const QCborMap &answer);
    // Ends the wait: the answer, if it came.
    std::optional<QCborMap> end(quint32 request);

private:
    std::set<quint32> m_awaited;
    std::map<quint32, QCborMap> m_answers;
};

// What the helper says, checked field by field.
struct HelperEvent {
    enum class Kind {
        Ready,
        Loading,
        Shown,
        ScriptMessage,
        Download,
        DownloadChanged,
        NewWindow,
        ChooseFiles,
        Result,
        Pong
    };
    Kind kind = Kind::Pong;
    quint64 windowId = 0;      // Ready: the page's view, to embed
    bool offTheRecord = false; // Ready
    IAiWebHost::LoadStatus status = IAiWebHost::LoadStatus::Started;
    QUrl url; // Loading, Shown, NewWindow
    int errorCode = 0;
    QString text; // Loading: the error; Shown: the MIME type; ScriptMessage: the name
    QString json; // ScriptMessage
    IAiWebHost::Download download;
    IAiWebHost::DownloadUpdate update;
    quint32 request = 0; // ChooseFiles, Result, Pong
    bool multiple = false;
    bool userGesture = false; // NewWindow
    QVariant value;           // Result
};

// nullopt for anything that is not one whole, well-typed event of at most kMaxEvent bytes.
std::optional<HelperEvent> parseHelperEvent(const QByteArray &payload);

} // namespace platform::aiwebwire
