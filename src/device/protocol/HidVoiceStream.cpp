#include "HidVoiceStream.h"

#include "FamilyTraits.h"
#include "PZLog.h"
#include "ReceiverTable.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace proto {

namespace {

// Largest chunk we buffer for the speech service; a language list asking for more
// would otherwise let the buffer grow for minutes.
constexpr int kMaxFormatSize = 1 << 20;

// --- plan 6: one ADPCM block per "1b" report ---------------------------------------
// Some receivers have a fixed block (ReceiverTable's kVoiceBlocks32, kWideBandPcm: the
// report carries PCM, block size 0); every other plan-6 device picks its block by
// firmware version.
struct Plan6Firmware {
    int fromVersion;
    int blockSize;
};
constexpr std::array<Plan6Firmware, 3> kPlan6ByFirmware = {{{22, 100}, {12, 128}, {INT32_MIN, 64}}};
// From this firmware on, the start of 100- and 32-byte blocks is XOR-scrambled.
constexpr int kPlan6XorFirmware = 23;

int plan6BlockSize(const HidVoiceContext &ctx)
{
    using namespace qx::receivers;
    if (productHas(ctx.productId, kVoiceBlocks32))
        return 32;
    if (productHas(ctx.productId, kWideBandPcm))
        return 0;
    for (const Plan6Firmware &f : kPlan6ByFirmware)
        if (ctx.firmwareVersion >= f.fromVersion)
            return f.blockSize;
    return 64;
}

// --- plan 7: "a5" reports, high nibble first, state in each report's header --------
constexpr int kPlan7Unit = 57;
constexpr int kPlan7LargeUnit = 114; // ReceiverTable's kLargeVoiceUnits
constexpr int kPlan7HeaderSize = 7;

int plan7Unit(const HidVoiceContext &ctx)
{
    return qx::receivers::receiverHas(ctx.vendorId, ctx.productId, qx::receivers::kLargeVoiceUnits) ? kPlan7LargeUnit
                                                                                                    : kPlan7Unit;
}

// --- plan 4: "1b" reports, four layouts by device -----------------------------------
enum class Plan4Layout {
    Sequenced, // b1 >> 3 sequence, b2 index, b3-4 predictor, 96 audio bytes
    Reframed,  // b1 removed by the parser; b1 == 0 restarts the decoder; 31 audio bytes
    Generic,   // b1 == 0: b3 index, b4-5 predictor, 46 bytes; else 50 bytes, state carries
};

Plan4Layout plan4Layout(const HidVoiceContext &ctx)
{
    using namespace qx::receivers;
    if (receiverHas(ctx.vendorId, ctx.productId, kSequencedVoice))
        return Plan4Layout::Sequenced;
    if (receiverHas(ctx.vendorId, ctx.productId, kReframedReports))
        return Plan4Layout::Reframed;
    return Plan4Layout::Generic;
}

std::span<const uint8_t> bytesOf(QByteArrayView view)
{
    return {reinterpret_cast<const uint8_t *>(view.data()), size_t(view.size())};
}

uint8_t byteAt(QByteArrayView view, qsizetype i)
{
    return uint8_t(view[i]);
}

int16_t int16Le(QByteArrayView view, qsizetype i)
{
    return qFromLittleEndian<qint16>(view.data() + i);
}

void logShort(int plan, qsizetype got, qsizetype needed)
{
    qxLogOnce(QStringLiteral("voice.short.plan%1").arg(plan),
              QStringLiteral("[voice] plan-%1 voice report of %2 bytes is shorter than its %3-byte layout; dropped")
                  .arg(plan)
                  .arg(got)
                  .arg(needed));
}

bool startsWith(QByteArrayView report, std::initializer_list<uint8_t> prefix)
{
    if (report.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (uint8_t b : prefix)
        if (byteAt(report, i++) != b)
            return false;
    return true;
}

} // namespace

HidVoiceStream::HidVoiceStream(HidVoiceSinks sinks, std::optional<VoiceXorTable> xorTable)
    : m_sinks(std::move(sinks)), m_xorTable(xorTable)
{
}

void HidVoiceStream::handleVoiceData(const HidVoiceContext &ctx, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    m_audioData.append(bytes);
    if (m_audioData.size() < kDefaultFormatSize && ctx.isStartVoice)
        return;
    if (m_sinks.voice)
        m_sinks.voice(ctx.isStartVoice, m_audioData);
    // Emptied also when nobody takes the audio, so the buffer never outgrows a chunk.
    m_audioData.clear();
}

void HidVoiceStream::handleVoiceReport(const HidVoiceContext &ctx, QByteArrayView report)
{
    if (!ctx.isStartVoice || report.isEmpty())
        return;
    switch (familyTraits(ctx.chipPlan).voice) {
    case VoiceLayout::FramedAdpcm:
        if (startsWith(report, {0x0d, 0x5a, 0x3f, 0x02}))
            handlePlan2(ctx, report);
        break;
    case VoiceLayout::Plan4Units:
        if (startsWith(report, {0x1b}))
            handlePlan4(ctx, report);
        break;
    case VoiceLayout::TelinkBlocks:
        if (startsWith(report, {0x1b}))
            handlePlan6(ctx, report);
        break;
    case VoiceLayout::Plan7Units:
        if (startsWith(report, {0xa5}))
            handlePlan7(ctx, report);
        break;
    case VoiceLayout::None:
    case VoiceLayout::VoiceInterface:
        break;
    }
}

void HidVoiceStream::startVoice()
{
    m_audioData.clear();
    m_encodeData.clear();
}

void HidVoiceStream::flushEncodeData(bool isStartVoice)
{
    if (m_sinks.voice)
        m_sinks.voice(isStartVoice, m_encodeData);
    m_encodeData.clear();
}

// 0d 5a 3f 02, sequence number LE, 50 ADPCM bytes. The speech service gets the ADPCM
// itself; only the recording gets PCM.
void HidVoiceStream::handlePlan2(const HidVoiceContext &ctx, QByteArrayView report)
{
    constexpr qsizetype kUnit = 50, kAudioAt = 6;
    if (report.size() < kAudioAt + kUnit)
        return logShort(2, report.size(), kAudioAt + kUnit);
    m_lastNum = qFromLittleEndian<quint16>(report.data() + 4);
    m_audioData.append(report.sliced(kAudioAt, kUnit));
    std::array<int16_t, 2 * kUnit> samples{};
    const size_t n = adpcmDecoder(m_msg, bytesOf(m_audioData).first(kUnit), samples);
    QByteArray pcm;
    appendPcm(pcm, std::span(samples).first(n));
    writeRecording(pcm);
    m_encodeData.append(m_audioData);
    handOver(ctx);
    m_audioData.clear();
}

void HidVoiceStream::handlePlan4(const HidVoiceContext &ctx, QByteArrayView report)
{
    qsizetype audioAt = 0, unit = 0;
    std::optional<AdpcmState> header;
    switch (plan4Layout(ctx)) {
    case Plan4Layout::Sequenced:
        audioAt = 5;
        unit = 96;
        if (report.size() < audioAt + unit)
            return logShort(4, report.size(), audioAt + unit);
        m_lastNum = byteAt(report, 1) >> 3;
        header = AdpcmState{int16Le(report, 3), byteAt(report, 2)};
        break;
    case Plan4Layout::Reframed:
        // Offsets in the report as received: byte 1 is the one the parser drops.
        audioAt = 2;
        unit = 31;
        if (report.size() < audioAt + unit)
            return logShort(4, report.size(), audioAt + unit);
        if (byteAt(report, 1) == 0)
            header = AdpcmState{};
        break;
    case Plan4Layout::Generic:
        if (report.size() >= 2 && byteAt(report, 1) != 0) {
            audioAt = 2;
            unit = 50;
        } else {
            audioAt = 6;
            unit = 46;
        }
        if (report.size() < audioAt + unit)
            return logShort(4, report.size(), audioAt + unit);
        if (audioAt == 6)
            header = AdpcmState{int16Le(report, 4), byteAt(report, 3)};
        break;
    }
    if (header)
        m_state = *header;
    m_audioData.append(report.sliced(audioAt, unit));
    decodeHighFirst(ctx);
}

void HidVoiceStream::handlePlan6(const HidVoiceContext &ctx, QByteArrayView report)
{
    const QByteArrayView payload = report.sliced(1);
    const int blockSize = plan6BlockSize(ctx);
    if (blockSize == 0) {
        // This receiver sends PCM. An odd byte would shift every later sample.
        const qsizetype even = payload.size() & ~qsizetype(1);
        if (even != payload.size())
            qxLogOnce(QStringLiteral("voice.oddPcm"),
                      QStringLiteral("[voice] PCM voice report with an odd byte count; last byte dropped"));
        m_encodeData.append(payload.first(even));
        writeRecording(payload.first(even));
        handOver(ctx);
        return;
    }
    // One block per report: a short report cannot be completed by the next one
    // (that carries its own header), so it is dropped.
    if (payload.size() < blockSize)
        return logShort(6, report.size(), blockSize + 1);
    m_audioData.append(payload.first(blockSize));
    auto *bytes = reinterpret_cast<uint8_t *>(m_audioData.data());
    if (ctx.firmwareVersion >= kPlan6XorFirmware && (blockSize == 100 || blockSize == 32)) {
        if (!m_xorTable) {
            qxLogOnce(QStringLiteral("voice.xorTable"),
                      QStringLiteral("[voice] voice of firmware %1 is scrambled with a table we do not have; "
                                     "it cannot be decoded and is dropped")
                          .arg(ctx.firmwareVersion));
            m_audioData.clear();
            return;
        }
        voicePayloadXor(std::span(bytes, size_t(blockSize)), *m_xorTable);
    }
    std::array<int16_t, 2 * (128 - 4)> samples{};
    const size_t n = adpcmBlockDecoder(std::span<const uint8_t>(bytes, size_t(blockSize)), samples);
    deliverPcm(std::span(samples).first(n));
    handOver(ctx);
    m_audioData.clear();
}

void HidVoiceStream::handlePlan7(const HidVoiceContext &ctx, QByteArrayView report)
{
    if (report.size() < kPlan7HeaderSize)
        return logShort(7, report.size(), kPlan7HeaderSize);
    if (m_sinks.setSamplingRate)
        m_sinks.setSamplingRate((byteAt(report, 3) & 0x80) != 0);
    m_audioData.append(report.sliced(kPlan7HeaderSize));
    const qsizetype held = m_audioData.size();
    if (held != kPlan7Unit && held != kPlan7LargeUnit) {
        // A buffer of another length waits for the rest of a unit, but once it is past
        // the largest unit it can never match again: start over.
        if (held > kPlan7LargeUnit) {
            qxLogOnce(QStringLiteral("voice.plan7.misaligned"),
                      QStringLiteral("[voice] plan-7 voice bytes do not add up to a unit; dropped"));
            m_audioData.clear();
        }
        return;
    }
    // High byte, then the low byte added as a signed value, in 16-bit arithmetic.
    const auto predictor = int16_t(uint16_t((byteAt(report, 5) << 8) + int8_t(byteAt(report, 6))));
    m_state = AdpcmState{predictor, byteAt(report, 4)};
    if (held > plan7Unit(ctx))
        m_audioData.truncate(plan7Unit(ctx));
    decodeHighFirst(ctx);
}

void HidVoiceStream::decodeHighFirst(const HidVoiceContext &ctx)
{
    std::array<int16_t, 2 * kPlan7LargeUnit> samples{};
    const size_t n = adpcmDecodeHighFirst(bytesOf(m_audioData), samples, m_state);
    deliverPcm(std::span(samples).first(n));
    handOver(ctx);
    m_audioData.clear();
}

void HidVoiceStream::deliverPcm(std::span<const int16_t> samples)
{
    QByteArray pcm;
    appendPcm(pcm, samples);
    writeRecording(pcm);
    m_encodeData.append(pcm);
}

void HidVoiceStream::writeRecording(QByteArrayView pcm)
{
    if (m_sinks.recording)
        m_sinks.recording(pcm);
}

void HidVoiceStream::handOver(const HidVoiceContext &ctx)
{
    const int unit = ctx.formatSize > 0 ? std::min(ctx.formatSize, kMaxFormatSize) : kDefaultFormatSize;
    if (m_encodeData.size() < unit)
        return;
    if (m_sinks.voice)
        m_sinks.voice(ctx.isStartVoice, m_encodeData);
    m_encodeData.clear();
}

} // namespace proto
