#pragma once

// Names of the application's notifications. They are posted without payload unless
// noted; observers compare by name.
namespace qx::notify {

// Device
inline constexpr const char kUSBInsertNotification[] = "kUSBInsertNotification";
inline constexpr const char kUSBRemoveNotification[] = "kUSBRemoveNotification";
inline constexpr const char HadUSBInfoNotification[] = "HadUSBInfoNotification";
inline constexpr const char HadElectricInfoNotification[] = "HadElectricInfoNotification";
inline constexpr const char kBleConnectNotification[] = "kBleConnectNotification";
inline constexpr const char kBleDisConnectNotification[] = "kBleDisConnectNotification";
// Payload: the (vendor id, product id) pair of the USB device, as a QVariantList.
inline constexpr const char kBootUpUSBInsertNotification[] = "kBootUpUSBInsertNotification";
inline constexpr const char kBootUpUSBRemoveNotification[] = "kBootUpUSBRemoveNotification";

// Device settings
inline constexpr const char kUpdateDPIItemNotification[] = "kUpdateDPIItemNotification";
inline constexpr const char kUpdateReportRateItemNotification[] = "kUpdateReportRateItemNotification";
inline constexpr const char kUpdateLightingEffectsNotification[] = "kUpdateLightingEffectsNotification";
inline constexpr const char kUpdateMouseLeftOrRightHandBehaviorNotification[] =
    "kUpdateMouseLeftOrRightHandBehaviorNotification";
inline constexpr const char kUpdateFunctionNotification[] = "kUpdateFunctionNotification";
inline constexpr const char kUpdateFirmwareVersionNotification[] = "kUpdateFirmwareVersionNotification";

// Firmware transfer. kUpdateOTAProgressNotification carries the progress as a number.
inline constexpr const char kUpdateOTAProgressNotification[] = "kUpdateOTAProgressNotification";
inline constexpr const char kUpdateOTASuccessNotification[] = "kUpdateOTASuccessNotification";
inline constexpr const char kUpdateOTAFailNotification[] = "kUpdateOTAFailNotification";
inline constexpr const char kUpdateOTACancelNotification[] = "kUpdateOTACancelNotification";
inline constexpr const char kUpdateOTAStatusNotification[] = "kUpdateOTAStatusNotification";

// Features
inline constexpr const char ASRStartNotification[] = "ASRStartNotification";
inline constexpr const char ASRFinishNotification[] = "ASRFinishNotification";
inline constexpr const char TTSPlayCompleteNoti[] = "TTSPlayCompleteNoti";
inline constexpr const char kLoginSuccessNotification[] = "kLoginSuccessNotification";
inline constexpr const char kLaserPenVoiceKeyDoubleClickedNSNotification[] =
    "kLaserPenVoiceKeyDoubleClickedNSNotification";

// Pages
inline constexpr const char kUpdateTitleNotification[] = "kUpdateTitleNotification";
inline constexpr const char kUpdateLeftItemNotification[] = "kUpdateLeftItemNotification";
inline constexpr const char kUpdateMouseSettingNotification[] = "kUpdateMouseSettingNotification";
inline constexpr const char kUpdateInputAudioListNotification[] = "kUpdateInputAudioListNotification";
inline constexpr const char kUpdateInputAudioNotification[] = "kUpdateInputAudioNotification";
inline constexpr const char kUpdateTranslateListNotification[] = "kUpdateTranslateListNotification";
inline constexpr const char kUpdateOCRListNotification[] = "kUpdateOCRListNotification";
inline constexpr const char kUpdateHyperTranslateIndexNotification[] = "kUpdateHyperTranslateIndexNotification";
inline constexpr const char kUpdateSnipTranslateIndexNotification[] = "kUpdateSnipTranslateIndexNotification";
inline constexpr const char kUpdateHotWordListNotification[] = "kUpdateHotWordListNotification";

// Every name above, for checks and tools.
// clang-format off
inline constexpr const char *const kAllNames[] = {
    kUSBInsertNotification, kUSBRemoveNotification, HadUSBInfoNotification, HadElectricInfoNotification,
    kBleConnectNotification, kBleDisConnectNotification, kBootUpUSBInsertNotification,
    kBootUpUSBRemoveNotification, kUpdateDPIItemNotification, kUpdateReportRateItemNotification,
    kUpdateLightingEffectsNotification, kUpdateMouseLeftOrRightHandBehaviorNotification,
    kUpdateFunctionNotification, kUpdateFirmwareVersionNotification, kUpdateOTAProgressNotification,
    kUpdateOTASuccessNotification, kUpdateOTAFailNotification, kUpdateOTACancelNotification,
    kUpdateOTAStatusNotification, ASRStartNotification, ASRFinishNotification, TTSPlayCompleteNoti,
    kLoginSuccessNotification, kLaserPenVoiceKeyDoubleClickedNSNotification, kUpdateTitleNotification,
    kUpdateLeftItemNotification, kUpdateMouseSettingNotification, kUpdateInputAudioListNotification,
    kUpdateInputAudioNotification, kUpdateTranslateListNotification, kUpdateOCRListNotification,
    kUpdateHyperTranslateIndexNotification, kUpdateSnipTranslateIndexNotification,
    kUpdateHotWordListNotification,
};
// clang-format on

} // namespace qx::notify
