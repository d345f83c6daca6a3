#include "TabBarEntries.h"

#include <array>

namespace {
const std::array<TabEntry, 6> &table()
{
    static const std::array<TabEntry, 6> rows{{
        {viewtag::kMouseSetting, QStringLiteral("设备设置"), QStringLiteral("mouseSetting_icon"),
         QStringLiteral("mouseSetting_icon_td")},
        {viewtag::kLaserPenSetting, QStringLiteral("智笔设置"), QStringLiteral("laserPenSetting_icon"),
         QStringLiteral("laserPenSetting_icon_td")},
        {viewtag::kSmartSetting, QStringLiteral("智能设置"), QStringLiteral("smartSetting_icon"),
         QStringLiteral("smartSetting_icon_td")},
        {viewtag::kSoftwareManager, QStringLiteral("软件管理"), QStringLiteral("softwareManager_icon"),
         QStringLiteral("softwareManager_icon_td")},
        {viewtag::kPersonalitySetting, QStringLiteral("个性化设置"), QStringLiteral("personalitySetting_icon"),
         QStringLiteral("personalitySetting_icon_td")},
        {viewtag::kPreferences, QStringLiteral("偏好设置"), QStringLiteral("preferences_icon"),
         QStringLiteral("preferences_icon_td")},
    }};
    return rows;
}
} // namespace

const TabEntry *tabEntryForTag(int viewTag)
{
    for (const TabEntry &row : table())
        if (row.viewTag == viewTag)
            return &row;
    return nullptr;
}

TabBarLayout tabBarLayout(quint64 deviceType, quint64 mouseType, bool isLaser)
{
    const bool pointer = mouseType == 202 || deviceType == 2 || isLaser;
    TabBarLayout out;
    out.entries = {*tabEntryForTag(viewtag::kSmartSetting), *tabEntryForTag(viewtag::kSoftwareManager),
                   *tabEntryForTag(viewtag::kPersonalitySetting)};
    out.entries.prepend(*tabEntryForTag(pointer ? viewtag::kLaserPenSetting : viewtag::kMouseSetting));
    if (deviceType == 3) {
        out.entries.removeFirst();
        out.selectIndex = viewtag::kSmartSetting;
    } else {
        out.selectIndex = pointer ? viewtag::kLaserPenSetting : viewtag::kMouseSetting;
    }
    if (mouseType == 56 || mouseType == 72)
        out.entries.append(*tabEntryForTag(viewtag::kPreferences));
    return out;
}
