// The personalisation page's hot-word tab, which the application builds but never
// offers: the entry card with two words typed and the list with two entries, shown as
// stored (JSON array texts). The tab's title is shown here so the underline has a
// title to sit under.
#include "SceneWorld.h"

#include "AddHotWordView.h"
#include "PersonalitySettingViewController.h"
#include "QXLanguageManager.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"
#include "sqlite/QXVoiceCommandItem.h"

namespace {
QWidget *build(SceneWorld &world)
{
    world.pages().data.languages().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    world.pages().data.languages().shouldRefreshData();
    for (const char *words : {R"(["热词"])", R"(["Quorvex","AI 鼠标","语音输入"])"}) {
        auto entry = std::make_shared<QXVoiceCommandItem>();
        entry->setTypeIndex(5);
        entry->customCmd = QString::fromUtf8(words);
        world.pages().hotWords.list << entry;
    }
    // The host goes first and takes the page, which deletes its view.
    auto *host = new QWidget;
    host->resize(900, 600);
    auto *page = new PersonalitySettingViewController(world.context());
    QObject::connect(host, &QObject::destroyed, [page] { delete page; });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    page->hotWordBtn()->show();
    page->typeBtnClicked(page->hotWordBtn());
    page->addHotWordView()->cell(0)->setStringValue(QStringLiteral("鼠标"));
    page->addHotWordView()->cell(1)->setStringValue(QStringLiteral("语音"));
    return host;
}

const SceneRegistrar
    reg({QStringLiteral("hotwords"),
         QStringLiteral("personalisation page, hot-word tab: the entry card and the list of two entries"),
         {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index (2: English)")}},
         build});
} // namespace
