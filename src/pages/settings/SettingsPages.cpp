#include "SettingsPages.h"

#include "SmartSettingViewController.h"
#include "SoftwareManagerViewController.h"

namespace {
// The tab bar's page numbers (viewtag:: of the application) of this library's pages.
constexpr int kSmartSettingTag = 1;
constexpr int kSoftwareManagerTag = 2;

template <class Page> std::unique_ptr<QXBaseViewController> make(const PageContext &context)
{
    return std::make_unique<Page>(context);
}

constexpr PageEntry kSettingsPages[] = {
    {kSmartSettingTag, "SmartSettingViewController", &make<SmartSettingViewController>},
    {kSoftwareManagerTag, "SoftwareManagerViewController", &make<SoftwareManagerViewController>},
};
} // namespace

PageTable settingsPages()
{
    return kSettingsPages;
}
