#pragma once

#include "FakeNeighbours.h"
#include "HidDeviceInfoHandler.h"
#include "ManualScheduler.h"
#include "NotificationRecorder.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXHidReportParser.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// Handlers of the other themes, recording what reaches them ("key:31 after 1 sent").
class RecordingHidHandlers : public IHidKeyEventHandler, public IHidLightingReplyHandler, public IHidOtaAckHandler {
public:
    RecordingHidHandlers(QStringList &log, const RecordingHidSink &sink) : m_log(log), m_sink(sink) {}
    bool completeFramed = true;

    bool handleKeyReply(const proto::HidReport &r) override { return note("key", r), completeFramed; }
    void handlePlan4Key(const proto::HidReport &r) override { note("plan4Key", r); }
    void handlePlan3Key(const proto::HidReport &r) override { note("plan3Key", r); }
    void handleVoiceChip(const proto::HidReport &r) override { note("voiceChip", r); }
    void handleVoiceOutsideSession(const proto::HidReport &r) override { note("voiceOutside", r); }
    void handleLightingReply(const proto::HidReport &r) override { note("lighting", r); }
    void handleFirmwareReply(const proto::HidReport &r) override { note("firmware", r); }
    void handleReceiverFirmwareReply(const proto::HidReport &r) override { note("receiverFirmware", r); }
    void handleRemoteFirmwareReply(const proto::HidReport &r) override { note("remoteFirmware", r); }

private:
    void note(const char *what, const proto::HidReport &r)
    {
        m_log << QStringLiteral("%1:%2 after %3 sent")
                     .arg(QLatin1String(what))
                     .arg(r.command, 2, 16, QLatin1Char('0'))
                     .arg(m_sink.reports.size());
    }
    QStringList &m_log;
    const RecordingHidSink &m_sink;
};

// The report parser over the real command managers, with the reports they send kept
// as the device would receive them, the Bluetooth LE calls and the completion calls
// recorded, on virtual time. Default device: a plan-2 receiver 0x3151/0x22AB with its
// mouse present and key setting on.
class HidParserTest : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    RecordingHidSink sink;
    QXHidCommandManager hid{fakes.seams()};
    QXBLEMouseCommandManager ble{nullptr, nullptr, fakes.seams()};
    QXMouseCommandManager facade{&hid, &ble};
    QXHidReportParser parser{hid, &facade};
    NotificationRecorder notes;
    QStringList bleCalls;
    QStringList handled;
    RecordingHidHandlers handlers{handled, sink};
    std::vector<std::pair<int, int>> completions;
    quint16 vid = 0x3151;
    quint16 pid = 0x22AB;

    HidParserTest()
    {
        hid.setHidSink(&sink);
        QXHidReportParser::Services s;
        s.cancelPeripheralConnection = [this] { bleCalls << "cancelPeripheralConnection"; };
        s.startScan = [this] { bleCalls << "startScan"; };
        s.currentIds = [this] { return std::pair<quint16, quint16>(vid, pid); };
        parser.setServices(s);
        parser.setKeyEventHandler(&handlers);
        parser.setLightingReplyHandler(&handlers);
        parser.setOtaAckHandler(&handlers);
        state->setChipPlan(2);
        state->mouseInfoItem().setDeviceType(1);
        state->setMouseIsConnect(true);
        state->setIsSupportKeySetting(true);
        state->setProductCode(QStringLiteral("56"));
    }
    ~HidParserTest() override { hid.invalidateTimer(); }

    void plan(int p, quint64 deviceType = 1)
    {
        state->setChipPlan(p);
        state->mouseInfoItem().setDeviceType(deviceType);
    }
    void feed(const QByteArray &report)
    {
        parser.eventTypeConvertDataToHexStr(report, [this](int c, int s) { completions.emplace_back(c, s); });
    }
    void feedHex(const char *hex) { feed(QByteArray::fromHex(hex)); }
    static QByteArray R(int n, const char *hex) { return RecordingHidSink::R(n, hex); }
    QXMouseInfoItem &item() { return state->mouseInfoItem(); }
    QList<QByteArray> sent()
    {
        QList<QByteArray> out = sink.reports;
        sink.reports.clear();
        return out;
    }
};
