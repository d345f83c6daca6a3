// Feeds arbitrary bytes to the IMA ADPCM decoders and to the HID voice streams of every
// device family. The first bytes pick the family, the device, the firmware and the
// stream state; the rest is a script of reports, voice-interface chunks, voice starts
// and stream ends. Checks: decoder state in range, no read past a report (ASan), and
// buffers that never outgrow a unit or a chunk.
#include "HidVoiceStream.h"
#include "ImaAdpcm.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Device {
    uint16_t vid, pid;
};
constexpr std::array<int, 6> kPlans = {2, 3, 4, 6, 7, 1};
constexpr std::array<Device, 11> kDevices = {{{0x3151, 0x22AB},
                                              {0x3151, 0x11AB},
                                              {0x3151, 0x13AB},
                                              {0x3151, 0x12AB},
                                              {0x248A, 0x60AB},
                                              {0x248A, 0x80AB},
                                              {0x248A, 0x62AB},
                                              {0x248A, 0x65AB},
                                              {0x248A, 0x64AB},
                                              {0x248A, 0x68AC},
                                              {0x248A, 0x20AB}}};

void fuzzDecoders(const uint8_t *data, size_t size)
{
    const std::span<const uint8_t> in(data, size);
    std::vector<int16_t> out(size * 2 + 1);
    proto::AdpcmState s{size ? int32_t(int8_t(data[0])) * 300 : 0, size > 1 ? data[1] : 0};
    check(proto::adpcmDecodeHighFirst(in, out, s) == size * 2);
    check(s.index >= 0 && s.index <= proto::kAdpcmMaxIndex);
    check(s.valprev >= -32768 && s.valprev <= 32767);
    check(proto::adpcmDecoder(s, in, std::span(out).first(out.size() / 3)) == out.size() / 3);
    check(s.index >= 0 && s.index <= proto::kAdpcmMaxIndex);
    const size_t n = proto::adpcmBlockDecoder(in, out);
    check(n == (size < 4 ? 0 : (size - 4) * 2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzDecoders(data, size);
    if (size < 5)
        return 0;

    proto::HidVoiceContext ctx;
    ctx.chipPlan = kPlans[data[0] % kPlans.size()];
    const Device &device = kDevices[data[1] % kDevices.size()];
    ctx.vendorId = device.vid;
    ctx.productId = device.pid;
    ctx.firmwareVersion = data[2] % 40;
    const uint8_t flags = data[3];
    ctx.isStartVoice = flags & 1;
    ctx.formatSize = (flags & 8) ? int(data[4]) * 16 : 0;
    const int chunkUnit = ctx.formatSize > 0 ? ctx.formatSize : 1280;

    std::optional<proto::VoiceXorTable> table;
    if (flags & 2) {
        proto::VoiceXorTable t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = uint8_t(i * 13 + data[4]);
        table = t;
    }
    size_t recorded = 0, handed = 0;
    proto::HidVoiceSinks sinks;
    sinks.recording = [&](QByteArrayView pcm) {
        check(pcm.size() % 2 == 0);
        recorded += size_t(pcm.size());
    };
    if (flags & 4)
        sinks.voice = [&](bool, QByteArrayView audio) { handed += size_t(audio.size()); };
    proto::HidVoiceStream stream(sinks, table);

    size_t pos = 5;
    while (pos + 2 <= size) {
        const uint8_t op = data[pos];
        const size_t len = std::min<size_t>(data[pos + 1], size - pos - 2);
        // Copied out so that ASan sees the end of each report exactly.
        const QByteArray bytes(reinterpret_cast<const char *>(data + pos + 2), qsizetype(len));
        pos += 2 + len;
        switch (op % 8) {
        case 0:
        case 1:
        case 2:
            stream.handleVoiceReport(ctx, bytes);
            break;
        case 3:
            stream.handleVoiceData(ctx, bytes);
            break;
        case 4:
            stream.startVoice();
            ctx.isStartVoice = true;
            break;
        case 5:
            stream.flushEncodeData(false);
            ctx.isStartVoice = false;
            break;
        case 6:
            ctx.isStartVoice = !ctx.isStartVoice;
            break;
        default:
            stream.clearAudioData();
            break;
        }
        check(stream.audioData().size() < 1280);
        check(stream.encodeData().size() < chunkUnit);
        const proto::AdpcmState msg = stream.msg();
        check(msg.index >= 0 && msg.index <= proto::kAdpcmMaxIndex);
    }
    (void)recorded;
    (void)handed;
    return 0;
}
