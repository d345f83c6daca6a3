#include "SettingsPages.h"

#include "MouseSettingViewController.h"
#include "SoftwareManagerViewController.h"

namespace {
// The tab bar's page numbers (viewtag:: of the application) of this library's pages.
constexpr int kMouseSettingTag = 0;
constexpr int kSoftwareManagerTag = 2;

template <class Page> std::unique_ptr<QXBaseViewController> make(const PageContext &context)
{
    return std::make_unique<Page>(context);
}

constexpr PageEntry kSettingsPages[] = {
    {kMouseSettingTag, "MouseSettingViewController", &make<MouseSettingViewController>},
    {kSoftwareManagerTag, "SoftwareManagerViewController", &make<SoftwareManagerViewController>},
};
} // namespace

PageTable settingsPages()
{
    return kSettingsPages;
}
