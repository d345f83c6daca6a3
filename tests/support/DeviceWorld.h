#pragma once

#include "FakeNeighbours.h"
#include "InstalledInstance.h"
#include "ManualScheduler.h"
#include "NotificationRecorder.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <QStringList>

#include <utility>

// What a device-layer test stands on: virtual time, a fresh application state and
// language manager, the higher layers as recording fakes (with the key flags they
// share with the device layers, handed out by seams()), and every notification
// recorded. Everything is installed for the world's lifetime.
struct DeviceWorld {
    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    NotificationRecorder notes;

    DeviceSeams seams() { return fakes.seams(); }
    QXUserInfoData &st() { return state.state(); }
    QXMouseInfoItem &item() { return state->mouseInfoItem(); }
    // The fakes' call log since the last call, then forgotten.
    QStringList calls() { return std::exchange(fakes.log.calls, {}); }
};

// ... with the HID side of the protocol over a recording device: the HID and Bluetooth
// LE command managers, the facade and the report parser, installed as the shared ones.
// The parser's outside calls are recorded in bleCalls and it sees the receiver `ids`.
// Default device: a plan-2 receiver 0x3151/0x22AB with its mouse present, key setting
// on, product code 56.
template <typename Sink = RecordingHidSink> struct HidProtocolWorld : DeviceWorld {
    Sink sink;
    QXHidCommandManager hid{seams()};
    QXBLEMouseCommandManager ble{nullptr, nullptr, seams()};
    QXMouseCommandManager facade{hid, ble};
    QXHidReportParser parser{hid, &facade};
    QStringList bleCalls;
    std::pair<quint16, quint16> ids{0x3151, 0x22AB};

    template <typename... SinkArgs>
    explicit HidProtocolWorld(SinkArgs &&...sinkArgs) : sink(std::forward<SinkArgs>(sinkArgs)...)
    {
        hid.setHidSink(&sink);
        QXHidReportParser::Deps s;
        s.cancelPeripheralConnection = [this] { bleCalls << "cancelPeripheralConnection"; };
        s.startScan = [this] { bleCalls << "startScan"; };
        s.currentIds = [this] { return ids; };
        parser.setDeps(s);
        plan(2);
        state->setMouseIsConnect(true);
        state->setIsSupportKeySetting(true);
        state->setProductCode(QStringLiteral("56"));
    }
    ~HidProtocolWorld()
    {
        hid.invalidateTimer();
        hid.invalidateCheckVoiceTimer();
    }

    void plan(int p, quint64 deviceType = 1)
    {
        state->setChipPlan(p);
        item().setDeviceType(deviceType);
    }
    // The reports the device received since the last call, then forgotten.
    QList<QByteArray> sent() { return std::exchange(sink.reports, {}); }
    static QByteArray R(int n, const char *hex) { return RecordingHidSink::R(n, hex); }

private:
    ScopedInstall<QXHidCommandManager> m_installedHid{&hid};
    ScopedInstall<QXBLEMouseCommandManager> m_installedBle{&ble};
    ScopedInstall<QXMouseCommandManager> m_installedFacade{&facade};
    ScopedInstall<QXHidReportParser> m_installedParser{&parser};
};
