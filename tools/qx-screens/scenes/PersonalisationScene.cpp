// The personalisation page as the main window's right side shows it, over the scene
// world's page context: the command-word tab with twelve custom commands of every
// type the list shows, one of them a shortcut.
#include "SceneWorld.h"

#include "PersonalitySettingViewController.h"
#include "QXLanguageManager.h"
#include "sqlite/QXVoiceCommandItem.h"

namespace {
struct Command {
    const char *type;
    const char *word;
    const char *target;
};

const Command kCommands[] = {
    {"folder", "音乐", "file:///home/u/Music"},
    {"website", "官网", "https://q.example"},
    {"shortcuts", "复制", R"({"keyCode":8,"modifierFlagsString":"⌘","modifierFlags":1048576})"},
    {"file", "周报", "file:///home/u/Documents/周报 2025.docx"},
    {"text", "签名", "此致敬礼，Quorvex 团队"},
    {"website", "邮箱", "https://mail.q.example/inbox"},
    {"folder", "下载", "file:///home/u/Downloads"},
    {"text", "地址", "上海市浦东新区世纪大道 100 号"},
    {"file", "预算表", "file:///home/u/Documents/budget-2025-final-version-with-a-rather-long-name.xlsx"},
    {"website", "地图", "https://maps.q.example"},
    {"folder", "图片", "file:///home/u/Pictures"},
    {"text", "电话", "021-5555 0100"},
};

QWidget *build(SceneWorld &world)
{
    world.pages().data.languages().setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    world.pages().data.languages().shouldRefreshData();
    for (const Command &c : kCommands) {
        auto record = std::make_shared<QXVoiceCommandItem>();
        record->cmdType = QString::fromUtf8(c.type);
        record->customCmd = QString::fromUtf8(c.word);
        record->customName = QString::fromUtf8(c.target);
        world.pages().commands.list << record;
    }
    // The host goes first and takes the page, which deletes its view.
    auto *host = new QWidget;
    host->resize(900, 600);
    auto *page = new PersonalitySettingViewController(world.context());
    QObject::connect(host, &QObject::destroyed, [page] { delete page; });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    return host;
}

const SceneRegistrar
    reg({QStringLiteral("personalisation"),
         QStringLiteral("personalisation page: the command-word tab with twelve custom commands"),
         {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index (2: English)")}},
         build});
} // namespace
