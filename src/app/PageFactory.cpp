#include "PageFactory.h"

#include "PlaceholderPage.h"
#include "TabBarEntries.h"

#include <array>

namespace {
// The class each page number's page has, in page-number order.
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

std::unique_ptr<QXBaseViewController> PageFactory::makePage(int viewTag)
{
    if (viewTag < 0 || viewTag >= viewtag::kCount)
        return nullptr;
    const TabEntry *entry = tabEntryForTag(viewTag);
    return std::make_unique<PlaceholderPage>(viewTag, QString::fromLatin1(kPageClasses[viewTag]),
                                             entry ? entry->name : QString());
}

void PageFactory::getUserInfo(QXBaseViewController &)
{
    // The placeholder has no account header to refresh.
}
