#pragma once

// The device microphone over HID: turns voice reports into the speech service's audio.
//
// How it is driven. The HID command manager owns one HidVoiceStream for the process
// and, on the main thread:
//  - hands every report of the receiver's voice interface to handleVoiceData();
//  - hands every main-interface voice report its parser recognises ("0d5a3f02" on
//    plan 2, "a5" on plan 7, "1b" on plans 4 and 6) to handleVoiceReport(), exactly as
//    the report arrived (the kReframedReports re-framing is done here, because its voice
//    layout needs the byte the re-framing drops); the sampling-rate flag of plan-7
//    reports is set here too, through the sinks;
//  - calls startVoice() at every voice start (microphone-open command, voice-start
//    events) and flushEncodeData() where a stream ends (voice-end events, the plan-4
//    microphone-close command);
//  - calls clearAudioData() where the microphone-open command of plans 3 and 4 asks.
// Each call takes the manager's current view of the device (HidVoiceContext). Nothing
// here keeps time: every hand-over happens inside the call that completes a chunk.
//
// What goes out: 16-bit PCM (plan 2: the raw ADPCM) in chunks of `formatSize` bytes to
// the voice sink (the facade's sendVoiceDataBlock; the receiver copies what it keeps),
// and the decoded PCM to the speech service's open recording file.

#include "ImaAdpcm.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>

namespace proto {

struct HidVoiceContext {
    int chipPlan = 0;
    uint16_t vendorId = 0;   // currentVid of the open receiver
    uint16_t productId = 0;  // currentPid
    int firmwareVersion = 0; // the device's firmware version read as an integer
    int formatSize = 0;      // "pcm" of the speech language's "formatSize"; 0 means 1280
    bool isStartVoice = false;
};

struct HidVoiceSinks {
    // sendVoiceDataBlock: (isStartVoice, audio). May be empty.
    std::function<void(bool isStartVoice, QByteArrayView audio)> voice;
    // Appends decoded PCM to the recording (the speech service's open recording
    // file). May be empty.
    std::function<void(QByteArrayView pcm)> recording;
    // samplingRate of the application state (plan-7 reports carry it). May be empty.
    std::function<void(bool samplingRate)> setSamplingRate;
};

class HidVoiceStream {
public:
    static constexpr int kDefaultFormatSize = 1280;

    explicit HidVoiceStream(HidVoiceSinks sinks = {}, std::optional<VoiceXorTable> xorTable = std::nullopt);

    void setSinks(HidVoiceSinks sinks) { m_sinks = std::move(sinks); }
    const HidVoiceSinks &sinks() const { return m_sinks; }
    // The table newer plan-6 firmware scrambles its blocks with; without it that
    // voice is dropped (logged once) rather than decoded into noise.
    void setVoiceXorTable(std::optional<VoiceXorTable> table) { m_xorTable = table; }

    // A report of the receiver's voice interface: ready audio, handed on undecoded in
    // chunks of 1280 bytes, or at once when no stream runs.
    void handleVoiceData(const HidVoiceContext &ctx, QByteArrayView bytes);
    // A voice report of the main interface. Ignored outside a voice stream and for
    // plans without a voice layout.
    void handleVoiceReport(const HidVoiceContext &ctx, QByteArrayView report);

    // A new stream: nothing left over from the last one is decoded or handed on.
    // The decoder states carry over, as the devices' encoders are not known to restart.
    void startVoice();
    // End of a stream: hands what is left to the voice sink (also when nothing is, so
    // the receiver sees the end) and empties it.
    void flushEncodeData(bool isStartVoice);
    void clearAudioData() { m_audioData.clear(); }

    const QByteArray &audioData() const { return m_audioData; }
    const QByteArray &encodeData() const { return m_encodeData; }
    int lastNum() const { return m_lastNum; }
    AdpcmState msg() const { return m_msg; }

private:
    void handlePlan2(const HidVoiceContext &ctx, QByteArrayView report);
    void handlePlan4(const HidVoiceContext &ctx, QByteArrayView report);
    void handlePlan6(const HidVoiceContext &ctx, QByteArrayView report);
    void handlePlan7(const HidVoiceContext &ctx, QByteArrayView report);
    // Decodes the whole of m_audioData high nibble first with m_state.
    void decodeHighFirst(const HidVoiceContext &ctx);
    void deliverPcm(std::span<const int16_t> samples);
    void writeRecording(QByteArrayView pcm);
    void handOver(const HidVoiceContext &ctx);

    HidVoiceSinks m_sinks;
    std::optional<VoiceXorTable> m_xorTable;
    QByteArray m_audioData;  // voice bytes not yet decoded or handed on
    QByteArray m_encodeData; // audio waiting for a whole chunk
    AdpcmState m_msg;        // plan 2, low nibble first
    AdpcmState m_state;      // plans 4 and 7, high nibble first, set from report headers
    int m_lastNum = 0;
};

} // namespace proto
