#pragma once

#include <QString>
#include <QStringList>

// User-visible texts are written in Simplified Chinese in the code; that text is the
// key under which the string table of the chosen interface language is searched.
// The tables are JSON objects (source text -> translation), one per interface
// language, shipped as resources under ":/i18n/<folder>.json".
//
// A key the table lacks comes back unchanged, so the interface shows the Chinese
// text rather than nothing. Tables are read once per folder and kept; every call
// reads the current interface language, so a change shows at once.
class HRVLocalizedString {
public:
    // The text of `key` in the interface language chosen inside the application
    // (the installed QXLanguageManager's uiLanguageIndex); the key itself while no
    // language manager is installed.
    static QString hrvAppLocalizedString(const QString &key);

    // The text of `key` for an interface-language index: 0-17 pick the table of that
    // language; 18 or more follow the language of the desktop session.
    static QString localizedString(const QString &key, quint64 uiLanguageIndex);

    // Folder name of the table for an index ("zh-Hans", "en", ...); empty beyond 17.
    static QString folderForIndex(quint64 uiLanguageIndex);
    // The first of the session's preferred languages ("en-US", "zh-Hant-TW", ...) that
    // has a table; empty when none has.
    static QString folderForLocaleNames(const QStringList &uiLanguages);

    // Reads tables from <dir>/<folder>.json instead of the resources (tests); an
    // empty dir goes back to the resources. Drops every table read so far.
    static void setTableDirectory(const QString &dir);
};

// The call every page makes when it shows a text.
inline QString hrvAppLocalizedString(const QString &key)
{
    return HRVLocalizedString::hrvAppLocalizedString(key);
}
