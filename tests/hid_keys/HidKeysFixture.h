#pragma once

#include "DeviceWorld.h"
#include "FakeChipTokenClient.h"
#include "FrameDecoder.h"
#include "HidEventHandlers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// Keeps what goes to the device and names each report in the shared call log
// ("send:sendOpenMicData"), so the order of device commands and dispatcher calls shows.
class LoggingHidSink : public RecordingHidSink {
public:
    explicit LoggingHidSink(CallLog &log) : m_log(log) {}
    void hidRequestSendCommand(const HidCommandBuffer &buffer) override
    {
        const qsizetype before = reports.size();
        RecordingHidSink::hidRequestSendCommand(buffer);
        if (reports.size() == before)
            return;
        const int plan = int(QXUserInfoData::sharedInstance().chipPlan());
        const auto d = sim::FrameDecoder::decodeHid(plan, reports.last());
        m_log.calls << QStringLiteral("send:") + (d ? d->command : QString::fromLatin1(reports.last().toHex()));
    }

private:
    CallLog &m_log;
};

// The report parser with the real key and lighting handlers over the real command
// managers, every neighbour recorded in one call log, on virtual time (the default
// device of HidProtocolWorld).
class HidKeysTest : public ::testing::Test, protected HidProtocolWorld<LoggingHidSink> {
protected:
    FakeChipTokenClient tokens;
    HidEventHandlers handlers{parser, &tokens};
    std::vector<std::pair<int, int>> completions;
    std::vector<std::pair<bool, QByteArray>> voiceBlocks;

    HidKeysTest() : HidProtocolWorld<LoggingHidSink>(fakes.log)
    {
        facade.setSendVoiceDataBlock(
            [this](bool on, QByteArrayView audio) { voiceBlocks.emplace_back(on, audio.toByteArray()); });
    }

    void feed(const QByteArray &report)
    {
        parser.eventTypeConvertDataToHexStr(report, [this](int c, int s) { completions.emplace_back(c, s); });
    }
    static QByteArray R(int n, const QByteArray &bytes)
    {
        QByteArray b = bytes;
        b.resize(n, '\0');
        return b;
    }
    static QByteArray bytes(std::initializer_list<int> list)
    {
        QByteArray b;
        for (int v : list)
            b.append(char(v));
        return b;
    }
    // A framed reply 0d 5a 4d <command> <status> <value>.
    void framed(int command, int status = 0, int value = 0)
    {
        feed(R(64, bytes({0x0d, 0x5a, 0x4d, command, status, value})));
    }
    void plan7Reply(int command) { feed(R(21, bytes({0xa6, 0x05, 0x4d, command, 0x00}))); }
    void plan6Reply(int command, int first = 0x0c, int status = 0)
    {
        feed(R(21, bytes({first, 0x4d, 0x05, command, status})));
    }
    void plan3Key(int key)
    {
        QByteArray r = R(24, bytes({0x00, 0x01, 0x50}));
        r[8] = char(key);
        r[20] = char(state->mouseInfoItem().mouseType());
        feed(r);
    }

    std::vector<int> pressTypes() { return std::exchange(fakes.voice.pressTypes, {}); }
};
