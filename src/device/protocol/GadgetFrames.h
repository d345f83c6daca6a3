#pragma once

// Command frames of the recording and translating gadget (memory card, record, play
// and volume keys, left and right translation keys) over Bluetooth LE.
//
//   start 12 command length data... check end
//
// Two frame families: start 0x05 ends with 0x21, start 0x13 ends with 0x28. The check
// bytes of the fixed frames are the gadget's own constants and go out exactly as
// listed in the table (six of them are not the sum of their bytes). Every builder
// returns a new frame and sends nothing.
//
// Frames with text carry one byte of length, which counts the text and the 0x00 after
// it; a text of kMaxTextBytes or more would wrap it, so those builders refuse it.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace proto::gadget {

inline constexpr uint8_t kStartShort = 0x05; // family of the device, key and recording commands
inline constexpr uint8_t kStartCard = 0x13;  // family of the memory-card, file and mode commands
inline constexpr uint8_t kMarker = 0x12;
inline constexpr uint8_t kEndShort = 0x21;
inline constexpr uint8_t kEndCard = 0x28;

// The longest text a frame can carry: its length byte holds text + 1.
inline constexpr int kMaxTextBytes = 254;

// --- fixed frames (seven bytes each) ------------------------------------------

QByteArray sendHandshakeProtocolData();
QByteArray sendGetDeviceInfoData();
QByteArray sendReceiveDeviceInfoData();
QByteArray sendGetMACAddressInfoData();
QByteArray sendGetElectricInfoData();
QByteArray sendGetCountryInfoData();
QByteArray sendGetChannelInfoData();
QByteArray sendReplyTranslationLeftLongPressData();
QByteArray sendReplyTranslationLeftLongReleaseData();
QByteArray sendReplyTranslationRightLongPressData();
QByteArray sendReplyTranslationRightLongReleaseData();
QByteArray sendReplyVolumeIncreaseData();
QByteArray sendReplyVolumeReduceData();
QByteArray sendStartOTAUpdateData();
QByteArray sendStartRecordData();
QByteArray sendEnterPlayModeData();
QByteArray sendReplyStartRecordData();
QByteArray sendEndRecordData();
QByteArray sendEnterIntoTFCardModeData();
QByteArray sendQuitTFCardModeData();
QByteArray sendGetCurrentModeInfoData();
QByteArray sendGetHiddenRecordInfoData();
QByteArray sendReplyEndSendFileData();
QByteArray sendTransferOTAFinishData();
QByteArray sendSearchCurrentStatusData();
QByteArray sendSearchStorageInfoData();
QByteArray sendGetDeviceFileData();
QByteArray sendGetDeviceFileSuccessData();
QByteArray sendEndSendFileData();
QByteArray sendSynchronousDeviceFileFinishData();
QByteArray sendCancelSynchronousDeviceFileData();
QByteArray sendGetAuthData();

// --- frames with arguments ------------------------------------------------------
// One-byte arguments are the low 8 bits of the integer; every sum wraps at 256.

// Each character goes out as the low 8 bits of its UTF-16 code unit (the gadget's
// names are ASCII). nullopt, with a log line, for more than kMaxTextBytes units.
std::optional<QByteArray> sendSetBluetoothNameData(const QString &name);
QByteArray sendSetCountryInfoData(int country);
QByteArray sendSetChannelInfoData(int channel);
// The gadget's flag is "record visibly": 1 when not hidden.
QByteArray sendSetHiddenRecordData(bool hidden);
QByteArray sendSetCurrentModeData(int mode);
// The local time of `now` as "yyyy-MM-dd-HH-mm-ss" in ASCII.
QByteArray sendSetCurrentTimeData(const QDateTime &now);
// Characters as for the Bluetooth name; nullopt for a name too long for one frame.
std::optional<QByteArray> sendDeleteDeviceFileData(const QString &name);
// The text's UTF-8 bytes; nullopt when they are too long for one frame.
std::optional<QByteArray> sendSynchronousDeviceFileData(const QString &text);

} // namespace proto::gadget
