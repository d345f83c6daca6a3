// Feeds arbitrary server answers through the answer-reading path of the HTTP
// client: content-type check, JSON decoding and every parse mode, then the answer
// models. Input: one status byte, a Content-Type line ending in '\n', the body.
#include "QXAnswerReader.h"
#include "models/QXGoodsModel.h"
#include "models/QXOTAModel.h"

#include <QByteArray>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {

QXAnswerSpec spec(qint64 mode, const char *code, qint64 success, const char *message, const char *data,
                  const char *two = "", bool required = false)
{
    QXAnswerSpec s;
    s.mode = mode;
    s.codeField = QString::fromLatin1(code);
    s.successCode = success;
    s.messageField = QString::fromLatin1(message);
    s.dataOneFloorField = QString::fromLatin1(data);
    s.dataTwoFloorField = QString::fromLatin1(two);
    s.dataRequired = required;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const int kStatuses[] = {200, 200, 200, 201, 204, 301, 400, 401, 404, 500};
    const int status = kStatuses[data[0] % (sizeof kStatuses / sizeof kStatuses[0])];
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype newline = rest.indexOf('\n');
    const QByteArray contentType = newline < 0 ? QByteArray("application/json") : rest.left(newline);
    const QByteArray body = newline < 0 ? rest : rest.mid(newline + 1);

    static const QXAnswerSpec kSpecs[] = {
        spec(0, "rc", 0, "msg", "data"),
        spec(1, "rc", 0, "msg", "data"),
        spec(1, "", 0, "msg", "data"),
        spec(2, "rc", 0, "msg", "data"),
        spec(2, "statusCode", 200, "message", "data"),
        spec(2, "rc", 0, "msg", "data", "x"),
        spec(2, "", 0, "", "access_token", "", true),
        spec(3, "", 0, "", ""),
        spec(4, "rc", 0, "msg", "semantic"),
        spec(7, "rc", 0, "msg", "data"),
    };
    for (const QXAnswerSpec &s : kSpecs) {
        const QXAnswerOutcome out = qxReadHttpAnswer(s, status, contentType, body);
        if (out.success == out.error.isError())
            __builtin_trap(); // a result is either a value or an error, never both or neither
        if (out.success && out.value.isObject()) {
            (void)QXOTAModel::fromJson(out.value.toObject());
            (void)QXGoodsModel::fromJson(out.value.toObject());
        }
    }
    return 0;
}
