#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QTranslator;

// Qt's own texts (the standard buttons, the file dialog's "Look in", the context
// menus of text fields) in the interface language rather than always in English.
// Qt's catalogues come from the system's translations folder; a language Qt has no
// catalogue for keeps Qt's English.
class QtOwnTexts : public QObject {
public:
    explicit QtOwnTexts(QString catalogueDir = defaultCatalogueDir(), QObject *parent = nullptr);
    ~QtOwnTexts() override;

    // Loads Qt's texts for an interface-language index (0-17: that language; 18 or
    // more: the desktop session's language), replacing what was loaded before.
    void follow(quint64 uiLanguageIndex);
    // The locale whose catalogue is loaded ("de", "zh_CN"); empty while Qt's English shows.
    QString loadedLocale() const { return m_loaded; }

    // Qt's own translations folder.
    static QString defaultCatalogueDir();
    // The Qt locale for a string-table folder ("zh-Hant" -> "zh_TW", "fil" -> "fil").
    static QString localeForFolder(const QString &folder);

private:
    QString m_dir;
    QString m_loaded;
    std::unique_ptr<QTranslator> m_translator;
};
