#pragma once

#include <QString>

// One turn of the native AI chat.
struct QXAIContentModel {
    QXAIContentModel(); // clientId from the current time, in whole seconds
    QString question;
    QString answer;
    QString clientId;
    bool isFinished = false;

    // The answer's text. A streamed answer holds pieces separated by "=====end=====";
    // then the text is that of the last piece (from the last back to the second) whose
    // "data" is an object. Otherwise the answer unchanged.
    QString lastAnswer() const;
};

inline constexpr const char kChatPieceMarker[] = "=====end=====";
