#pragma once

#include "DeviceWorld.h"
#include "HidDeviceInfoHandler.h"

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
// recorded, on virtual time (the default device of HidProtocolWorld).
class HidParserTest : public ::testing::Test, protected HidProtocolWorld<> {
protected:
    QStringList handled;
    RecordingHidHandlers handlers{handled, sink};
    std::vector<std::pair<int, int>> completions;

    HidParserTest()
    {
        parser.setKeyEventHandler(&handlers);
        parser.setLightingReplyHandler(&handlers);
        parser.setOtaAckHandler(&handlers);
    }

    void feed(const QByteArray &report)
    {
        parser.eventTypeConvertDataToHexStr(report, [this](int c, int s) { completions.emplace_back(c, s); });
    }
    void feedHex(const char *hex) { feed(QByteArray::fromHex(hex)); }
};
