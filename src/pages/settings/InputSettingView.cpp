#include "InputSettingView.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PagePorts.h"
#include "QXLanguageManager.h"
#include "QXMouseInfoItem.h"
#include "QXUserInfoData.h"
#include "SmartRowParts.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"
#include "controls/ShortcutRecorder.h"

#include <algorithm>

namespace {
constexpr int kLineTop = smartrow::kTitleHeight + smartrow::kLineGap;
constexpr int kLineStep = 52;
constexpr int kBlockGap = 30; // between the drop-down and the shortcut block
constexpr int kBlockHeight = 192;
constexpr int kBlockStep = 69;
constexpr int kBoxLeft = 180;
constexpr quint64 kHotKeyDeviceType = 3;

const char *const kShortcutKeys[] = {"WordShortcutKey", "TranslateShortcutKey", "SearchShortcutKey"};
const char *const kLabelTexts[] = {"识别带标点",     "长语音识别",     "输入语种",
                                   "语音打字快捷键", "语音翻译快捷键", "语音搜索快捷键"};
} // namespace

InputSettingView::InputSettingView(const PageContext &context, QWidget *parent) : QXBaseView(parent), m_context(context)
{
    configData();
    configUI();
    configTitle();
}

void InputSettingView::configData()
{
    using namespace qx::notify;
    NotificationCenter &center = m_context.notifications;
    for (const char *name : {kUpdateInputAudioListNotification, kUpdateInputAudioNotification})
        center.addObserver(QString::fromLatin1(name), this,
                           [this](const QVariant &) { updateInputAudioNotification(); });
    for (const char *name : {kUSBInsertNotification, kUSBRemoveNotification})
        center.addObserver(QString::fromLatin1(name), this, [this](const QVariant &) { showShortcutsView(); });
}

void InputSettingView::configUI()
{
    using namespace smartrow;
    m_titleLabel = makeTitleLabel(this);
    for (int i = 0; i < 3; ++i) {
        m_labels[std::size_t(i)] = makeFunctionLabel(this);
        m_labels[std::size_t(i)]->setGeometry(8, kLineTop + kLineStep * i, 120, kLabelHeight);
    }
    m_punctuationBtn = makeSwitch(this, QStringLiteral("punctuationBtn"));
    showSwitch(m_punctuationBtn, m_context.state.punctuationSwitch());
    connect(m_punctuationBtn, &QXButton::clicked, this, [this] { punctuationBtnClicked(); });
    m_longVoiceModeBtn = makeSwitch(this, QStringLiteral("longVoiceModeBtn"));
    showSwitch(m_longVoiceModeBtn, m_context.state.longVoiceModeSwitch());
    connect(m_longVoiceModeBtn, &QXButton::clicked, this, [this] { longVoiceModeBtnClicked(); });
    m_languageBtn = makePopUp(this, QStringLiteral("languageBtn"));
    m_languageBtn->setSelectBlock([this](int index) {
        m_context.languages.setAudioLanguageIndex(quint64(index));
        m_context.notifications.post(QString::fromLatin1(qx::notify::kUpdateInputAudioNotification));
    });
    m_viewHeight = kHeight;
    showShortcutsView();
}

void InputSettingView::configTitle()
{
    using namespace smartrow;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("输入设置")));
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        if (m_labels[i])
            m_labels[i]->setText(hrvAppLocalizedString(QString::fromUtf8(kLabelTexts[i])));

    // Texts decide the widths: the title's right edge places the drop-down.
    m_titleLabel->setGeometry(0, 0, textWidth(m_titleLabel), kTitleHeight);
    for (int i = 0; i < 2; ++i) {
        QXLabel *label = m_labels[std::size_t(i)];
        label->resize(std::max(120, textWidth(label)), kLabelHeight);
        QXButton *button = i == 0 ? m_punctuationBtn : m_longVoiceModeBtn;
        button->setGeometry(
            centredOn(label->geometry(), label->geometry().right() + 1 + 12, {kSwitchWidth, kSwitchHeight}));
    }
    m_labels[2]->resize(textWidth(m_labels[2]), kLabelHeight);
    // Moved right, as the switches are, when a translated label runs past the title.
    const int popUpLeft = std::max(m_titleLabel->geometry().right() + 1 + 52, m_labels[2]->geometry().right() + 1 + 12);
    m_languageBtn->setGeometry(centredOn(m_labels[2]->geometry(), popUpLeft, {kPopUpWidth, kPopUpHeight}));
    if (m_shortcutsContentView)
        layoutShortcutsView();
    updateInputAudioNotification();
}

