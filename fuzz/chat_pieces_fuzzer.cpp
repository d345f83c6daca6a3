// Feeds arbitrary chat answers to the piece splitter, and the same bytes as answers
// of the OCR and token requests to their readers.
#include "QXChatRequest.h"
#include "QXDirectAnswers.h"
#include "services/QXAIContentModel.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));

    const QStringList texts = qxChatAnswerTexts(body);
    // Every text comes from its own piece, so there are never more texts than pieces.
    if (texts.size() > body.count(kChatPieceMarker) + 1)
        __builtin_trap();

    const QXAnswerOutcome decoded = qxDecodeDirectAnswer("application/json", body);
    if (decoded.success) {
        for (const QXAnswerOutcome &out :
             {qxReadTwinLarkOcrAnswer(decoded.value), qxReadIFlytekOcrAnswer(decoded.value)})
            if (out.success != !out.error.isError() || (out.success && !out.value.isString()))
                __builtin_trap(); // success always carries the recognised text
        const QXChipTokenAnswer token = qxReadChipTokenAnswer(decoded.value);
        if (token.outcome.success && token.outcome.value.toString().isEmpty())
            __builtin_trap(); // a success always carries a token
    }
    return 0;
}
