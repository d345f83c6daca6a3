#include "BootupView.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "QXUserInfoData.h"
#include "RowSwitch.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "services/IErrorAlert.h"
#include "services/IStartAtLogin.h"

namespace {
const QString kBootUpSwitchKey = QStringLiteral("bootUpSwitchKey");
} // namespace

BootupView::BootupView(const PageContext &context, QWidget *parent) : QXBaseView(parent), m_context(context)
{
    configUI();
    configTitle();
    configData();
}

void BootupView::configUI()
{
    m_titleLabel = rowswitch::makeLabel(this, 20);
    m_switchBtn = rowswitch::makeSwitch(this, QStringLiteral("bootUpSwitch"));
    connect(m_switchBtn, &QXButton::clicked, this, [this] { switchBtnClicked(); });
    resize(width(), kViewHeight);
}

void BootupView::configTitle()
{
    m_titleLabel->setText(hrvAppLocalizedString(QStringLiteral("开机自启动")));
    rowswitch::placeTitleAndSwitch(m_titleLabel, m_switchBtn);
}

// The first build with nothing stored turns launch at login on, unless the desktop
// already starts the application; otherwise the switch shows the stored preference.
void BootupView::configData()
{
    const bool isStartAtLogin = m_context.startAtLogin.startAtLogin();
    if (!m_context.store.contains(kBootUpSwitchKey) && !isStartAtLogin) {
        // A refused entry leaves the switch off and nothing stored: the next build tries again.
        if (m_context.startAtLogin.setStartAtLogin(true)) {
            rowswitch::showSwitch(m_switchBtn, true);
            m_context.state.setBootUpSwitch(true);
        }
        return;
    }
    rowswitch::showSwitch(m_switchBtn, m_context.state.bootUpSwitch());
}

// The click has flipped the switch. Only the desktop's entry changes; the stored
// preference stays what the next build shows.
void BootupView::switchBtnClicked()
{
    const bool on = m_switchBtn->isChecked();
    rowswitch::showSwitch(m_switchBtn, on);
    if (m_context.startAtLogin.setStartAtLogin(on))
        return;
    rowswitch::showSwitch(m_switchBtn, !on);
    m_context.errorAlert.showErrorMsg(hrvAppLocalizedString(QStringLiteral("请求失败")), QString());
}
