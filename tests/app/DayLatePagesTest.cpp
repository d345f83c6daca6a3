// A page is built when its tab first opens, long after the device, its profile and the
// firmware image have arrived. For every page of the main window and every step of a
// day that its rows observe, a page built before the step and one built after it must
// show the same thing: texts, shown and enabled controls, selections; and neither
// shows a text in another language than the one picked last.
#include "DeviceProfileController.h"
#include "MineHeaderView.h"
#include "NotificationNames.h"
#include "PageWorld.h"
#include "QXLanguageManager.h"
#include "QXLaserPenManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "StaleTexts.h"
#include "controls/QXPopUpButton.h"
#include "controls/QXSegmentedControl.h"
#include "controls/QXTextView.h"
#include "scenes/QXUserInfoScene.h"
#include "services/QXLoginResultModel.h"
#include "views/QXBaseViewController.h"
#include "windows/PageFactory.h"
#include "windows/TabBarEntries.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Two key blocks, the DPI and report rates, the ambient light: what the rows of the
// device, smart and software pages follow.
const char kProfile[] = R"({"id":"M7","functions":[{"name":"ReportRate","code":"125,500,1000"},
 {"name":"DPI","code":"400,800,1600"},{"name":"Voice","code":"true"},{"name":"AmbientLightSwitch","code":"%1"}],
 "keyInfos":[{"key":"1","name":"K1","childs":[{"name":"单击","childs":[
   {"name":"A","cmd":"Action_VI","first":"1","id":"a"},{"name":"W","cmd":"Action_OW","id":"w"}]}]}]})";

std::shared_ptr<QXVoiceCommandItem> command(const char *word, const char *type)
{
    auto item = std::make_shared<QXVoiceCommandItem>();
    item->customCmd = QString::fromUtf8(word);
    item->customName = QStringLiteral("target");
    item->cmdType = QString::fromUtf8(type);
    return item;
}

// What a person sees of a page: one line per shown widget, in no particular order
// (a page built late makes its rows in another order).
QStringList visibleState(QWidget *root)
{
    QStringList lines;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root))
            continue;
        QString line;
        for (QWidget *p = w; p && p != root; p = p->parentWidget())
            line.prepend(QString::fromLatin1(p->metaObject()->className()) + QLatin1Char('#') + p->objectName() + '/');
        line += QStringLiteral(" enabled=%1").arg(w->isEnabled());
        if (auto *b = dynamic_cast<QAbstractButton *>(w))
            line += QStringLiteral(" text=%1 checked=%2 image=%3")
                        .arg(b->text())
                        .arg(b->isChecked())
                        .arg(b->property("imageName").toString());
        else if (auto *l = dynamic_cast<QLabel *>(w))
            line += QStringLiteral(" text=") + l->text();
        if (auto *p = dynamic_cast<QXPopUpButton *>(w))
            line += QStringLiteral(" items=%1 selected=%2").arg(p->itemsArr().join('|')).arg(p->selectIndex());
        if (auto *s = dynamic_cast<QXSegmentedControl *>(w))
            line += QStringLiteral(" selected=%1").arg(s->selectIndex());
        if (auto *t = dynamic_cast<QXTextView *>(w))
            line += QStringLiteral(" text=") + t->string();
        if (auto *e = dynamic_cast<QLineEdit *>(w))
            line += QStringLiteral(" text=") + e->text();
        if (auto *s = dynamic_cast<QAbstractSlider *>(w))
            line += QStringLiteral(" value=%1").arg(s->value());
        lines << line;
    }
    lines.sort();
    return lines;
}

struct Step {
    const char *name;
    std::function<void(PageWorld &)> apply;
};

void post(PageWorld &w, const char *name)
{
    w.notifications.post(QString::fromLatin1(name));
}

// The interface language picked in the software page's row.
void pickLanguage(PageWorld &w, quint64 index)
{
    w.data.languages().setUiLanguageIndex(index);
    w.data.languages().shouldRefreshData();
    post(w, qx::notify::kUpdateTitleNotification);
}

void cacheProfile(PageWorld &w, bool ambientLight)
{
    w.data.store().setValue(DeviceProfileController::cacheKey(QStringLiteral("523"), QStringLiteral("S9")),
                            QString::fromUtf8(kProfile).arg(ambientLight).simplified());
}

// A day in the order it comes: the device connects and reports, its settings change,
// the firmware image arrives, the user switches the language and logs in, the
// server's command lists arrive, and the user picks two more languages.
const std::vector<Step> &day()
{
    static const std::vector<Step> steps{
        {"device information",
         [](PageWorld &w) {
             QXMouseInfoItem &device = w.state().mouseInfoItem();
             w.state().setProductCode(QStringLiteral("523"));
             device.setSn(QStringLiteral("S9"));
             device.setFirmwareVersion(QStringLiteral("1.0"));
             device.setdeviceType(1);
             device.setDpi(1);
             cacheProfile(w, false);
             post(w, qx::notify::HadUSBInfoNotification);
         }},
        {"DPI",
         [](PageWorld &w) {
             w.state().mouseInfoItem().setDpi(2);
             post(w, qx::notify::kUpdateDPIItemNotification);
         }},
        {"report rate",
         [](PageWorld &w) {
             w.state().setReportRate(500);
             post(w, qx::notify::kUpdateReportRateItemNotification);
         }},
        {"profile",
         [](PageWorld &w) {
             cacheProfile(w, true);
             post(w, qx::notify::kUpdateMouseSettingNotification);
         }},
        {"lighting",
         [](PageWorld &w) {
             w.state().setRgbSwitch(true);
             post(w, qx::notify::kUpdateLightingEffectsNotification);
         }},
        {"firmware version",
         [](PageWorld &w) {
             w.state().mouseInfoItem().setFirmwareVersion(QStringLiteral("1.1"));
             post(w, qx::notify::kUpdateFirmwareVersionNotification);
         }},
        {"firmware image ready",
         [](PageWorld &w) {
             w.ports.mouseImage = true;
             post(w, qx::notify::kUpdateOTAStatusNotification);
         }},
        {"language", [](PageWorld &w) { pickLanguage(w, 2); }},
        {"login",
         [](PageWorld &w) {
             QXLoginResultModel login;
             login.token = QStringLiteral("T");
             login.setExpiredTime(QStringLiteral("2030-01-02-03-04-05"));
             w.state().setIsLogin(true);
             w.state().setLoginResult(login);
             post(w, qx::notify::kLoginSuccessNotification);
         }},
        {"command lists",
         [](PageWorld &w) {
             w.commands.list = {command("open", "website"), command("type", "text")};
             w.hotWords.list = {command("hot", "phrase")};
             post(w, qx::notify::HadUSBInfoNotification);
             post(w, qx::notify::kUpdateHotWordListNotification);
         }},
        {"日本語", [](PageWorld &w) { pickLanguage(w, 3); }},
        {"Deutsch", [](PageWorld &w) { pickLanguage(w, 7); }},
    };
    return steps;
}

