#pragma once

#include "ShortcutBinder.h"

namespace platform {

// Whether a recorded chord may become a global shortcut: a function key (F1-F20)
// with or without modifiers; otherwise it needs Control or Command. Option alone
// counts only with Space or Escape (no text is typed with those), or for any key
// when allowAnyShortcutWithOptionModifier is on; Shift alone never counts, since
// grabbing Shift+letter would take that capital letter from every application.
bool isShortcutValid(const Shortcut &shortcut, bool allowAnyShortcutWithOptionModifier);

} // namespace platform
