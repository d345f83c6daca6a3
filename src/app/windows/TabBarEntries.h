#pragma once

#include <QList>
#include <QString>

// One item of the main window's tab bar: its page number (viewTag), the title's
// source text and the two image names.
struct TabEntry {
    int viewTag = -1;
    QString name; // Chinese source text, looked up in the interface language when shown
    QString icon;
    QString selectIcon;
};

// The page numbers of the main window.
namespace viewtag {
inline constexpr int kMouseSetting = 0;
inline constexpr int kSmartSetting = 1;
inline constexpr int kSoftwareManager = 2;
inline constexpr int kPersonalitySetting = 3;
inline constexpr int kMine = 4;
inline constexpr int kSmartDetection = 5;
inline constexpr int kPreferences = 6;
inline constexpr int kLaserPenSetting = 7;
inline constexpr int kCount = 8;
} // namespace viewtag

struct TabBarLayout {
    QList<TabEntry> entries; // in display order
    int selectIndex = 0;     // the page number selected after a rebuild
};

// The device's tab items: device settings (pointer settings for a pointer) first,
// then smart settings, software management and personalisation, and the lighting
// preferences for mouse types 56 and 72. A receiver of device type 3 has no device page.
// A device counts as a pointer for mouse type 202, device type 2, or the pointer flag.
TabBarLayout tabBarLayout(quint64 deviceType, quint64 mouseType, bool isLaser);

// The table row of a page number that has a tab item; nothing for the account and
// self-test pages, which have none.
const TabEntry *tabEntryForTag(int viewTag);
