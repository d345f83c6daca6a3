#include "HidLightingReplyHandler.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXUserInfoData.h"

namespace {

constexpr int kValueAt = 5;

enum Command {
    kModeReport = 0x83,
    kModeChanged = 0x84,
    kBrightnessReport = 0x85,
    kBrightnessChanged = 0x86,
    kSpeedReport = 0x87,
    kSpeedChanged = 0x88,
    kColorReport = 0x89,
    kColorChanged = 0x8a,
    kHandReport = 0x8b,
    kHandChanged = 0x8c,
    kPointerMode = 0x90,
    kPointerEffect = 0x92,
    kPointerEffectReleased = 0x93,
};

void postLighting()
{
    postNotification(QString::fromLatin1(qx::notify::kUpdateLightingEffectsNotification));
}

} // namespace

void HidLightingReplyHandler::handleLightingReply(const proto::HidReport &report)
{
    QXHidCommandManager &hid = m_parser.hidManager();
    QXMouseInfoItem &item = QXUserInfoData::sharedInstance().mouseInfoItem();
    ILaserPen &pen = *hid.seams().laserPen;
    const int command = report.command;
    const bool isValueReport = command == kModeReport || command == kBrightnessReport || command == kSpeedReport
                               || command == kColorReport || command == kHandReport;
    const auto value = report.at(kValueAt);
    if (isValueReport && !value) {
        qxLogOnce(
            QStringLiteral("hid-lighting-short:%1").arg(command),
            QStringLiteral("lighting reply 0x%1 without its value; ignored").arg(command, 2, 16, QLatin1Char('0')));
        return;
    }

    switch (command) {
    case kModeReport:
        // The colour belongs to the mode: ask for it with the new mode.
        hid.sendGetLightingEffectsColorData();
        item.setLightingEffectsMode(*value);
        postLighting();
        break;
    case kModeChanged:
        hid.sendGetLightingEffectsModeData();
        hid.sendGetLightingEffectsColorData();
        break;
    case kBrightnessReport:
        item.setLightingEffectsBrightness(*value);
        postLighting();
        break;
    case kBrightnessChanged:
        hid.sendGetLightingEffectsBrightnessData();
        break;
    case kSpeedReport:
        item.setLightingEffectsSpeed(*value);
        postLighting();
        break;
    case kSpeedChanged:
        hid.sendGetLightingEffectsSpeedData();
        break;
    case kColorReport:
        item.setLightingEffectsColor(*value);
        postLighting();
        break;
    case kColorChanged:
        hid.sendGetLightingEffectsColorData();
        break;
    case kHandReport:
        item.setMouseLeftOrRightHandBehavior(*value);
        postNotification(QString::fromLatin1(qx::notify::kUpdateMouseLeftOrRightHandBehaviorNotification));
        break;
    case kHandChanged:
        hid.sendGetMouseLeftOrRightHandBehavior();
        break;
    case kPointerMode:
        pen.changeLaserPenStatus(false);
        break;
    case kPointerEffect:
        if (pen.hasShowEffecf())
            pen.dismissEffect();
        else
            pen.showLaserPenEffect();
        break;
    case kPointerEffectReleased:
        if (pen.hasShowEffecf())
            pen.dismissEffect();
        break;
    default:
        break;
    }
}
