// Decoder throughput. "xRealTime" is how many times faster than a 16 kHz mono
// microphone delivers its samples, one core, per decoder.
#include "HidVoiceStream.h"
#include "ImaAdpcm.h"

#include <QByteArray>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kRealTimeRate = 16000.0;

std::vector<uint8_t> encodedSine(size_t samples)
{
    std::vector<int16_t> pcm(samples);
    for (size_t i = 0; i < samples; ++i)
        pcm[i] = int16_t(8000 * std::sin(i * 0.17) + 2000 * std::sin(i * 0.031));
    proto::AdpcmState s;
    const QByteArray coded = proto::adpcmCoder(s, pcm);
    return {coded.begin(), coded.end()};
}

void countSamples(benchmark::State &state, size_t samplesPerIteration)
{
    const double samples = double(samplesPerIteration);
    state.counters["samples"] = benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["xRealTime"] =
        benchmark::Counter(samples / kRealTimeRate, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DecodeHighFirst(benchmark::State &state)
{
    const std::vector<uint8_t> in = encodedSine(16000);
    std::vector<int16_t> out(in.size() * 2);
    for (auto _ : state) {
        proto::AdpcmState s;
        benchmark::DoNotOptimize(proto::adpcmDecodeHighFirst(in, out, s));
        benchmark::ClobberMemory();
    }
    countSamples(state, out.size());
}
BENCHMARK(BM_DecodeHighFirst);

void BM_DecodeLowFirst(benchmark::State &state)
{
    const std::vector<uint8_t> in = encodedSine(16000);
    std::vector<int16_t> out(in.size() * 2);
    for (auto _ : state) {
        proto::AdpcmState s;
        benchmark::DoNotOptimize(proto::adpcmDecoder(s, in, out));
        benchmark::ClobberMemory();
    }
    countSamples(state, out.size());
}
BENCHMARK(BM_DecodeLowFirst);

void BM_BlockDecoder128(benchmark::State &state)
{
    std::vector<uint8_t> block = encodedSine(248 + 8);
    block.resize(128);
    std::vector<int16_t> out(248);
    for (auto _ : state) {
        benchmark::DoNotOptimize(proto::adpcmBlockDecoder(block, out));
        benchmark::ClobberMemory();
    }
    countSamples(state, out.size());
}
BENCHMARK(BM_BlockDecoder128);

// The whole report path of the most common family: decode, recording, chunking.
void BM_Plan7Reports(benchmark::State &state)
{
    const std::vector<uint8_t> audio = encodedSine(114);
    QByteArray report = QByteArray::fromHex("a5000080100000");
    report.append(reinterpret_cast<const char *>(audio.data()), qsizetype(audio.size()));
    proto::HidVoiceSinks sinks;
    size_t bytes = 0;
    sinks.recording = [&](QByteArrayView pcm) { bytes += size_t(pcm.size()); };
    sinks.voice = [&](bool, QByteArrayView a) { bytes += size_t(a.size()); };
    proto::HidVoiceStream stream(sinks);
    proto::HidVoiceContext ctx;
    ctx.chipPlan = 7;
    ctx.isStartVoice = true;
    for (auto _ : state)
        stream.handleVoiceReport(ctx, report);
    benchmark::DoNotOptimize(bytes);
    countSamples(state, 114);
}
BENCHMARK(BM_Plan7Reports);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
