// The add and edit command dialog over a scripted command model and file picker: its
// layout, the voice-mode requests and their outcomes, the key option of mouse mode,
// the target records, and the dialog's lifetime.
#include "AddCommandDialogs.h"
#include "FakeCommandModel.h"
#include "FakeGlobalShortcuts.h"
#include "KeySettingSubModel.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "ScriptedFilePicker.h"
#include "ShortcutAction.h"
#include "TargetRecords.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXTextField.h"
#include "controls/ShortcutRecorder.h"

#include <QAction>
#include <QTest>

using Item = QXVoiceCommandItem;
using ItemPtr = std::shared_ptr<Item>;

class Cmd3Dialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        binder.setAllowAnyShortcutWithOptionModifier(true);
        host->resize(900, 600);
        host->show();
    }
    AddCommandView *open(bool mouse, std::shared_ptr<KeySettingSubModel> option = {}, ItemPtr record = {})
    {
        auto *view = dialogs.open(host.get(), mouse, std::move(option), std::move(record), [this](bool ok) {
            finishes << ok;
            if (destroyHostOnFinish)
                host.reset();
        });
        return static_cast<AddCommandView *>(view);
    }
    static void pick(AddCommandView *view, int selection) { view->typeBtn()->allMenuItem().at(selection)->trigger(); }
    static void fill(AddCommandView *view, const QString &word, const QString &target)
    {
        view->wordTextField()->setText(word);
        view->pathTextField()->setText(target);
    }
    static ItemPtr item(const char *type, const QString &word, const QString &target)
    {
        return std::make_shared<Item>(Item{QString::fromUtf8(type), word, target, {}, {}});
    }
    static std::shared_ptr<KeySettingSubModel> option(const std::optional<QString> &id, const QString &attr0)
    {
        auto o = std::make_shared<KeySettingSubModel>();
        if (id)
            o->setIdStr(*id);
        o->setAttr0(attr0);
        return o;
    }
    QTemporaryDir dir;
    MemoryKeyValueStore store;
    TargetRecords targets{store};
    FakeGlobalShortcuts grabs;
    platform::ShortcutBinder binder{store, &grabs};
    FakeCommandModel commands;
    ScriptedFilePicker files;
    QStringList alerts; // "message/detail"
    AddCommandDialogs dialogs{
        {&commands, &targets, &files, &binder, [this](const QString &m, const QString &d) { alerts << m + "/" + d; }}};
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    QList<bool> finishes;
    bool destroyHostOnFinish = false;
};