void InputSettingView::updateInputAudioNotification()
{
    smartrow::reloadPopUp(m_languageBtn, m_context.languages.readAudioLanguageNameList(),
                          m_context.languages.audioLanguageIndex());
}

void InputSettingView::buildShortcutsView()
{
    using namespace smartrow;
    m_shortcutsContentView = new QWidget(this);
    m_shortcutsContentView->setObjectName(QStringLiteral("shortcutsContentView"));
    for (int i = 0; i < 3; ++i) {
        QXLabel *label = makeFunctionLabel(m_shortcutsContentView);
        label->setGeometry(8, 10 + kBlockStep * i, kBoxLeft - 8, kLabelHeight);
        m_labels[std::size_t(3 + i)] = label;
        const QRect box = centredOn(label->geometry(), kBoxLeft, {kPopUpWidth, kPopUpHeight});
        m_recorders[std::size_t(i)] =
            makeShortcutBox(m_shortcutsContentView, m_context.shortcuts, QString::fromLatin1(kShortcutKeys[i]), box,
                            QStringLiteral("shortcutsView%1").arg(i + 1));
    }
    configTitle();
}

void InputSettingView::layoutShortcutsView()
{
    using namespace smartrow;
    // The boxes line up at 180, further right when a translated label needs the room.
    int boxLeft = kBoxLeft;
    for (int i = 3; i < 6; ++i)
        boxLeft = std::max(boxLeft, 8 + textWidth(m_labels[std::size_t(i)]) + 12);
    for (int i = 0; i < 3; ++i) {
        QXLabel *label = m_labels[std::size_t(3 + i)];
        label->resize(boxLeft - 8, kLabelHeight);
        m_recorders[std::size_t(i)]->parentWidget()->move(boxLeft, m_recorders[std::size_t(i)]->parentWidget()->y());
    }
    m_shortcutsContentView->setGeometry(0, m_languageBtn->geometry().bottom() + 1 + kBlockGap,
                                        std::max(width(), boxLeft + kPopUpWidth), kBlockHeight);
}

void InputSettingView::showShortcutsView()
{
    // The receivers whose voice keys arrive as the keyboard's F1 to F3, by their ids;
    // any other hot-key receiver by the device type it is given.
    const bool shown =
        m_context.receiver.hasKeyboardHotKeys() || m_context.state.mouseInfoItem().deviceType() == kHotKeyDeviceType;
    if (shown && !m_shortcutsContentView)
        buildShortcutsView();
    if (m_shortcutsContentView)
        m_shortcutsContentView->setVisible(shown);
    m_viewHeight = shown ? kHeightWithShortcuts : kHeight;
    if (m_refreshUIBlock) {
        const auto block = m_refreshUIBlock; // the block may replace itself
        block();
    }
}

void InputSettingView::punctuationBtnClicked()
{
    const bool on = m_punctuationBtn->isChecked();
    smartrow::showSwitch(m_punctuationBtn, on);
    m_context.state.setPunctuationSwitch(on);
}

void InputSettingView::longVoiceModeBtnClicked()
{
    const bool on = m_longVoiceModeBtn->isChecked();
    smartrow::showSwitch(m_longVoiceModeBtn, on);
    m_context.state.setLongVoiceModeSwitch(on);
}
