// Feeds arbitrary bytes to the gadget's notification reader: the frame splitter, the
// frame reader and the command manager with its answers and delayed writes. Checks:
// split frames are ordered, disjoint pieces of the value that start with 05 12 and end
// with 0x21; status is 0 exactly when the payload is all zero; every answer the
// manager writes is a well-formed seven-byte frame; the complete block is called once
// per frame. The first byte also picks a text for the text-frame builders.
#include "GadgetFrames.h"
#include "GadgetNotification.h"
#include "QXBLECommandManager.h"
#include "Scheduler.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Collects what the manager schedules and runs it on demand; no event loop needed.
class QueueScheduler final : public Scheduler, public Clock {
public:
    TimerId singleShot(int, std::function<void()> fn, QObject *context) override
    {
        m_queue.push_back({++m_next, std::move(fn), QPointer<QObject>(context), false});
        return m_next;
    }
    TimerId repeating(int, std::function<void()> fn, QObject *context) override
    {
        m_queue.push_back({++m_next, std::move(fn), QPointer<QObject>(context), true});
        return m_next;
    }
    void cancel(TimerId id) override { m_cancelled.push_back(id); }
    bool isActive(TimerId) const override { return false; }
    const Clock &clock() const override { return *this; }
    quint64 firedCount() const override { return 0; }
    qint64 monotonicMs() const override { return 0; }
    QDateTime now() const override { return QDateTime::fromSecsSinceEpoch(1773583509); }

    // Runs each pending callback a few times (repeating ones up to their limit).
    void drain()
    {
        for (int round = 0; round < 8 && !m_queue.empty(); ++round) {
            auto queue = std::move(m_queue);
            m_queue.clear();
            for (auto &t : queue) {
                if (isCancelled(t.id) || !t.context)
                    continue;
                t.fn();
                if (t.repeat)
                    m_queue.push_back(std::move(t));
            }
        }
    }

private:
    struct Task {
        TimerId id;
        std::function<void()> fn;
        QPointer<QObject> context;
        bool repeat;
    };
    bool isCancelled(TimerId id) const
    {
        for (TimerId c : m_cancelled)
            if (c == id)
                return true;
        return false;
    }
    TimerId m_next = 0;
    std::vector<Task> m_queue;
    std::vector<TimerId> m_cancelled;
};

void checkNotification(const QByteArray &frame)
{
    const auto n = proto::gadget::readGadgetNotification(frame);
    check(n.result == proto::gadget::gadgetResultCode(n.event));
    if (frame.size() < proto::gadget::kMinPayloadFrameBytes) {
        check(n.status == proto::gadget::kNoStatus && n.text.isEmpty());
        return;
    }
    const QByteArray payload = frame.mid(4, frame.size() - 6);
    check((n.status == 0) == (payload.count('\0') == payload.size()));
    check(n.status >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray value(reinterpret_cast<const char *>(data), qsizetype(size));

    const QByteArrayList frames = proto::gadget::splitGadgetFrames(value);
    check(frames.isEmpty() || frames.size() >= 2);
    qsizetype from = 0;
    for (const QByteArray &f : frames) {
        check(f.size() >= proto::gadget::kMinValueBytes);
        check(f.startsWith("\x05\x12") && f.endsWith('\x21'));
        const qsizetype at = value.indexOf(f, from);
        check(at >= from);
        from = at + f.size();
        checkNotification(f);
    }
    if (value.size() >= proto::gadget::kMinValueBytes)
        checkNotification(value);

    QueueScheduler scheduler;
    Scheduler::setInstance(&scheduler);
    {
        QXBLECommandManager manager([](const QByteArray &frame) {
            check(frame.size() == 7 && (frame.startsWith("\x05\x12") || frame.startsWith("\x13\x12")));
            return true;
        });
        int calls = 0;
        manager.eventTypeConvertDataToHexStr(value, [&](int, const QString &, qint64) { ++calls; });
        if (value.size() < proto::gadget::kMinValueBytes)
            check(calls == 0);
        else
            check(calls == (frames.isEmpty() ? 1 : int(frames.size())));
        if (size > 0 && data[0] & 1)
            manager.startTimer();
        scheduler.drain();
        check(manager.sendCount() <= QXBLECommandManager::kAuthRequests);
        check(!manager.isTimerRunning() || manager.sendCount() < QXBLECommandManager::kAuthRequests);
    }
    Scheduler::setInstance(nullptr);

    // The text builders: refused past the length byte, otherwise well-formed.
    const QString text = QString::fromUtf8(value);
    const auto frame = proto::gadget::sendSynchronousDeviceFileData(text);
    const qsizetype n = text.toUtf8().size();
    check(frame.has_value() == (n <= proto::gadget::kMaxTextBytes));
    if (frame)
        check(frame->size() == n + 7 && uint8_t(frame->at(3)) == n + 1 && frame->endsWith('\x28'));
    const auto name = proto::gadget::sendSetBluetoothNameData(QString::fromLatin1(value));
    check(name.has_value() == (size <= size_t(proto::gadget::kMaxTextBytes)));
    return 0;
}
