#include "SettingsPages.h"

#include "MouseSettingViewController.h"
#include "MineViewController.h"
#include "PreferencesViewController.h"
#include "SmartDetectionViewController.h"
#include "SmartSettingViewController.h"
#include "SoftwareManagerViewController.h"

namespace {
// The tab bar's page numbers (viewtag:: of the application) of this library's pages.
constexpr int kMouseSettingTag = 0;
constexpr int kSmartSettingTag = 1;
constexpr int kSoftwareManagerTag = 2;
constexpr int kMineTag = 4;
constexpr int kSmartDetectionTag = 5;
constexpr int kPreferencesTag = 6;

template <class Page> std::unique_ptr<QXBaseViewController> make(const PageContext &context)
{
    return std::make_unique<Page>(context);
}

constexpr PageEntry kSettingsPages[] = {
    {kMouseSettingTag, "MouseSettingViewController", &make<MouseSettingViewController>},
    {kSmartSettingTag, "SmartSettingViewController", &make<SmartSettingViewController>},
    {kSoftwareManagerTag, "SoftwareManagerViewController", &make<SoftwareManagerViewController>},
    {kMineTag, "MineViewController", &make<MineViewController>},
    {kSmartDetectionTag, "SmartDetectionViewController", &make<SmartDetectionViewController>},
    {kPreferencesTag, "PreferencesViewController", &make<PreferencesViewController>},
};
} // namespace

PageTable settingsPages()
{
    return kSettingsPages;
}
