#include "CommandsPages.h"

#include "PersonalitySettingViewController.h"

namespace {
// The tab bar's page numbers (viewtag:: of the application) of this library's pages.
constexpr int kPersonalitySettingTag = 3;

template <class Page> std::unique_ptr<QXBaseViewController> make(const PageContext &context)
{
    return std::make_unique<Page>(context);
}

constexpr PageEntry kCommandsPages[] = {
    {kPersonalitySettingTag, "PersonalitySettingViewController", &make<PersonalitySettingViewController>},
};
} // namespace

PageTable commandsPages()
{
    return kCommandsPages;
}
