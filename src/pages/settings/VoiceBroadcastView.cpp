#include "VoiceBroadcastView.h"

#include "HRVLocalizedString.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"

VoiceBroadcastView::VoiceBroadcastView(const PageContext &context, QWidget *parent)
    : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
}

void VoiceBroadcastView::configUI()
{
    m_titleLabel = rowswitch::makeLabel(this, 20);
    m_switchBtn = rowswitch::makeSwitch(this, QStringLiteral("voiceBroadcastSwitch"));
    connect(m_switchBtn, &QXButton::clicked, this, [this] { switchBtnClicked(); });
    rowswitch::showSwitch(m_switchBtn, m_context.state.voiceBroadcastSwitch());
    switchBtnClicked();
    resize(width(), kViewHeight);
}

void VoiceBroadcastView::configTitle()
{
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("语音播报")));
    rowswitch::placeTitleAndSwitch(m_titleLabel, m_switchBtn);
}

void VoiceBroadcastView::switchBtnClicked()
{
    const bool on = m_switchBtn->isChecked();
    rowswitch::showSwitch(m_switchBtn, on);
    m_context.state.setVoiceBroadcastSwitch(on);
}
