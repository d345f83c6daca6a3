#include "HRVLocalizedString.h"

#include "InstalledInstance.h"
#include "PZLog.h"
#include "QXLanguageManager.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

#include <array>
#include <mutex>

// Outside any namespace: the macro declares a function of the resource's name.
static void initTableResources()
{
    // The tables sit in a static library; this reference keeps them in the binary.
    Q_INIT_RESOURCE(qx_i18n);
}

namespace {

constexpr std::array<const char *, QXLanguageManager::kUiLanguageCount> kFolders{{
    "zh-Hans",
    "zh-Hant",
    "en",
    "ja",
    "vi",
    "ru",
    "ar",
    "de",
    "es",
    "fr",
    "id",
    "it",
    "ko",
    "tr",
    "th",
    "fil",
    "ms",
    "bg",
}};

using Table = QHash<QString, QString>;

struct Tables {
    QMutex mutex;
    QString directory; // empty: the resources
    QHash<QString, Table> byFolder;
};

Tables &tables()
{
    static Tables t;
    return t;
}

Table readTable(const QString &path)
{
    Table table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qxLogOnce(QStringLiteral("i18n-missing:") + path,
                  QStringLiteral("string table %1 is missing; texts stay untranslated").arg(path));
        return table;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isObject()) {
        qxLogOnce(QStringLiteral("i18n-bad:") + path,
                  QStringLiteral("string table %1 is not a JSON object (%2); texts stay untranslated")
                      .arg(path, error.errorString()));
        return table;
    }
    const QJsonObject object = doc.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        // An empty or non-text entry is a translation not written yet: show the key.
        if (it->isString() && !it->toString().isEmpty())
            table.insert(it.key(), it->toString());
    }
    return table;
}

QString lookUp(const QString &folder, const QString &key)
{
    if (folder.isEmpty())
        return key;
    static std::once_flag once;
    std::call_once(once, initTableResources);

    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    auto it = t.byFolder.find(folder);
    if (it == t.byFolder.end()) {
        const QString dir = t.directory.isEmpty() ? QStringLiteral(":/i18n") : t.directory;
        it = t.byFolder.insert(folder, readTable(dir + u'/' + folder + QStringLiteral(".json")));
    }
    return it->value(key, key);
}

} // namespace

QString HRVLocalizedString::hrvAppLocalizedString(const QString &key)
{
    // Texts shown before the root installed the language manager (or after it went)
    // stay in the source language.
    const QXLanguageManager *languages = InstalledInstance<QXLanguageManager>::installed();
    return languages ? localizedString(key, languages->uiLanguageIndex()) : key;
}

QString HRVLocalizedString::localizedString(const QString &key, quint64 uiLanguageIndex)
{
    if (uiLanguageIndex < kFolders.size())
        return lookUp(folderForIndex(uiLanguageIndex), key);
    return lookUp(folderForLocaleNames(QLocale().uiLanguages()), key);
}

QString HRVLocalizedString::folderForIndex(quint64 uiLanguageIndex)
{
    return uiLanguageIndex < kFolders.size() ? QString::fromLatin1(kFolders[uiLanguageIndex]) : QString();
}

QString HRVLocalizedString::folderForLocaleNames(const QStringList &uiLanguages)
{
    for (QString name : uiLanguages) {
        name = name.toLower().replace(u'_', u'-');
        const QString language = name.section(u'-', 0, 0);
        if (language == QLatin1String("zh")) {
            const bool traditional = name.contains(QLatin1String("hant")) || name.endsWith(QLatin1String("-tw"))
                                     || name.endsWith(QLatin1String("-hk")) || name.endsWith(QLatin1String("-mo"));
            return traditional ? QStringLiteral("zh-Hant") : QStringLiteral("zh-Hans");
        }
        for (const char *folder : kFolders) {
            if (language == QLatin1String(folder))
                return language;
        }
    }
    return {};
}

void HRVLocalizedString::setTableDirectory(const QString &dir)
{
    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    t.directory = dir;
    t.byFolder.clear();
}
