// Arbitrary reports through the HID report classifier and the whole parser, for every
// frame layout and device type: nothing may crash or read past a report, a report never
// sets off more than a handful of notifications, and the completion is called at most
// once, only for framed replies.
//
// Input: byte 0 = frame layout (bits 0-2), device type 1-5 (bits 3-5, modulo 5),
// product "113" (bit 6), voice streaming (bit 7); byte 1 = receiver ids (bits 0-1),
// mouse present (bit 2), voice session running (bit 3); then reports, each one length
// byte and the report bytes.
#include "DataPaths.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "QXUserInfoData.h"
#include "Scheduler.h"

#include <QObject>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Single shots run when the report is done (so delayed requests run too); repeating
// timers never fire.
class StepTimers final : public Scheduler, public Clock {
public:
    TimerId singleShot(int, std::function<void()> fn, QObject *) override
    {
        m_due[++m_next] = std::move(fn);
        return m_next;
    }
    TimerId repeating(int, std::function<void()>, QObject *) override { return ++m_next; }
    void cancel(TimerId id) override { m_due.erase(id); }
    bool isActive(TimerId id) const override { return m_due.count(id) != 0; }
    const Clock &clock() const override { return *this; }
    quint64 firedCount() const override { return 0; }
    qint64 monotonicMs() const override { return 0; }
    QDateTime now() const override { return QDateTime::fromSecsSinceEpoch(1700000000); }
    void runAll()
    {
        for (int round = 0; round < 16 && !m_due.empty(); ++round) {
            std::map<TimerId, std::function<void()>> due;
            due.swap(m_due);
            for (auto &[id, fn] : due)
                fn();
        }
    }

private:
    TimerId m_next = 0;
    std::map<TimerId, std::function<void()>> m_due;
};

class NullSink final : public HidCommandSink {
public:
    int sent = 0;
    void hidRequestSendCommand(const HidCommandBuffer &) override { ++sent; }
    void setPressType(qint64) override {}
};

struct World {
    QTemporaryDir dir;
    StepTimers timers;
    NotificationCenter center;
    MemoryKeyValueStore store;
    std::unique_ptr<QXUserInfoData> state;
    NullSink sink;
    QXHidCommandManager hid;
    QXBLEMouseCommandManager ble;
    std::unique_ptr<QXMouseCommandManager> facade;
    std::unique_ptr<QXHidReportParser> parser;
    QObject context;
    int notifications = 0;
    std::pair<quint16, quint16> ids{0x3151, 0x22AB};

    World()
    {
        DataPaths::setDataRootOverride(dir.path());
        Scheduler::setInstance(&timers);
        NotificationCenter::setSharedInstance(&center);
        setWriteLogHandler([](const QString &) {});
        state = std::make_unique<QXUserInfoData>(store);
        QXUserInfoData::setSharedInstance(state.get());
        hid.setHidSink(&sink);
        facade = std::make_unique<QXMouseCommandManager>(hid, ble);
        parser = std::make_unique<QXHidReportParser>(hid, facade.get());
        QXHidReportParser::Deps s;
        s.cancelPeripheralConnection = [] {};
        s.startScan = [] {};
        s.currentIds = [this] { return ids; };
        parser->setDeps(s);
        for (const char *name : qx::notify::kAllNames)
            NotificationCenter::defaultCenter().addObserver(QString::fromLatin1(name), &context,
                                                            [this](const QVariant &) { ++notifications; });
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    if (size < 2)
        return 0;
    QXUserInfoData &state = *world.state;
    state.setChipPlan(data[0] & 7);
    state.mouseInfoItem().setDeviceType(1 + ((data[0] >> 3) & 7) % 5);
    state.setProductCode(data[0] & 0x40 ? QStringLiteral("113") : QStringLiteral("56"));
    world.hid.setIsStartVoice(data[0] & 0x80);
    static constexpr std::pair<quint16, quint16> kIds[] = {
        {0x3151, 0x22AB}, {0x3151, 0x12AB}, {0x248A, 0x70AC}, {0x248A, 0x61AB}};
    world.ids = kIds[data[1] & 3];
    state.setMouseIsConnect(data[1] & 4);

    size_t at = 2;
    while (at < size) {
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        const QByteArray report(reinterpret_cast<const char *>(data + at + 1), qsizetype(length));
        at += 1 + length;

        const proto::HidReport r = proto::classifyHidReport(report, world.parser->context());
        check(r.payloadOffset >= 0 && r.payloadLength >= 0 && r.payloadOffset + r.payloadLength <= r.size());
        check(r.size() <= report.size());

        world.notifications = 0;
        int completions = 0;
        world.parser->eventTypeConvertDataToHexStr(report, [&completions](int, int status) {
            ++completions;
            check(status >= -128 && status <= 127);
        });
        check(completions <= 1);
        check(completions == 0 || r.callsCompletion);
        check(world.notifications <= 5);
        world.timers.runAll();
    }
    return 0;
}
