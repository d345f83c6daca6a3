#include "QtOwnTexts.h"

#include "HRVLocalizedString.h"
#include "PZLog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QtOwnTexts::QtOwnTexts(QString catalogueDir, QObject *parent) : QObject(parent), m_dir(std::move(catalogueDir))
{
    // A right-to-left catalogue (Arabic) would turn every window right to left. The
    // pages place their controls left to right at fixed places, so mirrored layouts
    // and alignments put scroll bars over captions: the windows keep their direction,
    // and a right-to-left text still reads right to left inside its box.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

QtOwnTexts::~QtOwnTexts()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString QtOwnTexts::defaultCatalogueDir()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QString QtOwnTexts::localeForFolder(const QString &folder)
{
    if (folder == QLatin1String("zh-Hans"))
        return QStringLiteral("zh_CN");
    if (folder == QLatin1String("zh-Hant"))
        return QStringLiteral("zh_TW");
    return folder;
}

void QtOwnTexts::follow(quint64 uiLanguageIndex)
{
    QString folder = HRVLocalizedString::folderForIndex(uiLanguageIndex);
    if (folder.isEmpty())
        folder = HRVLocalizedString::folderForLocaleNames(QLocale().uiLanguages());
    // English is Qt's own language: no catalogue, and none left from before.
    const QString locale = folder == QLatin1String("en") ? QString() : localeForFolder(folder);
    if (locale == m_loaded && (m_translator || locale.isEmpty()))
        return;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    m_loaded.clear();
    if (locale.isEmpty())
        return;
    auto translator = std::make_unique<QTranslator>();
    // "qt_<locale>" gathers qtbase and the other modules' catalogues; some languages
    // have only the qtbase one.
    if (!translator->load(QStringLiteral("qt_") + locale, m_dir)
        && !translator->load(QStringLiteral("qtbase_") + locale, m_dir)) {
        qxLogOnce(QStringLiteral("qt-texts:") + locale,
                  QStringLiteral("Qt has no texts for %1 in %2; its dialogs stay English").arg(locale, m_dir));
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    m_loaded = locale;
}
