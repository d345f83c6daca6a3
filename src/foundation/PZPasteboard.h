#pragma once

#include "platform/IClipboard.h"

#include <QString>

// Replaces the clipboard's contents with text. An empty or null text leaves the
// clipboard empty and returns false; otherwise returns whether the clipboard took it.
bool pz_generalPasteboardSetString(const QString &text, platform::IClipboard *clipboard = nullptr);
