#pragma once

#include "BleNotificationClassifier.h"

#include <QByteArrayView>

#include <functional>

class ILaserPen;
class IVoiceKeyDispatcher;
class QXBLEManager;
class QXBLEMouseCommandManager;
class QXMouseInfoItem;
class VoiceKeyState;

// Turns everything the Bluetooth LE mouse sends into application state and actions:
// replies and events fill the mouse state and post the device notifications, key events
// reach the voice-key dispatcher as press types, pointer events drive the overlay,
// firmware replies go to the command manager's firmware transfer (the link is dropped
// and the mouse looked for again once it accepts an image), and voice packets are
// decoded into the speech service's recording and handed to the facade's voice block.
//
// Works on the voice fields of its command manager, answers through its commands and
// reaches the higher layers through its seams. Every event but the mouse's own
// acknowledgement is acknowledged first.
// Main thread only.
class BleNotificationParser {
public:
    static constexpr qsizetype kVoiceUnitBytes = 100; // decoded into 200 samples at a time
    static constexpr int kDefaultFormatSize = 1280;

    // nullptr central: the shared one.
    explicit BleNotificationParser(QXBLEMouseCommandManager &manager, QXBLEManager *central = nullptr);
    BleNotificationParser(const BleNotificationParser &) = delete;
    BleNotificationParser &operator=(const BleNotificationParser &) = delete;

    // The process-wide instance, which the composition root constructed and installed.
    static BleNotificationParser &sharedInstance();
    static BleNotificationParser *setSharedInstance(BleNotificationParser *instance); // returns the previous one

    void setCentral(QXBLEManager *central) { m_central = central; }
    // "pcm" of the current speech language's "formatSize" (0: 1280). By default read
    // from the language manager at every hand-over.
    void setFormatSizeSource(std::function<int()> source) { m_formatSize = std::move(source); }

    // One value of any subscribed characteristic, as the central received it.
    void eventTypeConvertDataToHexStr(QByteArrayView value);

private:
    void handleFrame(const proto::BleNotification &n);
    void handleKey(const proto::BleKeyRow &row);
    void handleEvent(const proto::BleNotification &n, bool pointerLayout);
    void handleFirmwareReply(const proto::BleNotification &n);
    void handleDeviceInfo(const proto::BleNotification &n, bool pointerLayout);
    void laserPenVoiceKey();
    void laserPenVoiceModeKey();
    void storeValue(const proto::BleNotification &n, void (QXMouseInfoItem::*set)(qint64), const char *notification);

    void voiceStart();
    void voiceEnd();
    void voicePacket(QByteArrayView bytes);
    void decodeVoice(qsizetype bytes);
    void handOverIfFull();
    int formatSize() const;

    QXBLEManager &central() const;
    bool transferActive() const;
    VoiceKeyState &keys() const;
    IVoiceKeyDispatcher &dispatcher() const;
    ILaserPen &laserPen() const;
    void showTip(const char *text, const char *image) const;

    QXBLEMouseCommandManager &m_manager;
    QXBLEManager *m_central = nullptr;
    std::function<int()> m_formatSize;
};
