#pragma once

#include <QString>

#include <functional>

// What the state objects and key models need of the language tables and the
// localisation, without depending on them: the language manager and the string
// tables install these at start-up. Until then the interface language reads as
// "ZH_CN" (the first-run interface language), the speech language as unknown ("")
// and texts are returned untranslated (the Chinese source text is the key).
struct LanguageHooks {
    std::function<QString()> readUILanguageCode;
    std::function<QString()> readAudioLanguageCode;
    std::function<QString(const QString &)> localizedString;
};

// Installs the hooks (empty members fall back as above); returns the previous set so
// tests can restore it. Safe to call while other threads read.
LanguageHooks installLanguageHooks(const LanguageHooks &hooks);

// The current answers, callable from any thread.
QString currentUILanguageCode();
QString currentAudioLanguageCode();
QString localizedText(const QString &source);
