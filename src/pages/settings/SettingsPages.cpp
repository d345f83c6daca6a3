#include "SettingsPages.h"

#include "SoftwareManagerViewController.h"

namespace {
// The tab bar's page numbers (viewtag:: of the application) of this library's pages.
constexpr int kSoftwareManagerTag = 2;

template <class Page> std::unique_ptr<QXBaseViewController> make(const PageContext &context)
{
    return std::make_unique<Page>(context);
}

constexpr PageEntry kSettingsPages[] = {
    {kSoftwareManagerTag, "SoftwareManagerViewController", &make<SoftwareManagerViewController>},
};
} // namespace

PageTable settingsPages()
{
    return kSettingsPages;
}
