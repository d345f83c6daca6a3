// The system's os-release file (read for the machine facts of the log header) and the
// device-layer integer reader both take bytes from outside.
#include "QXToolManager.h"
#include "tools/MachineFacts.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QVariantMap fields = MachineFacts::parseOsRelease(bytes);
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key().isEmpty() || it.key().contains(u'='))
            __builtin_trap();
    }
    const int v = QXToolManager::numIntWithData(bytes);
    if (size <= 4 && size > 0 && QXToolManager::numIntWithData(QXToolManager::intToData(v)) != v)
        __builtin_trap();
    return 0;
}