TEST(Cmd3DialogMapping, SelectionsAndTypesPerMode)
{
    const int voiceTypes[] = {0, 1, 2, 4, 0, 0}; // selections 0..4, -1
    const int selections[] = {0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(AddCommandView::typeIndexFromSelectIndex(false, selections[i]), voiceTypes[i]) << selections[i];
    const int voiceSelections[] = {0, 1, 2, 0, 3, 0, 0}; // types 0..5, 9
    const int types[] = {0, 1, 2, 3, 4, 5, 9};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(AddCommandView::selectIndexFromTypeIndex(false, types[i]), voiceSelections[i]) << types[i];
    for (int i = 0; i <= 4; ++i)
        EXPECT_TRUE(AddCommandView::typeIndexFromSelectIndex(true, i) == i
                    && AddCommandView::selectIndexFromTypeIndex(true, i) == i);
}

TEST_F(Cmd3Dialog, GeometryFollowsTheMode)
{
    AddCommandView *voice = open(false);
    EXPECT_EQ(voice->geometry(), host->rect());
    EXPECT_EQ(voice->contentView()->geometry(), QRect(60, 85, 570, 410));
    EXPECT_EQ(voice->createBtn()->geometry(), QRect(175, 344, 85, 31));
    EXPECT_EQ(voice->cancelBtn()->x(), 310);
    EXPECT_EQ(voice->functionLabel3()->y(), 261);
    EXPECT_EQ(voice->typeBtn()->geometry(), QRect(220, 107, 172, 34));

    AddCommandView *mouse = open(true, option("opt7", ""), item("shortcuts", "", ""));
    EXPECT_EQ(mouse->contentView()->geometry(), QRect(60, 125, 570, 330));
    EXPECT_EQ(mouse->createBtn()->geometry(), QRect(175, 264, 85, 31));
    EXPECT_EQ(mouse->functionLabel3()->y(), 181);
    EXPECT_FALSE(mouse->wordView()->isVisible());
    EXPECT_FALSE(mouse->typeBtn()->isEnabled());
}

TEST_F(Cmd3Dialog, SelectionDecidesCaptionBrowseAndRecorder)
{
    const struct {
        bool mouse;
        int type;
        bool browse, recorder;
        const char *caption;
    } rows[] = {
        {false, 0, true, false, "执行路径"},  {false, 1, true, false, "执行路径"}, {false, 2, false, false, "网页"},
        {false, 4, false, false, "固定文本"}, {true, 3, false, true, "快捷键"},    {true, 4, false, false, "固定文本"},
    };
    for (const auto &r : rows) {
        AddCommandView *view = open(r.mouse, option("o", ""), item("", "", ""));
        if (r.mouse) {
            auto record = item("", "", "");
            record->setTypeIndex(r.type);
            view->setModel(record);
        } else {
            view->pathTextField()->setText("typed");
            pick(view, AddCommandView::selectIndexFromTypeIndex(false, r.type));
            EXPECT_EQ(view->pathTextField()->text(), "") << "a pick empties the target";
        }
        EXPECT_EQ(view->moreBtn()->isVisible(), r.browse) << r.caption;
        EXPECT_EQ(view->shortcutsView()->isVisible(), r.recorder) << r.caption;
        EXPECT_EQ(view->pathTextField()->isVisible(), !r.recorder) << r.caption;
        EXPECT_EQ(view->functionLabel3()->text(), QString::fromUtf8(r.caption));
        view->cancelBtnClicked();
    }
}

TEST_F(Cmd3Dialog, LoadsRecordsAndKeyOptions)
{
    AddCommandView *music = open(false, {}, item("folder", "音乐", "file:///home/u/Music"));
    EXPECT_EQ(music->typeBtn()->selectIndex(), 1);
    EXPECT_EQ(music->wordTextField()->text(), "音乐");
    EXPECT_EQ(music->pathTextField()->text(), "file:///home/u/Music");
    EXPECT_EQ(music->createBtn()->text(), "创建");
    // Types voice mode does not offer open as a file, their target as it stands.
    for (const char *type : {"shortcuts", "macro"}) {
        AddCommandView *other = open(false, {}, item(type, "k", R"({"keyCode":40})"));
        EXPECT_EQ(other->typeBtn()->selectIndex(), 0) << type;
        EXPECT_EQ(other->typeBtn()->stringValue(), "文件") << type;
        EXPECT_EQ(other->pathTextField()->text(), R"({"keyCode":40})");
    }
    AddCommandView *key = open(true, option("opt7", "file:///x"), item("file", "", ""));
    EXPECT_EQ(key->pathTextField()->text(), "file:///x");
    EXPECT_EQ(key->createBtn()->text(), "保存");
    EXPECT_EQ(key->shortcutsView()->associatedUserDefaultsKey(), "opt7");
    // An option with an empty id or none leaves the recorder unbound: no key shared by all of them.
    for (const std::optional<QString> &id : {std::optional<QString>(""), std::optional<QString>()}) {
        ShortcutRecorder *recorder = open(true, option(id, ""), item("shortcuts", "", ""))->shortcutsView();
        EXPECT_FALSE(recorder->isBound()) << id.has_value();
        EXPECT_EQ(recorder->associatedUserDefaultsKey(), "") << id.has_value();
    }
    // A long target is kept whole.
    const QString longTarget(10000, QChar('a'));
    EXPECT_EQ(open(false, {}, item("text", "w", longTarget))->pathTextField()->text(), longTarget);
}

TEST_F(Cmd3Dialog, VoiceAddChecksThenCreatesAndRecordsAfterTheServerAccepted)
{
    commands.list << item("text", "音乐", "x");
    AddCommandView *view = open(false);
    fill(view, "音乐", "");
    view->createBtnClicked();
    fill(view, "音乐", "x");
    view->createBtnClicked();
    EXPECT_EQ(alerts, (QStringList{"信息不能为空/请填写完整后再创建", "指令词已存在/请重新填写完整后再创建"}));
    EXPECT_TRUE(commands.requests.empty());

    ASSERT_TRUE(QDir(dir.path()).mkpath("Music"));
    const QString target = "file://" + dir.filePath("Music");
    const QString word = QString::fromUtf8("say \"hi\" & a=b #1 😀");
    pick(view, 1);
    fill(view, word, target);
    view->createBtnClicked();
    view->createBtnClicked(); // a second click while the first request runs
    ASSERT_EQ(commands.requests.size(), 1u);
    const Item &sent = *commands.requests[0].item;
    EXPECT_EQ(sent, (Item{"folder", word, target, {}, {}}));
    EXPECT_FALSE(targets.resolve(target)) << "recorded only once the server accepted";
    commands.answer(true);
    EXPECT_EQ(targets.resolve(target), dir.filePath("Music"));
    EXPECT_EQ(finishes, QList<bool>{true});
    EXPECT_EQ(view->wordTextField()->text() + view->pathTextField()->text(), "") << "nothing kept for the next add";
    QPointer<AddCommandView> gone(view);
    EXPECT_FALSE(gone->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());

    // A spaced word is no empty one; a failure closes with NO and records nothing.
    AddCommandView *failing = open(false);
    fill(failing, "  ", target + "2");
    failing->createBtnClicked();
    commands.answer(false, "m");
    EXPECT_EQ(alerts.last(), "创建失败/m");
    EXPECT_EQ(finishes, (QList<bool>{true, false}));
    EXPECT_FALSE(targets.resolve(target + "2"));
}

TEST_F(Cmd3Dialog, VoiceEditDeletesThenCreates)
{
    const ItemPtr old = item("text", "Music", "x");
    commands.list << old << item("text", "other", "y");
    AddCommandView *view = open(false, {}, old);
    // Taking another command's word would let one delete remove both.
    view->wordTextField()->setText("other");
    view->createBtnClicked();
    EXPECT_EQ(alerts, QStringList{"指令词已存在/请重新填写完整后再创建"});
    view->wordTextField()->setText("Music");
    view->createBtnClicked();
    commands.answer(false, "m");
    EXPECT_EQ(alerts.last(), "编辑失败/m");
    EXPECT_FALSE(view->isClosed());
    EXPECT_TRUE(view->createBtn()->isEnabled());

    view->createBtnClicked();
    commands.answer(true);
    commands.answer(false, "m"); // the create after a deleted command fails: it is gone
    EXPECT_EQ(alerts.last(), "创建失败/m");
    EXPECT_EQ(finishes, QList<bool>{false});
    EXPECT_FALSE(commands.list.contains(old));

    // A command of a type the dialog does not offer keeps its type unless the user picks one.
    const ItemPtr shortcut = item("shortcuts", "copy", R"({"keyCode":8})");
    open(false, {}, shortcut)->createBtnClicked();
    commands.answer(true);
    commands.answer(true);
    EXPECT_EQ(commands.requests.back().item->cmdType, "shortcuts");
    EXPECT_EQ(finishes.last(), true);
}

TEST_F(Cmd3Dialog, MouseSaveWritesOnlyTheKeyOption)
{
    const QString file = dir.filePath("a.txt");
    QFile(file).open(QIODevice::WriteOnly);
    const auto opt = option("opt7", "old");
    AddCommandView *view = open(true, opt, item("file", "", ""));
    view->pathTextField()->clear();
    view->createBtnClicked();
    EXPECT_EQ(alerts, QStringList{"信息不能为空/请填写完整后再创建"});
    EXPECT_EQ(opt->attr0(), "old");
    view->pathTextField()->setText("file://" + file);
    view->createBtnClicked();
    EXPECT_EQ(opt->attr0(), "file://" + file);
    EXPECT_EQ(targets.resolve("file://" + file), file) << "recorded at once";
    EXPECT_EQ(finishes, QList<bool>{true});
    EXPECT_TRUE(commands.requests.empty());

    AddCommandView *web = open(true, opt, item("website", "", ""));
    web->pathTextField()->setText("example.com");
    web->createBtnClicked();
    EXPECT_EQ(opt->attr0(), "example.com");
    EXPECT_FALSE(targets.resolve("example.com"));

    // A shortcut: refused while none is recorded, then the three-field JSON.
    opt->setAttr0("{not json");
    AddCommandView *keys = open(true, opt, item("shortcuts", "", ""));
    EXPECT_EQ(keys->shortcutsView()->value(), std::nullopt);
    keys->createBtnClicked();
    EXPECT_EQ(alerts.size(), 2);
    EXPECT_EQ(opt->attr0(), "{not json");
    QTest::mouseClick(keys->shortcutsView(), Qt::LeftButton, {}, QPoint(40, 17));
    QTest::keyClick(keys->shortcutsView(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    keys->createBtnClicked();
    EXPECT_EQ(ShortcutAction::parse(*opt->attr0()), (platform::Shortcut{40, 0x120000}));
    EXPECT_TRUE(opt->attr0()->contains(QString::fromUtf8("\"modifierFlagsString\":\"⇧⌘\"")));
    EXPECT_EQ(QJsonDocument::fromJson(store.value("opt7").toString().toUtf8()).object(),
              (QJsonObject{{"keyCode", 40}, {"modifierFlags", 1179648}}));
    EXPECT_EQ(finishes.size(), 3);
}

TEST_F(Cmd3Dialog, BrowseAsksForTheSelectionsKindOfTarget)
{
    AddCommandView *view = open(false);
    view->pathTextField()->setText("kept");
    view->moreBtnClicked();
    files.answer(std::nullopt);
    EXPECT_EQ(view->pathTextField()->text(), "kept");
    pick(view, 1);
    view->moreBtnClicked();
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[0].request.mode, FilePicker::Mode::FileOrFolder);
    EXPECT_EQ(files.asked[1].request.mode, FilePicker::Mode::Folder);
    EXPECT_EQ(files.asked[1].request.prompt, "打开");
    files.answer("/tmp/a b/文件.txt");
    EXPECT_EQ(view->pathTextField()->text(), "file:///tmp/a b/文件.txt");

    // A folder gone between the pick and the answer: the command still counts, unrecorded.
    view->wordTextField()->setText("w");
    view->pathTextField()->setText("file://" + dir.filePath("gone"));
    view->createBtnClicked();
    commands.answer(true);
    EXPECT_EQ(finishes, QList<bool>{true});
    EXPECT_FALSE(targets.resolve("file://" + dir.filePath("gone")));
}

TEST_F(Cmd3Dialog, CancelAndLateAnswersAndADestroyedHost)
{
    const auto opt = option("opt7", "old");
    QPointer<AddCommandView> view = open(true, opt, item("file", "", ""));
    view->cancelBtnClicked();
    EXPECT_EQ(view->parent(), nullptr) << "out of the host at once";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(opt->attr0(), "old");

    QPointer<AddCommandView> voice = open(false);
    fill(voice, "w", "t");
    voice->moreBtnClicked();
    voice->createBtnClicked();
    voice->cancelBtnClicked();
    commands.answer(false, "late");
    files.answer("/late");
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_TRUE(finishes.isEmpty());

    destroyHostOnFinish = true;
    voice = open(false);
    fill(voice, "w2", "t");
    voice->createBtnClicked();
    commands.answer(true);
    EXPECT_FALSE(host);
    EXPECT_FALSE(voice.isNull()) << "deleted later, not under the callback";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(voice.isNull());
}

TEST_F(Cmd3Dialog, RetitleEmptiesTheWordAndKeepsTheSelectionsCaption)
{
    AddCommandView *view = open(false);
    pick(view, 2);
    view->wordTextField()->setText("x");
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(view->wordTextField()->text(), "");
    EXPECT_EQ(view->functionLabel3()->text(), "网页");
    EXPECT_EQ(view->typeBtn()->selectIndex(), 2);
}
