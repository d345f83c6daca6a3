// The voice-input row and the screenshot-translation row of the smart-settings page,
// over PageWorld's recorders.
#include "InputSettingView.h"
#include "KeyValueStore.h"
#include "NotificationNames.h"
#include "NotificationRecorder.h"
#include "PageWorld.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "SnipShortcut.h"
#include "SnipTranslateView.h"
#include "controls/QXButton.h"
#include "controls/QXPopUpButton.h"
#include "controls/ShortcutRecorder.h"
#include "platform/KeyCodeTable.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using platform::keys::kFlagAlternate;

const QStringList kBuiltInNames{QStringLiteral("中文简体"), QStringLiteral("韩语"), QStringLiteral("中文繁体"),
                                QStringLiteral("四川话"),   QStringLiteral("粤语"), QStringLiteral("英语（美国）")};

QString imageOf(const QXButton *button)
{
    return button->property("imageName").toString();
}

QJsonArray items(std::initializer_list<std::pair<const char *, const char *>> list)
{
    QJsonArray out;
    for (const auto &[code, name] : list)
        out.append(QJsonObject{{"code", code}, {"name", QString::fromUtf8(name)}});
    return out;
}

void record(ShortcutRecorder *recorder, int key, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(40, 17));
    QTest::keyClick(recorder, Qt::Key(key), modifiers);
}

struct RowWorld {
    PageWorld world;
    KeyValueStore &store = world.data.store();
    RowWorld() { world.data.languages().setAsrLanguageType(1); }
    void post(const char *name) { world.notifications.post(QString::fromLatin1(name)); }
};
} // namespace

TEST(Pgs5InputSettingRow, FirstStartSwitchesAndLanguagePick)
{
    RowWorld w;
    const QStringList before = w.store.keys();
    InputSettingView row(w.world.context());
    EXPECT_EQ(w.store.keys(), before) << "building writes nothing";
    EXPECT_EQ(imageOf(row.punctuationBtn()), "2_switch_off_icon");
    EXPECT_EQ(imageOf(row.longVoiceModeBtn()), "2_switch_on_icon");
    EXPECT_EQ(row.languageBtn()->itemsArr(), kBuiltInNames);
    EXPECT_EQ(row.languageBtn()->selectIndex(), 0);
    EXPECT_EQ(row.viewHeight(), InputSettingView::kHeight);
    EXPECT_EQ(row.shortcutsContentView(), nullptr);

    for (const bool on : {true, false}) {
        row.punctuationBtn()->click();
        EXPECT_EQ(w.store.value("punctuationSwitchKey").toBool(), on);
        EXPECT_EQ(imageOf(row.punctuationBtn()), on ? "2_switch_on_icon" : "2_switch_off_icon");
    }

    NotificationRecorder posts({QString::fromLatin1(qx::notify::kUpdateInputAudioNotification)}, w.world.notifications);
    row.languageBtn()->allMenuItem()[5]->trigger();
    EXPECT_EQ(w.store.value("audioLanguageIndexKey").toInt(), 5);
    EXPECT_EQ(w.store.value("audioLanguageCodeKey").toString(), "EN_US");
    EXPECT_EQ(posts.names().size(), 1);
    EXPECT_EQ(row.languageBtn()->selectIndex(), 5);

    // A profile's own list replaces the items; the stored code is found again.
    w.world.data.languages().setAudioLanguageArr(items({{"ko_kr", "韩语"}, {"en_us", "英语"}}));
    w.post(qx::notify::kUpdateInputAudioListNotification);
    EXPECT_EQ(row.languageBtn()->itemsArr(), (QStringList{"韩语", "英语"}));
    EXPECT_EQ(row.languageBtn()->selectIndex(), 1);
}

TEST(Pgs5InputSettingRow, ShortcutBlockFollowsTheReceiverThroughInsertAndRemoveStorms)
{
    RowWorld w;
    InputSettingView row(w.world.context());
    int refreshes = 0;
    row.setRefreshUIBlock([&] { ++refreshes; });
    const struct {
        qint64 vid, pid;
        quint64 deviceType;
        const char *post;
        int height;
    } steps[] = {
        {0x13BA, 0x12AB, 1, qx::notify::kUSBInsertNotification, 414},
        {0, 0, 3, qx::notify::kUSBRemoveNotification, 414}, // the type is not reset on removal
        {0, 0, 1, qx::notify::kUSBRemoveNotification, 207},
        {0x13CA, 0x12AC, 1, qx::notify::kUSBInsertNotification, 414},
        {0x13CA, 0x12AB, 1, qx::notify::kUSBInsertNotification, 207}, // mixed ids
    };
    for (const auto &s : steps) {
        w.world.ports.vid = s.vid;
        w.world.ports.pid = s.pid;
        w.world.state().mouseInfoItem().setdeviceType(s.deviceType);
        const int before = refreshes;
        w.post(s.post);
        EXPECT_EQ(row.viewHeight(), s.height) << s.vid << s.deviceType;
        EXPECT_EQ(row.shortcutsContentView()->isHidden(), s.height == 207);
        EXPECT_EQ(refreshes, before + 1);
    }

    // A refresh that re-enters: the page re-lays out while the device comes and goes.
    int depth = 0;
    row.setRefreshUIBlock([&] {
        if (++depth < 20)
            w.post(depth % 2 ? qx::notify::kUSBRemoveNotification : qx::notify::kUSBInsertNotification);
    });
    w.world.state().mouseInfoItem().setdeviceType(3);
    w.post(qx::notify::kUSBInsertNotification);
    EXPECT_EQ(depth, 20);
    EXPECT_EQ(row.viewHeight(), 414);
}

