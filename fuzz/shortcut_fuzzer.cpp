// Recorded shortcut text (stored by the command pages, replayed on a mouse key): the
// replay and the reader the pages rebuild a shortcut with.
#include "ShortcutAction.h"
#include "delivery/TextInsertionService.h"
#include "platform/IKeyPoster.h"
#include "platform/PlatformServices.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

struct CountingPoster final : platform::IKeyPoster {
    int strokes = 0;
    bool isAvailable() const override { return true; }
    bool postKeyStroke(int, quint64) override
    {
        ++strokes;
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static CountingPoster poster;
    // The clipboard is not touched by a shortcut: the stand-in will do.
    static TextInsertionService tool({*platform::services().clipboard, poster});
    const int before = poster.strokes;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool posted = tool.handleShortcut(text);
    // A shortcut posts exactly one stroke or nothing at all.
    if (poster.strokes - before != (posted ? 1 : 0))
        __builtin_trap();
    // What the reader accepts, the writer writes back to the same shortcut.
    if (const std::optional<platform::Shortcut> shortcut = ShortcutAction::parse(text)) {
        if (ShortcutAction::parse(ShortcutAction::toJson(*shortcut)) != shortcut)
            __builtin_trap();
    }
    return 0;
}
