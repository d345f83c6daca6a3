// Arbitrary values from the Bluetooth LE mouse through its notification parser: the
// classifier, both device-information layouts, the key map, the pointer and firmware
// events and the voice accumulation. Nothing may crash or read outside a value; the
// voice buffers stay bounded (less than one unit waits for decoding, less than one
// chunk plus one value for hand-over); the recording gets four PCM bytes per voice
// byte; chunks handed on while streaming are whole chunks.
//
// Input: byte 0 picks key setting (bit 0), the pointer layout (bit 1) and a running
// voice input (bit 3); then values, each as a length byte and that many bytes. No
// firmware transfer runs (there is no link to start one on): firmware replies reach an
// idle transfer, which drops them.
#include "BleNotificationClassifier.h"
#include "BleNotificationParser.h"
#include "DataPaths.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/DeviceSeams.h"
#include "services/VoiceKeyState.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Delayed work is not needed here: drop it, so no event loop is needed either.
class NoTimers final : public Scheduler, public Clock {
public:
    TimerId singleShot(int, std::function<void()>, QObject *) override { return ++m_next; }
    TimerId repeating(int, std::function<void()>, QObject *) override { return ++m_next; }
    void cancel(TimerId) override {}
    bool isActive(TimerId) const override { return false; }
    const Clock &clock() const override { return *this; }
    quint64 firedCount() const override { return 0; }
    qint64 monotonicMs() const override { return 0; }
    QDateTime now() const override { return {}; }

private:
    TimerId m_next = 0;
};

struct Recording : ISpeechService {
    QBuffer buffer;
    QIODevice *fileHandle() override { return &buffer; }
};

struct Dispatcher : IVoiceKeyDispatcher {
    void hidCallbackType(int) override {}
    void cancelAsr() override {}
    void endIMouseMonitor() override {}
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

struct World {
    QTemporaryDir dir;
    NoTimers timers;
    MemoryKeyValueStore store;
    std::unique_ptr<QXUserInfoData> state;
    NotificationCenter notifications;
    Recording speech;
    Dispatcher voice;
    VoiceKeyState keys;
    QXBLEManager central; // no central: commands are dropped
    QXBLEMouseCommandManager manager{&central, nullptr, DeviceSeams{&keys, &voice, nullptr, nullptr, &speech}};
    BleNotificationParser parser{manager, &central};
    QList<std::pair<bool, qsizetype>> chunks;

    World()
    {
        qInstallMessageHandler(quiet);
        DataPaths::setDataRootOverride(dir.path());
        Scheduler::setInstance(&timers);
        state = std::make_unique<QXUserInfoData>(store);
        QXUserInfoData::setSharedInstance(state.get());
        NotificationCenter::setSharedInstance(&notifications);
        parser.setFormatSizeSource([] { return 0; });
        manager.setVoiceDataBlock([this](bool start, QByteArrayView audio) { chunks.append({start, audio.size()}); });
    }
};

void checkClassifier(QByteArrayView value, bool pointer)
{
    const proto::BleNotification n = proto::classifyBleNotification(value, pointer);
    const bool bracketed = value.size() >= 2 && uint8_t(value.front()) == 0x4d && uint8_t(value.back()) == 0x4c;
    check((n.kind == proto::BleValueKind::Voice) == !bracketed);
    if (n.kind != proto::BleValueKind::Frame)
        return;
    check(value.size() >= proto::kBleMinFrameBytes);
    check(n.payload.size() == value.size() - 4);
    check(n.payload.data() == value.data() + 3);
    check(n.event == uint8_t(value[pointer ? 2 : 1]));
    check(n.value.has_value() == !n.payload.isEmpty());
    for (bool layout : {false, true}) {
        const auto info = proto::readBleDeviceInfo(n.payload, layout);
        const qsizetype need = layout ? proto::kBlePointerInfoPayloadBytes : proto::kBleInfoPayloadBytes;
        check(info.has_value() == (n.payload.size() >= need));
        if (info && !layout)
            check(info->firmwareVersion.has_value() == (n.payload.size() >= proto::kBleInfoWithVersionBytes));
        if (info)
            check(!info->sn.contains(QChar(u'\0')));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const bool pointer = flags & 2;
    world.state->setIsSupportKeySetting(flags & 1);
    world.state->mouseInfoItem().setDeviceType(pointer ? 5 : 1);
    world.keys.setHadStart(flags & 8);
    world.manager.setIsStartVoice(false);
    world.manager.audioData().clear();
    world.manager.encodeData().clear();
    world.chunks.clear();
    world.speech.buffer.close();
    world.speech.buffer.setData({});
    world.speech.buffer.open(QIODevice::WriteOnly);

    size_t at = 1;
    while (at < size) {
        const size_t len = std::min<size_t>(data[at], size - at - 1);
        const QByteArray value(reinterpret_cast<const char *>(data + at + 1), qsizetype(len));
        at += 1 + len;
        checkClassifier(value, pointer);

        const qsizetype chunksBefore = world.chunks.size();
        world.parser.eventTypeConvertDataToHexStr(value);

        check(world.manager.audioData().size() < BleNotificationParser::kVoiceUnitBytes);
        check(world.manager.encodeData().size() < BleNotificationParser::kDefaultFormatSize + 256);
        check(world.speech.buffer.size() % 4 == 0);
        const proto::AdpcmState s = world.manager.msg();
        check(s.index >= 0 && s.index <= proto::kAdpcmMaxIndex && s.valprev >= -32768 && s.valprev <= 32767);
        for (qsizetype i = chunksBefore; i < world.chunks.size(); ++i)
            check(!world.chunks[i].first || world.chunks[i].second >= BleNotificationParser::kDefaultFormatSize);
    }
    world.speech.buffer.close();
    return 0;
}