TEST(Pgs5InputSettingRow, RecordersStoreAtOnceAndShowTheDefaultForUnusableValues)
{
    RowWorld w;
    // What the HID layer registers when a hot-key receiver opens.
    w.world.shortcuts.registerDefaults(
        {{"WordShortcutKey", {122, 0}}, {"TranslateShortcutKey", {120, 0}}, {"SearchShortcutKey", {99, 0}}});
    w.store.setValue("TranslateShortcutKey", "not json");
    w.store.setValue("SearchShortcutKey", R"({"modifierFlags":0})");
    w.world.state().mouseInfoItem().setdeviceType(3);
    InputSettingView row(w.world.context());
    ASSERT_FALSE(row.shortcutsContentView()->isHidden());
    EXPECT_EQ(row.shortcutsView(1)->displayText(), "F2");
    EXPECT_EQ(row.shortcutsView(2)->displayText(), "F3");

    row.show();
    record(row.shortcutsView(0), Qt::Key_F5, Qt::AltModifier);
    const QJsonObject stored = QJsonDocument::fromJson(w.store.value("WordShortcutKey").toByteArray()).object();
    EXPECT_EQ(stored, (QJsonObject{{"keyCode", 96}, {"modifierFlags", qint64(kFlagAlternate)}}));

    // No global shortcuts on this desktop: the recorder still stores.
    w.world.grabs.available = false;
    record(row.shortcutsView(1), Qt::Key_F6, Qt::AltModifier);
    EXPECT_EQ(row.shortcutsView(1)->displayText(), "Alt+F6");
}

namespace {
struct SnipWorld : RowWorld {
    SnipWorld()
    {
        world.state().setMouseIsConnect(true);
        bindSnipShortcut(world.shortcuts, world.state(), world.neighbours.translate); // as at launch
    }
    bool pressAlt(int macKey) { return world.grabs.press(macKey, kFlagAlternate); }
    int snips() const { return world.log.count("snipTranslate"); }
};
} // namespace

TEST(Pgs5SnipRow, FreshRowAndTheCaptureActionGatedBySwitchAndConnection)
{
    SnipWorld w;
    SnipTranslateView row(w.world.context());
    EXPECT_EQ(imageOf(row.switchBtn()), "2_switch_on_icon");
    EXPECT_TRUE(row.fromLanguageBtn()->itemsArr().isEmpty());
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 5);
    EXPECT_EQ(row.shortcutsView()->value(), (platform::Shortcut{1, kFlagAlternate}));
    EXPECT_EQ(row.viewHeight(), 188);

    // The switch binds again at once; a connection change through the shell's rebind.
    const struct {
        bool connected, switchOn;
        int snips;
    } rows[] = {{true, true, 1}, {true, false, 1}, {false, true, 1}, {true, true, 2}, {false, false, 2}};
    for (const auto &r : rows) {
        if (w.world.state().isConnect() != r.connected) {
            w.world.state().setMouseIsConnect(r.connected);
            bindSnipShortcut(w.world.shortcuts, w.world.state(), w.world.neighbours.translate);
        }
        if (row.switchBtn()->isChecked() != r.switchOn)
            row.switchBtn()->click();
        EXPECT_EQ(w.world.state().screenshotsTranslateSwitch(), r.switchOn);
        EXPECT_EQ(w.pressAlt(1), r.connected && r.switchOn) << r.connected << r.switchOn;
        EXPECT_EQ(w.snips(), r.snips) << r.connected << r.switchOn;
    }
}

TEST(Pgs5SnipRow, RecordingMovesTheGrabAndListsReloadSeparately)
{
    SnipWorld w;
    SnipTranslateView row(w.world.context());
    row.show();
    record(row.shortcutsView(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QJsonDocument::fromJson(w.store.value("SnipShortcutKey").toByteArray()).object(),
              (QJsonObject{{"keyCode", 2}, {"modifierFlags", qint64(kFlagAlternate)}}));
    EXPECT_FALSE(w.world.grabs.isGrabbed(1, kFlagAlternate));
    EXPECT_TRUE(w.pressAlt(2));
    EXPECT_EQ(w.snips(), 1);

    // A recognition list arrives: only the source reloads; the stored ZH_CN is found.
    QXLanguageManager &languages = w.world.data.languages();
    w.world.data.languages().setScreenshotsTranslateFromLanguageArray(items({{"EN_US", "英语"}, {"ZH_CN", "中文"}}));
    languages.setScreenshotsTag(3);
    w.post(qx::notify::kUpdateOCRListNotification);
    EXPECT_EQ(row.fromLanguageBtn()->itemsArr(), (QStringList{"英语", "中文"}));
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 1);
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 5) << "the target is not reloaded";
    languages.setScreenshotsFromTag(0);
    w.post(qx::notify::kUpdateSnipTranslateIndexNotification);
    EXPECT_EQ(row.toLanguageBtn()->selectIndex(), 3);
    EXPECT_EQ(row.fromLanguageBtn()->selectIndex(), 1) << "the source is not reloaded";
}

TEST(Pgs5SnipRow, ChosenFolderIsStoredAsAPlainPathEndingInASlash)
{
    SnipWorld w;
    SnipTranslateView row(w.world.context());
    const QString before = w.world.state().screenshotsPath();
    row.moreBtnClicked();
    w.world.files.answer(std::nullopt);
    EXPECT_EQ(w.world.state().screenshotsPath(), before);
    for (const auto &[chosen, stored] :
         {std::pair{"/home/u/My Pictures", "/home/u/My Pictures/"}, std::pair{"/home/u/截图/", "/home/u/截图/"}}) {
        row.moreBtnClicked();
        w.world.files.answer(QString::fromUtf8(chosen));
        EXPECT_EQ(w.world.state().screenshotsPath(), QString::fromUtf8(stored));
    }
}
