#pragma once

class KeyValueStore;
class QXLanguageManager;

// Launch step of the language choice: completes the language manager's loading and,
// on the very first run only, starts the interface in Simplified Chinese (index 0)
// whatever the session's locale. The "setSelectLanguage" flag records that this has
// happened, so a language the user picks later survives every restart.
void applyFirstRunInterfaceLanguage(KeyValueStore &store, QXLanguageManager &languages);
