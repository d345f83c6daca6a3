// Device-information reports of the receivers, several per input, through the
// per-byte reader: nothing may crash, and only real press types reach the
// dispatcher. Input: one set-up byte (bits 0-2 chip plan, bit 3 the pointer
// receiver, bits 4-5 the device type before), then reports as a length byte and
// that many bytes.
#include "HidInfoReader.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/DeviceSeams.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct CheckingDispatcher final : IVoiceKeyDispatcher {
    void hidCallbackType(int type) override
    {
        const bool known = (type >= 33 && type <= 38) || type == 50;
        if (!known)
            std::abort();
    }
    void cancelAsr() override {}
    void endIMouseMonitor() override {}
};

// Timers never fire here; the volume repeat is only started and stopped.
struct IdleScheduler final : Scheduler {
    TimerId singleShot(int, std::function<void()>, QObject *) override { return ++next; }
    TimerId repeating(int, std::function<void()>, QObject *) override { return ++next; }
    void cancel(TimerId) override {}
    bool isActive(TimerId) const override { return false; }
    const Clock &clock() const override { return systemClock; }
    quint64 firedCount() const override { return 0; }
    TimerId next = 0;
    SystemClock systemClock;
};

struct World {
    QTemporaryDir dir;
    MemoryKeyValueStore store;
    std::unique_ptr<QXUserInfoData> state;
    NotificationCenter notifications;
    CheckingDispatcher voice;
    IdleScheduler scheduler;
    World()
    {
        qputenv("QX_DATA_DIR", dir.path().toUtf8());
        state = std::make_unique<QXUserInfoData>(store);
        QXUserInfoData::setSharedInstance(state.get());
        NotificationCenter::setSharedInstance(&notifications);
        Scheduler::setInstance(&scheduler);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    if (size == 0)
        return 0;
    QXUserInfoData &state = *world.state;
    state.setChipPlan(data[0] & 7);
    state.setIsNeedMouseInfo(false);
    state.mouseInfoItem().setDeviceType((data[0] >> 4) & 3);
    const bool pointerReceiver = data[0] & 8;

    HidInfoReader::Deps deps;
    deps.seams.voice = &world.voice;
    HidInfoReader reader(deps);
    size_t at = 1;
    while (at < size) {
        const size_t length = qMin<size_t>(data[at], size - at - 1);
        const QByteArray report(reinterpret_cast<const char *>(data + at + 1), qsizetype(length));
        reader.getDeivceInfoWithBuf(report, pointerReceiver ? 0x3151 : 0x1234, pointerReceiver ? 0x23ab : 0x5678);
        at += 1 + length;
    }
    const qint64 p = reader.pressType();
    if (p != 0 && !((p >= 33 && p <= 38) || p == 50))
        std::abort();
    return 0;
}
