// The device settings page and its key rows over a page world: the ports record, the
// maker's API holds each answer until the test gives it.
#include "KeySettingView.h"
#include "MouseSettingViewController.h"

#include "ProfileWorld.h"
#include "QXLanguageManager.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "scenes/QXSaveCustomerKeyScene.h"

#include <QAction>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// Key K1 (a press kind of five actions, one with no name and no options), a "dpi_set"
// section of five steps, report rates 125/500/1000; the page adds the auxiliary block.
const char *const kKeys = R"({"id":"M7","functions":[{"name":"ReportRate","code":"125,500,1000"}],"keyInfos":[
 {"key":"1","name":"K1","childs":[{"name":"单击","childs":[
   {"name":"A","cmd":"Action_VI","first":"1","id":"a"},
   {"name":"F","cmd":"Action_OF","cmdId":"c1","keyId":"k1","opId":"o1","attr0":"/old","edit":"0","id":"f"},
   {"name":"W","cmd":"Action_OW","edit":"0","id":"w"},
   {"name":"W1","cmd":"Action_OW_OFFICIAL","edit":"1","id":"w1"},
   {"cmd":"Action_SK","attr0":"{\"keyCode\":1}&a=b#c","id":"s"}]},{"name":"","childs":[]}]},
 {"key":"dpi_set","name":"D","childs":[{"name":"x","childs":[{"name":"a"},{"name":"b"},{"name":"c"},{"name":"d"},{"name":"e"}]}]}]})";

// A profile of sections with these numbers of press kinds, each with one option.
QByteArray sections(const QList<int> &pressKinds, const char *cmd = "Action_VI")
{
    QStringList keys;
    for (int n : pressKinds) {
        QStringList kinds(n, QStringLiteral(R"({"name":"p","childs":[{"name":"o","cmd":"%1"}]})").arg(cmd));
        keys << QStringLiteral(R"({"key":"1","name":"k","childs":[%1]})").arg(kinds.join(','));
    }
    return QStringLiteral(R"({"id":"M7","keyInfos":[%1]})").arg(keys.join(',')).toUtf8();
}

class Pgs2Page : public ::testing::Test {
protected:
    ProfileWorld w;
    PageWorld &page = w.page;
    QXUserInfoData &st = page.state();
    std::unique_ptr<MouseSettingViewController> vc;

