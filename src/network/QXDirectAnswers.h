#pragma once

#include "QXAnswerReader.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include <functional>

// Reading of the answers of the OCR uploads and the chip vendor's token request.
// Pure functions, called by the HTTP client, the tests and the fuzzer.

// Content types these requests read as JSON (one more than the scenes accept).
bool qxIsAcceptedDirectContentType(const QByteArray &contentTypeHeader);

// The JSON object or array of a 2xx answer, or the failure an unaccepted content
// type, an empty body or text that is not JSON gives.
QXAnswerOutcome qxDecodeDirectAnswer(const QByteArray &contentTypeHeader, const QByteArray &body);

// Joins the recognised texts with line feeds. The joined text takes the first text
// as it is while it is still empty, so empty texts at the start add no line break
// while later ones add an empty line. A text that is missing or not a string is "".
QString qxJoinRecognisedLines(const QJsonArray &elements, const std::function<QJsonValue(const QJsonValue &)> &textOf);

// The maker's OCR: data.words[i].text joined; (false, the whole answer) when "data"
// is not an object.
QXAnswerOutcome qxReadTwinLarkOcrAnswer(const QJsonValue &answer);

// iFlytek's document OCR: data.document.blocks[i].lines[0].text joined; (false, the
// whole answer) when "data" is not an object.
QXAnswerOutcome qxReadIFlytekOcrAnswer(const QJsonValue &answer);

// The chip vendor's token answer: (true, the token) with its expiry, or (false, the
// whole answer) when it is not an object or carries no token text.
struct QXChipTokenAnswer {
    QXAnswerOutcome outcome;
    QString expireAt; // "" when missing
};
QXChipTokenAnswer qxReadChipTokenAnswer(const QJsonValue &answer);
