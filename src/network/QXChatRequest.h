#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QStringList>

#include <memory>
#include <optional>

struct QXAIContentModel;

// The chat endpoint's wire format, as pure functions: the HTTP client, the tests and
// the fuzzer call them directly.

// The chat server decrypts the body with this key; it is part of its protocol.
inline constexpr char kQXChatBodyKey[] = "tovaris_19981107";
// How many of the newest turns go along as context.
constexpr qsizetype kQXChatContextTurns = 5;
// The pause between two answer pieces shown to the user, so the answer grows as if typed.
constexpr int kQXChatPieceSpacingMs = 5;

// The message list of the last turns, oldest first: the user's question of each
// turn, and for a finished turn the assistant's answer after it. A missing text is
// sent as ""; empty slots in the conversation are skipped.
QJsonArray qxChatMessageList(const QList<std::shared_ptr<QXAIContentModel>> &conversation);

// The request body: Base64 of the AES-128-ECB encrypted compact JSON of the list,
// as it is (not quoted). nullopt when the cipher fails.
std::optional<QByteArray> qxChatRequestBody(const QJsonArray &messages);

// The answer texts of a chat answer, in order. The answer is the whole body cut at
// every "=====end====="; a piece counts when it is UTF-8 JSON of an object whose
// "data" is an object with a string "text". Anything else (the empty piece after a
// final marker, a corrupted piece, an error page) is skipped.
QStringList qxChatAnswerTexts(const QByteArray &body);
