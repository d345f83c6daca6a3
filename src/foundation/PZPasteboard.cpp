#include "PZPasteboard.h"

#include "platform/PlatformServices.h"

bool pz_generalPasteboardSetString(const QString &text, platform::IClipboard *clipboard)
{
    platform::IClipboard &cb = clipboard ? *clipboard : *platform::services().clipboard;
    cb.clear();
    if (text.isEmpty())
        return false;
    return cb.setText(text);
}
