#pragma once

// The speech service's replies and the text they add up to. Pure, for tests and the
// fuzz target.

#include <QJsonValue>
#include <QString>

#include <optional>

struct AsrReply {
    enum class Type { Mid, Fin, Last, Other };
    Type type = Type::Other;
    QString text;
    QJsonValue dm; // the semantic answer of a last reply, handed on as it came
};

// Larger messages are not replies of this service; they are not even parsed.
inline constexpr qsizetype kMaxAsrReplyBytes = 1 << 20;

// A reply from one text message: a JSON object whose "status" is 200. Anything else
// (not JSON, not an object, another or no status, too large) is nullopt. A "data"
// that is not an object or a "text" that is not a string reads as ""; an unknown or
// missing "type" is Other.
std::optional<AsrReply> parseAsrReply(QStringView message);
