// The speech pop-up while translating a long utterance: the source card stops at its
// cap and scrolls to the newest words, the translation below it.
#include "PopupDesk.h"

#include "popup/QXPopupWindow.h"

namespace {
const char *kSource = "今天下午三点我们在会议室讨论下个季度的产品计划，请大家提前准备好各自部门的数据和问题。"
                      "市场部需要带上最近三个月的用户反馈，研发部请整理目前的进度和风险，"
                      "销售部准备一下各地区的订单情况。会议大概一个小时，结束以后我会把纪要发到群里，"
                      "如果有人不能参加，请提前告诉我，我们可以另外安排时间单独沟通。";
const char *kTranslation = "At three this afternoon we will discuss next quarter's product plan in the meeting "
                           "room; please bring your department's figures and questions.";

QWidget *build(SceneWorld &world)
{
    auto *desk = new PopupDesk(world);
    QXPopupWindowTool &tool = desk->tool();
    const int type = world.intOption(QStringLiteral("type"));
    tool.showSpeechView(world.option(QStringLiteral("source")), type);
    tool.showYiText(world.option(QStringLiteral("translation")));
    world.scheduler().advance(600);
    desk->lay(world, &tool.popupWindow());
    return desk;
}

const SceneRegistrar reg({QStringLiteral("popup-text"),
                          QStringLiteral("speech pop-up translating: a long source text capped and scrolled to its "
                                         "end, and its translation"),
                          {{QStringLiteral("source"), QString::fromUtf8(kSource), QStringLiteral("recognised text")},
                           {QStringLiteral("translation"), QString::fromUtf8(kTranslation),
                            QStringLiteral("translation (shown while translating)")},
                           {QStringLiteral("type"), QStringLiteral("37"),
                            QStringLiteral("press type: 37 translation; 33 shows no translation")},
                           PopupDesk::translucentOption()},
                          build});
// English speech: wrapped between words, the first line clear of the close button.
const SceneRegistrar
    regEnglish({QStringLiteral("popup-text-en"),
                QStringLiteral("speech pop-up translating English: words wrap whole, clear of the close button"),
                {{QStringLiteral("source"),
                  QStringLiteral("Hello world, this afternoon at three we will discuss the product plan for the next "
                                 "quarter in the meeting room"),
                  QStringLiteral("recognised text")},
                 {QStringLiteral("translation"), QString::fromUtf8("今天下午三点我们将在会议室讨论下个季度的产品计划"),
                  QStringLiteral("translation (shown while translating)")},
                 {QStringLiteral("type"), QStringLiteral("37"),
                  QStringLiteral("press type: 37 translation; 33 shows no translation")},
                 PopupDesk::translucentOption()},
                build});
} // namespace
