// Device-information reports of the hidapi transport, as a receiver sends them. The
// first input byte picks the receiver (bit 0: plan 2, bit 1: the pointer receiver,
// bit 2: a pointer device type); the rest is the report. Nothing may crash or read
// past the report.
#include "DataPaths.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "QXHidapiManager.h"
#include "QXUserInfoData.h"

#include <QTemporaryDir>

#include <cstdint>

namespace {
struct World {
    QTemporaryDir root;
    MemoryKeyValueStore store;
    QXUserInfoData *state = nullptr;
    NotificationCenter notifications;
    QXHidapiManager manager;
    World()
    {
        NotificationCenter::setSharedInstance(&notifications);
        DataPaths::setDataRootOverride(root.path());
        state = new QXUserInfoData(store); // kept to the end of the process, like the real one
        QXUserInfoData::setSharedInstance(state);
        manager.setCustomDataHandler([](const QByteArray &) {});
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static World world;
    if (size < 1)
        return 0;
    const uint8_t selector = data[0];
    QXUserInfoData &state = *world.state;
    state.setChipPlan((selector & 1) ? 2 : 1);
    state.mouseInfoItem().setVid((selector & 2) ? 0x3151 : 0x1234);
    state.mouseInfoItem().setPid((selector & 2) ? 0x23AB : 0x5678);
    state.mouseInfoItem().setDeviceType((selector & 4) ? 2 : 1);
    state.setIsNeedMouseInfo(false);
    const QByteArray report(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    // The report as a detached copy: a read past its end is caught by the sanitizers.
    world.manager.getDeivceInfoWithBuf(report, int(report.size()));
    world.manager.getDeivceInfoWithBuf(report, int(report.size()) + 40); // a result larger than the buffer
    world.manager.converter().invalidateTimer();
    return 0;
}
