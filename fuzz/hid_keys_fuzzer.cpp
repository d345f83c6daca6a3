// Key events, voice-chip and lighting replies of every HID family through the report
// parser and its key and lighting handlers: nothing may crash or read past a report,
// and only press-type codes reach the dispatcher. Input: one set-up byte (bits 0-2
// the family: plans 2, 3, 4, 6, 7 or device type 5; bit 3 a keyboard; bit 4 key
// setting; bit 5 a voice input runs; bit 6 translation mode; bit 7 voice from the
// device), then reports as a length byte and that many bytes.
#include "HidEventHandlers.h"
#include "IChipTokenClient.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"
#include "services/DeviceSeams.h"
#include "services/IVoiceKeyDispatcher.h"
#include "services/VoiceKeyState.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <map>

namespace {

struct CheckingDispatcher final : IVoiceKeyDispatcher {
    void hidCallbackType(int type) override
    {
        const bool known = type == 0 || (type >= 33 && type <= 38) || type == 50 || presstype::isProgrammableKey(type);
        if (!known)
            std::abort();
    }
    void cancelAsr() override {}
    void endIMouseMonitor() override {}
};

// Single shots run when the input is done (so delayed hand-overs and gates are
// exercised); repeating timers never fire.
struct DrainScheduler final : Scheduler {
    TimerId singleShot(int, std::function<void()> fn, QObject *) override
    {
        pending.emplace(++next, std::move(fn));
        return next;
    }
    TimerId repeating(int, std::function<void()>, QObject *) override { return ++next; }
    void cancel(TimerId id) override { pending.erase(id); }
    bool isActive(TimerId id) const override { return pending.count(id) != 0; }
    const Clock &clock() const override { return systemClock; }
    quint64 firedCount() const override { return 0; }
    void drain()
    {
        while (!pending.empty()) {
            auto fn = std::move(pending.begin()->second);
            pending.erase(pending.begin());
            fn();
        }
    }
    std::map<TimerId, std::function<void()>> pending;
    TimerId next = 0;
    SystemClock systemClock;
};

struct AnsweringTokens final : IChipTokenClient {
    void getIFlytekTokenWithCallback(QXSceneCallback callback) override { callback(true, QJsonValue(), QXNetError()); }
};

struct World {
    QTemporaryDir dir;
    MemoryKeyValueStore store;
    std::unique_ptr<QXUserInfoData> state;
    NotificationCenter notifications;
    CheckingDispatcher voice;
    VoiceKeyState keys;
    DrainScheduler scheduler;
    AnsweringTokens tokens;
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
    static constexpr int kPlans[] = {2, 3, 4, 6, 7, 2, 6, 7};
    const int family = data[0] & 7;
    state.setChipPlan(kPlans[family]);
    state.mouseInfoItem().setDeviceType(family == 5 ? 5 : 1);
    state.setIsKeyboard(data[0] & 0x08);
    state.setIsSupportKeySetting(data[0] & 0x10);
    state.setMouseIsConnect(true);
    world.keys.setHadStart(data[0] & 0x20);
    world.keys.setIsTranslate(data[0] & 0x40);

    const DeviceSeams seams{&world.keys, &world.voice};
    QXHidCommandManager hid(seams);
    QXBLEMouseCommandManager ble(nullptr, nullptr, seams);
    QXMouseCommandManager facade(hid, ble);
    facade.setIsFromMicData(!(data[0] & 0x80));
    QXHidReportParser parser(hid, &facade);
    QXHidReportParser::Deps deps;
    deps.cancelPeripheralConnection = [] {};
    deps.startScan = [] {};
    deps.currentIds = [] { return std::pair<quint16, quint16>(0x248A, 0x61AB); };
    parser.setDeps(deps);
    HidEventHandlers handlers(parser, &world.tokens);

    size_t at = 1;
    while (at < size) {
        const size_t length = qMin<size_t>(data[at], size - at - 1);
        const QByteArray report(reinterpret_cast<const char *>(data + at + 1), qsizetype(length));
        parser.eventTypeConvertDataToHexStr(report, [](int, int) {});
        at += 1 + length;
    }
    world.scheduler.drain();
    hid.invalidateTimer();
    hid.invalidateCheckVoiceTimer();
    return 0;
}
