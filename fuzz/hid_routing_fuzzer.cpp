// Arbitrary input reports through the transport's routing: the voice interface, the
// command interface's first-byte filter, and the reader/parser switch. Nothing may
// crash, and every report must reach exactly the place its interface and first byte
// send it to, whole.
//
// Input: byte 0 picks the key-setting switch (bit 0) and the parser's answer (bit 1);
// then reports, each as one length byte, one interface byte (0 command, 1 voice,
// 2 another interface; bit 7 reports it on an empty path) and the report bytes.
#include "DataPaths.h"
#include "HIDDevice.h"
#include "HidReportRules.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Timers are not needed for routing: drop them, so no event loop is needed either.
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

// Every interface opens and takes every report.
class OpenBackend final : public platform::IHidBackend {
public:
    QList<platform::HidDeviceInfo> enumerate(const QList<platform::HidMatch> &) override { return {}; }
    bool startWatching(const QList<platform::HidMatch> &, DeviceCallback, DeviceCallback) override { return true; }
    void stopWatching() override {}
    platform::HidResult open(const QString &) override { return {}; }
    bool isOpen(const QString &) const override { return true; }
    platform::HidResult writeReport(const QString &, const QByteArray &) override { return {}; }
    void setInputCallback(InputCallback) override {}
    void close(const QString &) override {}
};

struct Routed {
    int voice = 0, parser = 0, reader = 0;
    QByteArray last;
};

struct World {
    QTemporaryDir dir;
    NoTimers timers;
    NotificationCenter notifications;
    MemoryKeyValueStore store;
    std::unique_ptr<QXUserInfoData> state;
    OpenBackend backend;
    std::unique_ptr<HIDDevice> hid;
    Routed routed;
    int parserCode = 0;

    World()
    {
        DataPaths::setDataRootOverride(dir.path());
        Scheduler::setInstance(&timers);
        NotificationCenter::setSharedInstance(&notifications);
        state = std::make_unique<QXUserInfoData>(store);
        QXUserInfoData::setSharedInstance(state.get());
        hid = std::make_unique<HIDDevice>(&backend);
        HidDeviceSinks s;
        s.handleVoiceData = [this](const QByteArray &r) {
            ++routed.voice;
            routed.last = r;
        };
        s.eventTypeConvertDataToHexStr = [this](const QByteArray &r, std::function<void(int)> complete) {
            ++routed.parser;
            routed.last = r;
            complete(parserCode);
        };
        s.readDeviceInfo = [this](const QByteArray &r) {
            ++routed.reader;
            routed.last = r;
        };
        hid->setSinks(s);
        // The receiver that takes every interface, with its voice and command interfaces.
        platform::HidDeviceInfo voice{"voice", 0x4C4A, 0x5055, 0x100, "R", "S", 0xFF0C, 1, "usb"};
        platform::HidDeviceInfo command{"command", 0x4C4A, 0x5055, 0x100, "R", "S", 0xFF05, 0, "usb"};
        hid->setDeviceRef(voice, false);
        hid->setDeviceRef(command, false);
        check(hid->devicePath() == "command" && hid->voiceDevicePath() == "voice");
    }
    ~World()
    {
        hid.reset();
        NotificationCenter::setSharedInstance(nullptr);
        QXUserInfoData::setSharedInstance(nullptr);
        state.reset();
        Scheduler::setInstance(nullptr);
        DataPaths::setDataRootOverride({});
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    if (size == 0)
        return 0;
    QXUserInfoData &state = *world.state;
    state.setIsSupportKeySetting(data[0] & 1);
    world.parserCode = (data[0] & 2) ? 0x5A : 0;
    size_t at = 1;
    while (at + 2 <= size) {
        const size_t length = std::min<size_t>(data[at], size - at - 2);
        const uint8_t target = data[at + 1];
        const QByteArray report(reinterpret_cast<const char *>(data + at + 2), qsizetype(length));
        at += 2 + length;

        QString path = (target & 3) == 0   ? QStringLiteral("command")
                       : (target & 3) == 1 ? QStringLiteral("voice")
                                           : QStringLiteral("other");
        if (target & 0x80)
            path.clear();
        const Routed before = world.routed;
        world.hid->hidInputReport(path, report);
        const Routed &after = world.routed;
        const int moved =
            (after.voice - before.voice) + (after.parser - before.parser) + (after.reader - before.reader);

        if (path.isEmpty() || path == "other" || report.isEmpty()) {
            check(moved == 0);
        } else if (path == "voice") {
            check(after.voice == before.voice + 1 && moved == 1 && after.last == report);
        } else if (!qx::hid::isCommandInterfaceReport(report)) {
            check(moved == 0);
        } else {
            const bool toParser = state.isSupportKeySetting();
            check(moved == 1 && after.last == report);
            check(toParser ? after.parser == before.parser + 1 : after.reader == before.reader + 1);
            if (toParser)
                check(world.hid->isStartVoice() == (world.parserCode == 0x5A));
        }
    }
    return 0;
}
