// Autostart entries are files anyone may have put in the user's autostart folder: the
// entry reader and the Exec unquoting take them as they come. Whatever path the bytes
// spell, the Exec written for it reads back as that path.
#include "platform/DesktopEntry.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace platform::desktopentry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto group = parseDesktopEntry(bytes)) {
        for (auto it = group->cbegin(); it != group->cend(); ++it)
            if (it.key().isEmpty() || it.key().contains(u'='))
                __builtin_trap();
        (void)autostartRuns(*group, QString());
        (void)execProgram(group->value(QStringLiteral("Exec")));
    }
    const QString path = QString::fromUtf8(bytes);
    const QString exec = execValue(path);
    if (!exec.isEmpty() && execProgram(exec) != path)
        __builtin_trap();
    return 0;
}
