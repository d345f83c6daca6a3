// The translation window with a long selection and its translation: both cards stop
// at their cap and scroll.
#include "TranslateDesk.h"

namespace {
const char *kSource =
    "The receiver pairs with the mouse in a few seconds. Hold the voice key and speak: the text appears where you "
    "type. Select a sentence with the mouse and a small search button appears beside the pointer; a click on it "
    "translates the selection into the language chosen in the window's header. The window stays beside the screen's "
    "right edge until you click elsewhere, and each card has a button that copies its text.";
const char *kTranslation =
    "接收器会在几秒钟内与鼠标配对。按住语音键说话，文字就会出现在你输入的地方。用鼠标选中一句话，"
    "指针旁边会出现一个小小的搜索按钮；点击它，所选内容就会被翻译成窗口顶部所选的语言。"
    "窗口会一直停在屏幕右侧，直到你点击别处；每张卡片都有一个按钮，可以复制其中的文字。";

QWidget *build(SceneWorld &world)
{
    auto *desk = new TranslateDesk(world);
    desk->show(world, world.option(QStringLiteral("source")), world.option(QStringLiteral("translation")));
    return desk;
}

const SceneRegistrar reg({QStringLiteral("translate-card"),
                          QStringLiteral("translation window: a long selection and its translation, both cards "
                                         "capped and scrolling"),
                          {{QStringLiteral("source"), QString::fromUtf8(kSource), QStringLiteral("the selected text")},
                           {QStringLiteral("translation"), QString::fromUtf8(kTranslation),
                            QStringLiteral("its translation (empty: not answered yet)")},
                           PopupDesk::translucentOption()},
                          build});
} // namespace
