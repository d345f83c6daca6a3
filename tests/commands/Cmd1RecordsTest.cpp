// The text forms of command records: list answers, shortcut actions, hot-word entries,
// picked locations and the records of picked targets.
#include "CommandRecords.h"
#include "FakeDesktop.h"
#include "KeyValueStore.h"
#include "ShortcutAction.h"
#include "TargetRecords.h"
#include "commands/QXVoiceCommandListItem.h"
#include "delivery/TextInsertionService.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Cmd1Records, IconNamesHotWordEntriesAndListAnswers)
{
    QXVoiceCommandItem item;
    EXPECT_EQ(commandTypeIconName(item), "4_commandType1_icon");
    item.cmdType = "text";
    EXPECT_EQ(commandTypeIconName(item), "4_commandType5_icon");

    EXPECT_EQ(hotWordEntryText({"a"}), R"(["a"])");
    EXPECT_EQ(hotWordEntryText({"a", "b c", "say \"hi\"", "a/b", "热词"}), R"(["a","b c","say \"hi\"","a/b","热词"])");

    // The first command's word; "-" for an empty list, "none" for no list at all.
    const std::pair<const char *, QString> answers[] = {
        {R"({"data":[],"cmds":[{"customCmd":"c"}]})", "c"},
        {R"({"data":[{"customCmd":"d"}],"cmds":[{"customCmd":"c"}]})", "d"},
        {R"({"data":"x","cmds":[1,"s",null,{"customCmd":"c"}]})", "c"},
        {R"({"data":[7],"cmds":{"customCmd":"c"}})", "-"},
        {R"({})", "none"},
        {R"({"data":[{"customCmd":12,"customName":null,"cmdType":{"a":1}}]})", "12"},
    };
    for (const auto &[answer, first] : answers) {
        const auto list = QXVoiceCommandListItem::fromJson(QJsonDocument::fromJson(answer).object());
        EXPECT_EQ(!list ? "none" : list->commands().isEmpty() ? "-" : *list->commands()[0]->customCmd, first) << answer;
        if (first == "12")
            EXPECT_TRUE(!list->commands()[0]->customName && !list->commands()[0]->cmdType);
    }
}

TEST(Cmd1ShortcutAction, ThreeFieldsWrittenAndReadByName)
{
    const QString shiftCommandK = ShortcutAction::toJson({40, 0x120000});
    EXPECT_EQ(QJsonDocument::fromJson(shiftCommandK.toUtf8()).object(),
              (QJsonObject{{"keyCode", 40}, {"modifierFlagsString", "⇧⌘"}, {"modifierFlags", 1179648}}));
    EXPECT_FALSE(shiftCommandK.contains(u' '));
    EXPECT_EQ(ShortcutAction::modifierSymbols(0x1C0000 | 0x20000 | 0xFF), "⌃⌥⇧⌘") << "unknown bits name nothing";
    EXPECT_EQ(ShortcutAction::modifierSymbols(0xC0000), "⌃⌥");

    const struct {
        const char *text;
        std::optional<platform::Shortcut> shortcut;
    } texts[] = {
        {R"({"keyCode":"40","modifierFlags":1179648})", platform::Shortcut{40, 0x120000}},
        {R"({"modifierFlags":"786432","modifierFlagsString":"⌘","keyCode":1})", platform::Shortcut{1, 0xC0000}},
        {R"({"keyCode":9,"modifierFlagsString":"⌘"})", platform::Shortcut{9, 0x100000}}, // older texts
        {R"({"modifierFlags":1})", std::nullopt},
        {"not json", std::nullopt},
        {R"({"keyCode":[1]})", std::nullopt},
        {R"({"keyCode":"1.5"})", std::nullopt},
        {R"({"keyCode":1.5})", std::nullopt},
        {R"({"keyCode":"abc"})", std::nullopt},
        {R"({"keyCode":-1})", std::nullopt},
        {R"({"keyCode":1,"modifierFlags":"x"})", std::nullopt},
    };
    for (const auto &t : texts)
        EXPECT_EQ(ShortcutAction::parse(QString::fromUtf8(t.text)), t.shortcut) << t.text;

    // The replay reads the same text.
    FakeKeyPoster poster;
    FakeClipboard clipboard;
    EXPECT_TRUE(TextInsertionService({clipboard, poster}).handleShortcut(shiftCommandK));
    EXPECT_EQ(poster.strokes, (std::vector<PostedStroke>{{40, 0x120000}}));
}

TEST(Cmd1TargetRecords, PickedTargetsRoundTripAndNothingElseIsRecorded)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("My Files");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString report = folder + "/报告 100%41#1.txt";
    const QString odd = folder + "/a\\b.txt";
    for (const QString &file : {report, odd})
        ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const QString preferences = dir.filePath("preferences.ini");
    const QString picked = pickedLocationText(report);
    EXPECT_EQ(picked, "file://" + report);
    {
        IniKeyValueStore store(preferences);
        TargetRecords records(store);
        for (const QString &target : {picked, "file://localhost" + odd, folder})
            EXPECT_TRUE(records.record(target)) << target.toStdString();

        const QString bad[] = {"",
                               "file://",
                               "file://relative",
                               "~/x",
                               "docs/a.txt",
                               "https://x.y",
                               "/nonexistent/x",
                               "/" + QString(4096, u'a'),
                               folder + QChar(0) + "x",
                               folder + "\nx"};
        for (const QString &target : bad) {
            EXPECT_FALSE(records.record(target)) << target.left(40).toStdString();
            EXPECT_FALSE(records.resolve(target)) << target.left(40).toStdString();
        }
        EXPECT_EQ(store.keys().size(), 3);
        EXPECT_FALSE(records.resolve(report)) << "a text is its own key: the typed path was never picked";
    }
    IniKeyValueStore again(preferences);
    const TargetRecords records(again);
    EXPECT_EQ(records.resolve(picked), report);
    EXPECT_EQ(records.resolve("file://localhost" + odd), odd);
    EXPECT_EQ(records.resolve(folder), folder);
}

// A target's text is the record's key, escaped whole: the store sees one key under the
// records' group, and that percent-encoded key still resolves after a reopen.
TEST(AuditTargetRecords, KeysAreEscapedAndSurviveAReopen)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("a/b c%");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("a")));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const QString targets[] = {file, "file://" + file};
    const QString preferences = dir.filePath("preferences.ini");
    QStringList keys;
    {
        IniKeyValueStore store(preferences);
        TargetRecords records(store);
        for (const QString &target : targets)
            EXPECT_TRUE(records.record(target));
        keys = store.keys();
    }
    ASSERT_EQ(keys.size(), 2);
    for (const QString &key : keys) {
        EXPECT_TRUE(key.startsWith("targetRecords/")) << key.toStdString();
        EXPECT_FALSE(key.mid(14).contains(QRegularExpression("[/ ]|%(?![0-9A-F]{2})"))) << key.toStdString();
    }
    IniKeyValueStore again(preferences);
    EXPECT_EQ(again.keys(), keys);
    const TargetRecords records(again);
    for (const QString &target : targets)
        EXPECT_EQ(records.resolve(target), file) << target.toStdString();
}
