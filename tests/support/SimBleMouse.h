#pragma once

#include "FakeBleCentral.h"
#include "FrameDecoder.h"
#include "Scheduler.h"
#include "SimVoiceDevice.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

namespace sim {

// The maker's Bluetooth LE mouse behind a FakeBleAdapter, speaking the mouse's frames:
// it acknowledges every command it is sent (4d 10 00 4c), answers the information and
// lighting reads, sends key events when the test presses its keys, and while its
// microphone is open streams IMA ADPCM of a known signal (low nibble first) in packets
// of varying size, one every kPacketIntervalMs, framed by the voice start (5a) and the
// voice end (00). It keeps what a correct decoder must reproduce.
//
// Everything it sends goes through the adapter, so it arrives through the Scheduler
// like real notifications. Install it before connecting; it owns the adapter's onWrite.
class SimBleMouse {
public:
    static inline const QString kId = QStringLiteral("C0:11:22:33:44:20");
    static inline const QString kNotify = QStringLiteral("A8253F02-0C51-4000-B84F-1500068FB5A3");
    static inline const QString kWrite = QStringLiteral("A8253F04-0C51-4000-B84F-1500068FB5A3");
    static inline const QString kOtaWrite = QStringLiteral("A8253F06-0C51-4000-B84F-1500068FB5A3");
    static constexpr int kPacketIntervalMs = 10;

    struct Identity {
        QByteArray sn = "QX1234"; // up to 30 bytes, NUL-padded
        uint16_t pid = 0x22AB;
        uint16_t vid = 0x3151;
        uint8_t led = 1;
        uint8_t mic = 0;
        uint8_t icType = 2;
        uint8_t dpi = 3;
        uint8_t mouseType = 72;
        uint8_t powerPercent = 90;
        QByteArray firmware = "V2.0.1"; // 6 bytes
    };
    Identity identity;
    uint8_t lightingMode = 1, lightingBrightness = 2, lightingSpeed = 3, lightingColor = 4, hand = 0;

    explicit SimBleMouse(FakeBleAdapter &adapter, std::vector<int16_t> signal = testSignal(16000, 440.0, 6000.0));
    ~SimBleMouse();
    SimBleMouse(const SimBleMouse &) = delete;
    SimBleMouse &operator=(const SimBleMouse &) = delete;

    // The peripheral as it advertises (name "Quorvex Mouse", the mouse service).
    static FakeBleAdapter::Peripheral peripheral();

    // ---- the user at the mouse
    void pressKey(uint8_t event) { sendEvent(event); }
    // Sizes of the voice packets, used in turn (default: a spread over 20-120 bytes).
    void setPacketSizes(std::vector<int> sizes) { m_sizes = std::move(sizes); }
    // Any frame the mouse can send: 4d event status payload 4c.
    void sendEvent(uint8_t event, const QByteArray &payload = {}, uint8_t status = 0);
    // A value exactly as given (voice or anything else).
    void sendRaw(const QByteArray &value);

    // ---- observing
    QList<DecodedFrame> commands;  // every frame written to the data characteristic
    QByteArrayList firmwareWrites; // every write to the firmware characteristic
    QByteArrayList undecodable;    // writes the mouse could not read
    int acknowledgements = 0;      // 4d 04 10 4c received
    int eventsSent = 0;            // frames sent that ask for an acknowledgement
    bool streaming() const { return m_timer != Scheduler::kNoTimer; }
    // The voice sent so far: raw ADPCM bytes, and the samples a decoder that started
    // from (0, 0) must produce from them.
    const QByteArray &voiceBytes() const { return m_voiceBytes; }
    const std::vector<int16_t> &expectedSamples() const { return m_expected; }
    QByteArray expectedPcm() const;
    QList<int> packetSizesSent() const { return m_sent; }

private:
    void onWrite(const FakeBleAdapter::Write &w);
    void answer(const DecodedFrame &f);
    void startStream();
    void stopStream();
    void sendPacket(int bytes);
    QByteArray infoPayload() const;

    FakeBleAdapter &m_adapter;
    std::vector<int16_t> m_signal;
    size_t m_pos = 0;
    RefAdpcmEncoder m_encoder;
    std::vector<int> m_sizes{20, 40, 57, 100, 120, 33, 80, 99, 101, 64, 21, 119};
    size_t m_nextSize = 0;
    Scheduler::TimerId m_timer = Scheduler::kNoTimer;
    QByteArray m_voiceBytes;
    std::vector<int16_t> m_expected;
    QList<int> m_sent;
};

} // namespace sim
