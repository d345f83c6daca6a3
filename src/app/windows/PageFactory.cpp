#include "PageFactory.h"

#include "AccountPages.h"
#include "CommandsPages.h"
#include "LaserPenSettingViewController.h"
#include "PlaceholderPage.h"
#include "SettingsPages.h"
#include "TabBarEntries.h"
#include "views/AccountHeaderView.h"
#include "views/QXBaseViewController.h"

#include <array>

namespace {
// The class each page number's page has, in page-number order: what a placeholder names.
constexpr std::array<const char *, viewtag::kCount> kPageClasses{
    "MouseSettingViewController",
    "SmartSettingViewController",
    "SoftwareManagerViewController",
    "PersonalitySettingViewController",
    "MineViewController",
    "SmartDetectionViewController",
    "PreferencesViewController",
    "LaserPenSettingViewController",
};
} // namespace

std::vector<PageTable> PageFactory::libraryTables()
{
    return {settingsPages(), commandsPages(), accountPages()};
}

std::unique_ptr<QXBaseViewController> PageFactory::makePage(int viewTag)
{
    if (viewTag < 0 || viewTag >= viewtag::kCount)
        return nullptr;
    if (const PageEntry *entry = findPage(m_tables, viewTag))
        return entry->make(m_context);
    if (viewTag == viewtag::kLaserPenSetting && m_laserPen)
        return std::make_unique<LaserPenSettingViewController>(LaserPenSettingViewController::Deps{
            m_laserPen, &m_context.state, &m_context.notifications, &m_context.tips});
    const TabEntry *entry = tabEntryForTag(viewTag);
    return std::make_unique<PlaceholderPage>(viewTag, QString::fromLatin1(kPageClasses[viewTag]),
                                             entry ? entry->name : QString());
}

void PageFactory::getUserInfo(QXBaseViewController &mineVC)
{
    // The header the account page shows, wherever in its view the page put it; a
    // placeholder has none.
    if (auto *header = mineVC.view()->findChild<AccountHeaderView *>())
        header->getUserInfo();
}
