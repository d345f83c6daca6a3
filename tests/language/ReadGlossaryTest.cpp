// One word per thing: wherever an English text names one of the product's terms, every
// other table says it with the word its glossary gives.
#include "HRVLocalizedString.h"
#include "QXLanguageManager.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
QJsonObject read(const QString &name)
{
    QFile file(QStringLiteral(QX_SOURCE_DIR "/foundation/i18n/%1.json").arg(name));
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}
} // namespace

TEST(ReadGlossary, EveryTableNamesEachTermWithItsGlossaryWord)
{
    const QJsonArray terms = read(QStringLiteral("glossary")).value(QLatin1String("terms")).toArray();
    const QJsonObject english = read(QStringLiteral("en"));
    ASSERT_GE(terms.size(), 7);
    QStringList wrong;
    for (const QJsonValue &term : terms) {
        const QString name = term[QLatin1String("english")].toString();
        const QRegularExpression names(QStringLiteral("\\b") + QRegularExpression::escape(name) + QStringLiteral("\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
        const auto uses = std::count_if(english.begin(), english.end(), [&](const QJsonValue &text) {
            return names.match(text.toString()).hasMatch();
        });
        EXPECT_GT(uses, 0) << "no English text names " << name.toStdString();
        for (quint64 index = 0; index < QXLanguageManager::kUiLanguageCount; ++index) {
            const QString folder = HRVLocalizedString::folderForIndex(index);
            const QJsonValue word = term[QLatin1String("words")][folder];
            EXPECT_FALSE(word.isUndefined()) << name.toStdString() << " has no word in " << folder.toStdString();
            // Simplified Chinese texts are the keys the English was made from.
            if (folder == QLatin1String("en") || folder == QLatin1String("zh-Hans"))
                continue;
            const QStringList forms = word.isArray() ? word.toVariant().toStringList() : QStringList{word.toString()};
            const QJsonObject table = read(folder);
            for (auto it = english.begin(); it != english.end(); ++it) {
                const QString text = table.value(it.key()).toString();
                if (names.match(it.value().toString()).hasMatch()
                    && std::none_of(forms.begin(), forms.end(),
                                    [&](const QString &form) { return text.contains(form, Qt::CaseInsensitive); }))
                    wrong << folder + u' ' + name + QStringLiteral(": ") + text;
            }
        }
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QStringLiteral("\n")).toStdString();
}
