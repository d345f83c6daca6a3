#pragma once

// A simulated device microphone: encodes a known signal with its own IMA ADPCM encoder
// (written here, independent of the application's) into the voice reports of each
// HID device family, and keeps what a correct decoder must reproduce.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace sim {

// Textbook IMA ADPCM encoder; `predictor` is what a decoder fed the same codes holds.
struct RefAdpcmEncoder {
    int predictor = 0;
    int index = 0;
    uint8_t encode(int sample);
    // The largest error a sample may have when the encoder is not overloaded.
    int step() const;
};

// `count` samples of a sine at `hz` (16 kHz rate), plus a slower sine for variety.
std::vector<int16_t> testSignal(int count, double hz = 440.0, double amplitude = 6000.0);

class SimVoiceDevice {
public:
    explicit SimVoiceDevice(std::vector<int16_t> signal) : m_signal(std::move(signal)) {}

    // 0d 5a 3f 02, sequence LE, 50 bytes low nibble first (100 samples); 64 bytes.
    QByteArray plan2Report();
    // a5, flag byte 3, index, predictor high/low (low byte read back as signed), then
    // `unitBytes` high nibble first; zero-padded to `reportSize` when that is larger.
    QByteArray plan7Report(int unitBytes = 57, bool sixteenKHz = true, int reportSize = 64);
    // 1b + one block: predictor LE, index, 0, (blockSize - 4) bytes low nibble first.
    QByteArray plan6Report(int blockSize, int reportSize = 0);
    // 1b + the given bytes as PCM (the receiver that sends no ADPCM).
    QByteArray plan6PcmReport(int samples);

    enum class Plan4 { Sequenced, Reframed, Generic };
    // Plan-4 layouts, high nibble first. Sequenced: 96 bytes with header; Reframed: the
    // report as the receiver sends it (byte 1 == 0 restarts the encoder), 31 bytes;
    // Generic: a header report (46 bytes) when `header`, else 50 bytes carrying on.
    QByteArray plan4Report(Plan4 layout, bool header);

    // Ready audio of the receiver's voice interface: `bytes` of 16-bit PCM.
    QByteArray receiverChunk(int bytes);

    const std::vector<int16_t> &sent() const { return m_sent; }         // the signal consumed
    const std::vector<int16_t> &expected() const { return m_expected; } // what decoding must give
    // Error bound per sample: the encoder's step, -1 while it is still adapting.
    const std::vector<int> &steps() const { return m_steps; }
    QByteArray expectedPcm() const;
    RefAdpcmEncoder &encoder() { return m_enc; }

private:
    int next();
    uint8_t encodeNext();
    QByteArray packHighFirst(int bytes);
    QByteArray packLowFirst(int bytes);

    std::vector<int16_t> m_signal;
    size_t m_pos = 0;
    RefAdpcmEncoder m_enc;
    std::vector<int16_t> m_sent, m_expected;
    std::vector<int> m_steps;
    int m_seq = 0;
    static constexpr int kWarmup = 64;
    int m_warmup = kWarmup;
};

} // namespace sim