    void SetUp() override
    {
        st.setChipPlan(7);
        st.mouseInfoItem().setIcType(1);
        vc = std::make_unique<MouseSettingViewController>(page.context());
    }
    void show()
    {
        vc->view()->resize(880, 720);
        vc->view()->show();
        QCoreApplication::processEvents();
    }
    void apply(const QByteArray &profile)
    {
        vc->profile().handleModelInfo(ProfileWorld::json(profile), "523", "S9");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    auto &requests() { return page.ports.requests; }
    void answer(std::size_t i, bool ok) { requests().at(i).second(ok, {}, QXNetError{}); }
    QXSaveCustomerKeyScene *save(std::size_t i)
    {
        return dynamic_cast<QXSaveCustomerKeyScene *>(requests()[i].first.get());
    }
    int saves()
    {
        return int(std::count_if(requests().begin(), requests().end(), [](auto &r) {
            return dynamic_cast<QXSaveCustomerKeyScene *>(r.first.get()) != nullptr;
        }));
    }
    KeySettingView *block(int i) { return vc->keyViews().at(i); }
    KeySettingSubView *row(int b, int r) { return block(b)->rows().at(r); }
    void pick(int b, int r, int i) { row(b, r)->popUpBtn()->allMenuItem().at(i)->trigger(); }
    QStringList marks(int b, int r)
    {
        QStringList out;
        for (const KeySettingSubModel &o : row(b, r)->keyModel().childs())
            out << o.first().value_or("-");
        return out;
    }
};

TEST_F(Pgs2Page, AuxiliaryBlockFollowsTheDeviceTheProfileAndTheReceiver)
{
    st.mouseInfoItem().setDpi(2);
    st.setReportRate(500);
    page.ports.vid = 0x3151;
    page.ports.pid = 0x20AB;
    show();
    ASSERT_EQ(vc->keyViews().size(), 1);
    EXPECT_EQ(row(0, 0)->popUpBtn()->itemsArr(), QStringList({"800dpi", "1000dpi", "1200dpi", "1600dpi"}));
    apply(R"({"functions":[{"name":"ReportRate","code":"125,500,1000"}]})");
    ASSERT_EQ(vc->keyViews().size(), 1);
    EXPECT_EQ(block(0)->titleLabel()->text(), "辅助设置");
    EXPECT_EQ(row(0, 0)->titleLabel()->text(), "DPI");
    EXPECT_EQ(row(0, 0)->popUpBtn()->itemsArr(), QStringList({"1000dpi", "1200dpi", "1600dpi", "2400dpi"}));
    EXPECT_EQ(row(0, 0)->popUpBtn()->selectIndex(), 2);
    EXPECT_EQ(row(0, 1)->titleLabel()->text(), "回报率");
    EXPECT_EQ(row(0, 1)->popUpBtn()->itemsArr(), QStringList({"125", "500", "1000"}));
    EXPECT_EQ(row(0, 1)->popUpBtn()->selectIndex(), 1);
    EXPECT_EQ(st.mouseSettingArr().size(), 1); // the key handling sees the block too

    page.ports.vid = 0x248A;
    page.ports.pid = 0x61AB;
    st.mouseInfoItem().setDpi(9); // past the list: nothing selected
    vc->configUI();
    EXPECT_EQ(block(0)->rows().size(), 1);
    EXPECT_EQ(row(0, 0)->popUpBtn()->selectIndex(), -1);
    st.setProductCode("201");
    st.setReportRateArr({});
    vc->configUI();
    EXPECT_TRUE(vc->keyViews().isEmpty());
}

TEST_F(Pgs2Page, BlocksStackByTheirHeightAndHideForAnUnswitchedProduct260)
{
    show();
    st.setProductCode("201");
    apply(sections({2, 1, 3, 0}));
    const QList<QRect> expected{{0, 0, 420, 146}, {0, 176, 420, 92}, {0, 298, 420, 200}, {0, 528, 420, 38}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(block(i)->geometry(), expected[i]) << i;
    EXPECT_EQ(vc->contentView()->height(), std::max(vc->scrollView()->height(), 596));
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(row(2, r)->geometry(), QRect(0, 55 + 54 * r, 420, 34));
    EXPECT_EQ(row(0, 0)->popUpBtn()->x(), 100);

    st.setProductCode("260");
    st.setFuncSwitch(false);
    st.setIsHideDPI(true);
    vc->configUI();
    ASSERT_EQ(vc->keyViews().size(), 4);
    EXPECT_EQ(block(2)->geometry(), expected[2]);
    EXPECT_TRUE(block(2)->isHidden());

    // 200 sections (and the DPI row, back with the new profile): laid out and scrollable.
    apply(sections(QList<int>(200, 1)));
    EXPECT_EQ(vc->contentView()->height(), 201 * (92 + 30));
    EXPECT_GT(vc->scrollView()->verticalScrollBar()->maximum(), 0);
}

TEST_F(Pgs2Page, RgbProductsAnd114TurnTheInterfaceEnglishOnce)
{
    struct Row {
        const char *code;
        bool ambient;
        const char *storedKey; // set beforehand
        const char *notification;
        int titles;
    } rows[] = {
        {"41", false, nullptr, nullptr, 1},
        {"523", true, nullptr, nullptr, 1},
        {"41", false, "isSelectedLanguage", nullptr, 0},
        {"523", false, nullptr, nullptr, 0},
        {"114", false, nullptr, qx::notify::HadUSBInfoNotification, 1},
        {"114", false, "isManualSelect_114", qx::notify::HadUSBInfoNotification, 0},
    };
    for (const Row &r : rows) {
        ProfileWorld world;
        world.s->setProductCode(r.code);
        world.s->setIsAmbientLightSwitch(r.ambient);
        if (r.storedKey)
            world.store().setValue(r.storedKey, true);
        int titles = 0;
        QObject o;
        world.page.notifications.addObserver(qx::notify::kUpdateTitleNotification, &o, [&](auto &) { ++titles; });
        MouseSettingViewController page(world.page.context());
        page.view()->resize(880, 720);
        if (r.notification)
            world.page.notifications.post(r.notification);
        page.configUI();
        EXPECT_EQ(titles, r.titles) << r.code;
        EXPECT_EQ(world.page.data.languages().uiLanguageIndex(), r.titles ? 2u : 0u) << r.code;
        EXPECT_EQ(page.rgbBtn()->isHidden(), std::string(r.code) != "41" && !r.ambient) << r.code;
    }
}

TEST_F(Pgs2Page, AiButtonNeedsAnAiActionAndADisabledProductShowsOnlyTheButtons)
{
    show();
    apply(sections({1}));
    EXPECT_TRUE(vc->enterAIBtn()->isHidden());
    apply(sections({1}, "Action_OPEN_WEBURL"));
    EXPECT_FALSE(vc->enterAIBtn()->isHidden());
    st.setProductCode("412");
    vc->configUI();
    EXPECT_TRUE(vc->contentView()->isHidden() && vc->mouseTypeImageView()->isHidden() && vc->enterAIBtn()->isHidden());
    EXPECT_FALSE(vc->resetKeyFunctionBtn()->isHidden() || vc->refreshBtn()->isHidden());
}

TEST_F(Pgs2Page, ButtonsAndDeviceInformationCallTheirServicesInOrder)
{
    show();
    apply(kKeys);
    page.log.clear();
    vc->refreshBtn()->click();
    vc->permissionBtn()->click();
    vc->enterAIBtn()->click();
    page.notifications.post(qx::notify::HadUSBInfoNotification);
    EXPECT_EQ(page.log.calls,
              QStringList({"clearAllWebsiteData", "httpRequestWithScene", "refresh", "showPermissions", "showInWindow",
                           "httpRequestWithScene", "checkOTAInfo", "checkDongleOTAInfo"}));
    EXPECT_TRUE(vc->isScrollTop());

    // The reset: on success the profile is fetched again without scrolling; a failure changes nothing.
    w.store().setValue("523_S9", "{}");
    for (bool ok : {false, true}) {
        vc->resetKeyFunctionBtn()->click();
        EXPECT_EQ(w.lastQuery().queryItemValue("userModelId"), "M7");
        const std::size_t before = requests().size();
        answer(before - 1, ok);
        EXPECT_EQ(w.store().stringValue("523_S9"), ok ? "" : "{}");
        EXPECT_EQ(requests().size(), before + (ok ? 1 : 0));
        // A fresh profile request: no model id of the profile just reset.
        if (ok)
            EXPECT_EQ(w.lastQuery().queryItemValue("id"), "");
    }
    EXPECT_FALSE(vc->isScrollTop());
}

TEST_F(Pgs2Page, RgbSwitchStartsOffAndFollowsClicksAndTheDevice)
{
    st.setRgbSwitch(false);
    show();
    EXPECT_EQ(vc->rgbBtn()->property("imageName"), "2_switch_off_icon");
    page.log.clear();
    vc->rgbBtn()->click();
    EXPECT_TRUE(w.store().boolValue("rgbSwitchKey"));
    vc->rgbBtn()->click();
    EXPECT_FALSE(w.store().boolValue("rgbSwitchKey"));
    EXPECT_EQ(page.log.calls, QStringList({"sendOpenRGBData", "sendCloseRGBData"}));
    st.setRgbSwitch(true);
    page.notifications.post(qx::notify::kUpdateLightingEffectsNotification);
    EXPECT_EQ(vc->rgbBtn()->property("imageName"), "2_switch_on_icon");
}

TEST_F(Pgs2Page, PicksSaveAndRunTheirOperation)
{
    show();
    apply(kKeys);
    page.log.clear();
    requests().clear();
    pick(2, 0, 3); // DPI step: the device only
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(page.log.calls, QStringList{"sendSetDpiData(3)"});
    EXPECT_EQ(marks(2, 0), QStringList({"0", "0", "0", "1"}));
    EXPECT_EQ(row(2, 0)->keyModel().selectIndex(), 3);

    pick(2, 1, 2); // report rate: saved, then the device
    ASSERT_EQ(requests().size(), 1u);
    const auto *s = save(0);
    EXPECT_EQ(QStringList({s->cmdId, s->keyId, s->opId, s->attr0, s->sn, s->userModelId}),
              QStringList({"", "", "", "", "S9", "M7"}));
    EXPECT_EQ(page.log.calls.last(), "modifyReturnRate(2)");

    // A second pick while the first save is out: both sent, each answer handled once.
    w.store().setValue("523_S9", "{}");
    pick(0, 0, 4); // a shortcut, whose target holds JSON and URL signs
    EXPECT_EQ(save(1)->attr0, "{\"keyCode\":1}&a=b#c");
    EXPECT_EQ(page.commandDialogs.opened.back().record->typeIndex(), 3);
    answer(1, false); // a failed save: the pick stays, the cache too
    EXPECT_EQ(marks(0, 0), QStringList({"0", "0", "0", "0", "1"}));
    EXPECT_EQ(w.store().stringValue("523_S9"), "{}");
    answer(0, true);
    EXPECT_EQ(w.store().stringValue("523_S9"), "");
    EXPECT_EQ(st.mouseSettingArr().first().childs().first().childs().last().first(), "1");
}

TEST_F(Pgs2Page, ActionsWithATargetOpenTheDialogOverThePage)
{
    show();
    apply(kKeys);
    struct Row {
        int option;
        int dialogType; // -1: none
    } rows[] = {{1, 0}, {2, -1}, {3, 2}};
    for (const Row &r : rows) {
        page.commandDialogs.opened.clear();
        requests().clear();
        pick(0, 0, r.option);
        EXPECT_EQ(saves(), 1) << r.option;
        ASSERT_EQ(page.commandDialogs.opened.size(), r.dialogType < 0 ? 0u : 1u) << r.option;
        if (r.dialogType < 0)
            continue;
        const auto &d = page.commandDialogs.opened.back();
        EXPECT_TRUE(d.mouseMode && d.host == vc->view());
        EXPECT_EQ(d.record->typeIndex(), r.dialogType);
        EXPECT_EQ(d.record->customName.value_or("unset"), "");
    }
    requests().clear();
    pick(0, 0, 1);
    EXPECT_EQ(save(0)->attr0, "/old");
    page.commandDialogs.opened.back().keyOption->setAttr0("/new");
    page.commandDialogs.finish(true);
    EXPECT_EQ(save(1)->attr0, "/new");
    EXPECT_EQ(saves(), 2);
    page.commandDialogs.finish(false);
    EXPECT_EQ(saves(), 2);
}

TEST_F(Pgs2Page, ChoicesSetFromCodeSendNothing)
{
    show();
    st.mouseInfoItem().setDpi(4);
    apply(kKeys);
    EXPECT_TRUE(page.ports.requests.size() <= 1 && !page.log.calls.filter("send").size());
    EXPECT_TRUE(row(0, 1)->titleLabel()->isHidden());
    EXPECT_EQ(row(0, 1)->popUpBtn()->x(), 0);
    EXPECT_TRUE(row(0, 1)->popUpBtn()->itemsArr().isEmpty());
    EXPECT_EQ(row(0, 0)->popUpBtn()->itemsArr().last(), "");
    for (qint64 dpi : {4, 7, -1, 1}) {
        st.mouseInfoItem().setDpi(dpi);
        page.notifications.post(qx::notify::HadUSBInfoNotification);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(row(1, 0)->popUpBtn()->selectIndex(), dpi == 1 ? 1 : 4) << dpi;
        EXPECT_EQ(marks(1, 0).count("1"), 1) << dpi;
    }
    EXPECT_EQ(saves(), 0);
    EXPECT_TRUE(page.log.calls.filter("send").isEmpty());
}

// Rows are rebuilt inside the notifications they observe and inside the language
// change they cause; answers and dialogs outlive them. Clean under AddressSanitizer.
class Pgs2KeyRowLifetime : public Pgs2Page {};

TEST_F(Pgs2KeyRowLifetime, RebuildsInsideNotificationsAndAnswersAfterTheRowAreSafe)
{
    show();
    w.store().setValue("523_S9", QString::fromUtf8(kKeys)); // each device information parses at once
    apply(kKeys);
    for (int i = 0; i < 20; ++i) // the "dpi_set" row observes what rebuilds it
        page.notifications.post(qx::notify::HadUSBInfoNotification);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The page rebuilds while the pick that opened the dialog is still running.
    page.commandDialogs.whenOpened = [this] { page.notifications.post(qx::notify::kUpdateFunctionNotification); };
    pick(0, 0, 1); // a save and a dialog out
    page.commandDialogs.whenOpened = nullptr;
    const std::size_t saved = requests().size() - 1;
    apply(kKeys);
    page.notifications.post(qx::notify::HadUSBInfoNotification);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    answer(saved, true);
    page.commandDialogs.opened.back().keyOption->setAttr0("/new");
    page.commandDialogs.finish(true);
    EXPECT_EQ(save(requests().size() - 1)->attr0, "/new");

    // The retitle to English re-enters configUI from inside configUI.
    QObject o;
    page.notifications.addObserver(qx::notify::kUpdateTitleNotification, &o, [this](auto &) { vc->configUI(); });
    st.setProductCode("41");
    vc->configUI();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(vc->keyViews().size(), 3);
    vc.reset();
    page.commandDialogs.finish(true);
}

} // namespace
