// Feeds arbitrary speech-service messages through the reply parser and the text they
// build up. Input: messages separated by '\n', read as UTF-8, in one recognition.
#include "asr/AsrResultText.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    AsrResultText text;
    for (const QByteArray &line : input.split('\n')) {
        const std::optional<AsrReply> reply = parseAsrReply(QString::fromUtf8(line));
        if (!reply)
            continue;
        const AsrResultText::Report r = text.apply(*reply);
        // A last result ends the recognition; its text is all the sentences kept.
        if (r.isLast != (r.status == 2) || (r.isLast && r.display != text.text()))
            __builtin_trap();
        if (r.isLast)
            text.clear();
    }
    return 0;
}
