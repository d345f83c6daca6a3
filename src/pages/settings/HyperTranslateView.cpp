#include "HyperTranslateView.h"

#include "HRVLocalizedString.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "SmartRowParts.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "controls/QXPopUpButton.h"

namespace {
constexpr int kPopUpGap = 56;
} // namespace

HyperTranslateView::HyperTranslateView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
    configData();
}

void HyperTranslateView::configUI()
{
    using namespace smartrow;
    m_titleLabel = makeTitleLabel(this);
    m_switchBtn = makeSwitch(this, QStringLiteral("wordInputSwitchBtn"));
    showSwitch(m_switchBtn, m_context.state.wordInputSwitch());
    connect(m_switchBtn, &QXButton::clicked, this, [this] { switchBtnClicked(); });

    m_fromLanguageBtn = makePopUp(this, QStringLiteral("wordInputFromLanguageBtn"));
    m_fromLanguageBtn->move(8, kTitleHeight + kLineGap);
    m_fromLanguageBtn->setSelectBlock([this](int index) { m_context.languages.setFromWordInputTag(quint64(index)); });
    m_toLanguageBtn = makePopUp(this, QStringLiteral("wordInputToLanguageBtn"));
    m_toLanguageBtn->move(m_fromLanguageBtn->geometry().right() + 1 + kPopUpGap, m_fromLanguageBtn->y());
    m_toLanguageBtn->setSelectBlock([this](int index) { m_context.languages.setWordInputTag(quint64(index)); });
    m_changeLanguageBtn = makeSwapButton(this);
    m_changeLanguageBtn->setGeometry(
        centredOn(m_fromLanguageBtn->geometry(), m_fromLanguageBtn->geometry().right() + 1, {kPopUpGap, 30}));
}

void HyperTranslateView::configTitle()
{
    using namespace smartrow;
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("划词翻译")));
    m_titleLabel->setGeometry(0, 0, textWidth(m_titleLabel), kTitleHeight);
    m_switchBtn->setGeometry(
        centredOn(m_titleLabel->geometry(), m_titleLabel->geometry().right() + 1 + 84, {kSwitchWidth, kSwitchHeight}));
    reloadPopUp(m_fromLanguageBtn, m_context.languages.readFromWordInputNameList(),
                m_context.languages.fromWordInputTag());
    updateHyperTranslateIndexNotification();
}

void HyperTranslateView::configData()
{
    using namespace qx::notify;
    NotificationCenter &center = m_context.notifications;
    center.addObserver(QString::fromLatin1(kUpdateHyperTranslateIndexNotification), this,
                       [this](const QVariant &) { updateHyperTranslateIndexNotification(); });
    center.addObserver(QString::fromLatin1(kUpdateTranslateListNotification), this,
                       [this](const QVariant &) { configTitle(); });
}

void HyperTranslateView::updateHyperTranslateIndexNotification()
{
    smartrow::reloadPopUp(m_toLanguageBtn, m_context.languages.readWordInputNameList(),
                          m_context.languages.wordInputTag());
}

void HyperTranslateView::switchBtnClicked()
{
    const bool on = m_switchBtn->isChecked();
    smartrow::showSwitch(m_switchBtn, on);
    m_context.state.setWordInputSwitch(on);
}