// Answers every member-information request the account header sent.
void answerMemberInfo(PageWorld &w)
{
    auto &requests = w.ports.requests;
    for (auto it = requests.begin(); it != requests.end();) {
        if (!dynamic_cast<QXUserInfoScene *>(it->first.get())) {
            ++it;
            continue;
        }
        const QXSceneCallback callback = std::move(it->second);
        it = requests.erase(it);
        callback(true, QJsonObject{{"account", "ada@example.org"}, {"expiredTime", "1893456000"}, {"token", "T"}},
                 QXNetError{});
    }
}

struct Shown {
    QStringList state; // visibleState
    QStringList stale; // the texts in a language picked before
};

// The page of `tag`, built before or after the first `steps` steps of the day, as the
// main window has it: the device page made at launch without its view, every other
// page made when its tab opens, the account page asking for the member information
// each time it shows, with the real account header.
Shown shownAfter(int tag, std::size_t steps, bool buildFirst)
{
    PageWorld w;
    w.data.languages().setUiLanguageIndex(0);
    w.accountHeaders.make = [](const PageContext &context, QWidget *host) { return new MineHeaderView(context, host); };
    QXLaserPenManager::Deps penDeps;
    penDeps.store = &w.data.store();
    penDeps.scheduler = &w.scheduler;
    penDeps.keys = &w.neighbours.keys;
    penDeps.tips = &w.neighbours.tips;
    QXLaserPenManager pen(penDeps);
    PageFactory factory(w.context());
    factory.setLaserPen(&pen);
    std::unique_ptr<QXBaseViewController> devicePage = factory.makePage(viewtag::kMouseSetting);
    std::unique_ptr<QXBaseViewController> page;
    const auto settle = [&w] {
        for (int i = 0; i < 3; ++i) {
            while (!w.commands.customFetches.empty() && w.commands.customFetches.back())
                w.commands.answerFetch(true);
            answerMemberInfo(w);
            w.scheduler.advance(2000);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    };
    const auto showTab = [&](QXBaseViewController &shown) {
        shown.view()->show();
        if (tag == viewtag::kMine)
            factory.getUserInfo(shown);
        settle();
    };
    const auto build = [&] {
        QXBaseViewController *shown = devicePage.get();
        if (tag != viewtag::kMouseSetting)
            shown = (page = factory.makePage(tag)).get();
        shown->view()->resize(880, 720);
        showTab(*shown);
        return shown;
    };
    QXBaseViewController *shown = buildFirst ? build() : nullptr;
    const quint64 builtIn = w.data.languages().uiLanguageIndex();
    for (std::size_t i = 0; i < steps; ++i) {
        day()[i].apply(w);
        settle();
    }
    // A language is picked on another page: this one is shown again through its tab.
    if (shown && w.data.languages().uiLanguageIndex() != builtIn)
        showTab(*shown);
    if (!shown)
        shown = build();
    QXLanguageManager &languages = w.data.languages();
    return {visibleState(shown->view()), textsInAnotherLanguage(shownTexts(shown->view()), languages.uiLanguageIndex(),
                                                                languageListNames(languages))};
}

QString differences(const QStringList &early, const QStringList &late)
{
    QStringList out;
    for (const QString &line : early)
        if (!late.contains(line))
            out << QStringLiteral("  built first only: ") + line;
    for (const QString &line : late)
        if (!early.contains(line))
            out << QStringLiteral("  built late only:  ") + line;
    return out.join('\n');
}

TEST(DayLatePages, APageBuiltAfterAnyStepOfTheDayShowsWhatOneBuiltBeforeItShows)
{
    for (int tag = 0; tag < viewtag::kCount; ++tag) {
        for (std::size_t steps = 1; steps <= day().size(); ++steps) {
            SCOPED_TRACE(QStringLiteral("page %1 after \"%2\"").arg(tag).arg(day()[steps - 1].name).toStdString());
            const Shown early = shownAfter(tag, steps, true);
            const Shown late = shownAfter(tag, steps, false);
            EXPECT_FALSE(late.state.isEmpty());
            // The self-test page shows the outcome of the checks it ran when it was built.
            if (tag != viewtag::kSmartDetection) {
                EXPECT_TRUE(early.state == late.state) << differences(early.state, late.state).toStdString();
            }
            EXPECT_TRUE(early.stale.isEmpty()) << early.stale.join(" | ").toStdString();
            EXPECT_TRUE(late.stale.isEmpty()) << late.stale.join(" | ").toStdString();
        }
    }
}

} // namespace
