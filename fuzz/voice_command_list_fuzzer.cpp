// The server's voice-command list answers ({"data": [...], "cmds": [...]}) as the
// command model reads them: any JSON gives no list or a list of whole records.
#include "commands/QXVoiceCommandListItem.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QJsonValue answer = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    const std::optional<QXVoiceCommandListItem> list = QXVoiceCommandListItem::fromJson(answer);
    if (!list)
        return 0;
    const QXVoiceCommandList &commands = list->commands();
    if (&commands != (list->data.isEmpty() ? &list->cmds : &list->data))
        __builtin_trap();
    for (const QXVoiceCommandPtr &command : commands) {
        if (!command || command->typeIndex() < 0 || command->typeIndex() > 5)
            __builtin_trap();
    }
    // What the store is given comes back as the same records.
    if (qxVoiceCommandValues(qxVoiceCommandPointers(qxVoiceCommandValues(commands))) != qxVoiceCommandValues(commands))
        __builtin_trap();
    return 0;
}
