#include "HRVLocalizedString.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "PZLog.h"
#include "QXLanguageManager.h"
#include "SourceFiles.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Tables written to a temporary folder in place of the shipped resources.
class LocalizationOverTables : public ::testing::Test {
protected:
    QTemporaryDir dir;

    void SetUp() override
    {
        write("en.json", R"({"知道了":"OK","空":"","数":3})");
        write("zh-Hans.json", R"({"知道了":"知道了"})");
        write("bg.json", R"({"知道了":"Добре"})");
        write("ja.json", R"({"知道了": "了解")"); // cut short
        write("ru.json", R"(["知道了"])");        // not an object
        HRVLocalizedString::setTableDirectory(dir.path());
    }
    void TearDown() override
    {
        HRVLocalizedString::setTableDirectory({});
        QLocale::setDefault(QLocale::system());
    }
    void write(const char *name, const char *json)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
    }
    static QString text(const char *key, quint64 index)
    {
        return HRVLocalizedString::localizedString(QString::fromUtf8(key), index);
    }
};

TEST_F(LocalizationOverTables, LooksUpTheChosenTableAndFallsBackToTheKey)
{
    struct Row {
        const char *what;
        quint64 index;
        const char *key;
        const char *expected;
    };
    const Row rows[] = {
        {"translated", 2, "知道了", "OK"},
        {"absent from the table", 2, "取消", "取消"},
        {"empty translation", 2, "空", "空"},
        {"translation that is not text", 2, "数", "数"},
        {"Chinese table without the key", 0, "取消", "取消"},
        {"last table", 17, "知道了", "Добре"},
        {"table file missing", 4, "知道了", "知道了"},
        {"malformed table", 3, "知道了", "知道了"},
        {"table that is not an object", 5, "知道了", "知道了"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(text(row.key, row.index), QString::fromUtf8(row.expected)) << row.what;

    // The broken tables are reported, once each.
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("i18n-bad:") + dir.filePath("ja.json")));
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("i18n-bad:") + dir.filePath("ru.json")));
    EXPECT_TRUE(qxLoggedOnce(QStringLiteral("i18n-missing:") + dir.filePath("vi.json")));
}

TEST_F(LocalizationOverTables, BeyondTheTableFollowsTheSessionLanguage)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(text("知道了", 18), "OK");
    EXPECT_EQ(text("知道了", 1000), "OK");
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    EXPECT_EQ(text("知道了", 18), QString::fromUtf8("Добре"));
    QLocale::setDefault(QLocale(QLocale::Swahili, QLocale::Kenya)); // no table for it
    EXPECT_EQ(text("知道了", 18), QString::fromUtf8("知道了"));
}

TEST(LocalizationFolders, ByIndexAndBySessionLanguage)
{
    const std::pair<quint64, const char *> byIndex[] = {{0, "zh-Hans"}, {1, "zh-Hant"}, {2, "en"},  {6, "ar"},
                                                        {15, "fil"},    {16, "ms"},     {17, "bg"}, {18, ""}};
    for (auto [index, folder] : byIndex)
        EXPECT_EQ(HRVLocalizedString::folderForIndex(index), QString::fromLatin1(folder)) << index;

    const std::pair<QStringList, const char *> byLocale[] = {
        {{"en-US", "en"}, "en"},
        {{"zh-Hant-TW"}, "zh-Hant"},
        {{"zh-HK"}, "zh-Hant"},
        {{"zh-Hans-CN"}, "zh-Hans"},
        {{"zh"}, "zh-Hans"},
        {{"sw-KE", "fr-FR"}, "fr"},
        {{"fil-PH"}, "fil"},
        {{"C"}, ""},
        {{}, ""},
    };
    for (const auto &[names, folder] : byLocale)
        EXPECT_EQ(HRVLocalizedString::folderForLocaleNames(names), QString::fromLatin1(folder))
            << names.join(',').toStdString();
}

// Through the shipped tables and the application's language manager.
TEST(Localization, FollowsTheInterfaceLanguageAtOnce)
{
    MemoryKeyValueStore store;
    QXLanguageManager languages(store);
    ScopedInstall<QXLanguageManager> installed(&languages);
    languages.setUiLanguageIndex(2);
    EXPECT_EQ(hrvAppLocalizedString(QString::fromUtf8("英语")), "English");
    EXPECT_EQ(hrvAppLocalizedString(QString::fromUtf8("没有这句")), QString::fromUtf8("没有这句"));
    languages.setUiLanguageIndex(1);
    EXPECT_EQ(hrvAppLocalizedString(QString::fromUtf8("英语")), QString::fromUtf8("英語"));
    languages.setUiLanguageIndex(0);
    EXPECT_EQ(hrvAppLocalizedString(QString::fromUtf8("英语")), QString::fromUtf8("英语"));
}

// A C++ string literal's text: \" and \\ are one character.
QString unescaped(QString literal)
{
    static const QRegularExpression escape(QStringLiteral(R"(\\(["\\]))"));
    return literal.replace(escape, QStringLiteral("\\1"));
}

// Walks the sources for texts handed to the localiser: literal arguments of its entry
// points, and of helpers that take a text and pass it on (tip("...", image)).
TEST(Localization, EveryTextTheCodeLocalisesHasAnEnglishEntry)
{
    QFile table(QStringLiteral(QX_SOURCE_DIR "/foundation/i18n/en.json"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QJsonObject english = QJsonDocument::fromJson(table.readAll()).object();
    const QString entry = QStringLiteral("hrvAppLocalizedString|localizedString|localizedText|localized|localize|unit");
    const QRegularExpression helper(
        QStringLiteral(
            R"re(\b(\w+)\((?:[^(),]*,\s*)?const char \*(\w+)[^)]*\)[^{;]*\{[^}]*\b(?:%1)\(QString::fromUtf8\(\2\)\))re")
            .arg(entry));
    QStringList missing;
    int found = 0;
    for (const auto &[fileName, code] : cppSources(QStringLiteral(QX_SOURCE_DIR))) {
        QStringList names{entry};
        for (auto m = helper.globalMatch(code); m.hasNext();)
            names << m.next().captured(1);
        const QRegularExpression call(
            QStringLiteral(
                R"re(\b(?:%1)\(\s*(?:[\w.>*&-]+,\s*)?(?:QStringLiteral\(|QString::fromUtf8\()?"((?:[^"\\]|\\.)*)")re")
                .arg(names.join(u'|')));
        for (auto m = call.globalMatch(code); m.hasNext(); ++found)
            if (const QString key = unescaped(m.next().captured(1)); !english.contains(key))
                missing << key + QStringLiteral(" (") + fileName + u')';
    }
    EXPECT_GT(found, 20); // the walk still finds the calls
    EXPECT_TRUE(missing.isEmpty()) << "no English text for: " << missing.join(QStringLiteral(", ")).toStdString();
}

} // namespace
