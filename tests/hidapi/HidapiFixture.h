#pragma once

#include "DeviceWorld.h"
#include "FakeDesktop.h"
#include "FakeHidapi.h"
#include "QXHidapiManager.h"

#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

inline QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// A 0x0d feature report of the given bytes, zero-padded to length.
inline QByteArray featureReport(const char *hex, int length)
{
    QByteArray r = hexBytes(hex);
    r.append(QByteArray(std::max<qsizetype>(0, length - r.size()), '\0'));
    return r;
}

// The manager over a simulated library, with virtual time, fake neighbours and a
// fresh application state. Listener calls and command completions are recorded.
class HidapiTest : public ::testing::Test, protected DeviceWorld {
protected:
    static constexpr quint16 kVid = 0x3151, kPid = 0x22AB;

    FakeDesktop desktop;
    FakeHidapi lib;
    QXHidapiManager manager{&lib, fakes.seams()};
    std::vector<std::pair<bool, int>> heard; // listener calls
    int listenerCalls = 0;

    void SetUp() override
    {
        state->setChipPlan(1);
        lib.setDevices({hidapiInterface(kVid, kPid, 0xFF05, 0, "/dev/hidraw3", QStringLiteral("SN-42"))});
    }
    void TearDown() override { manager.hidRequestClose(); }

    QXHidapiManager::ReadCallback listener()
    {
        return [this](bool ok, int type) {
            ++listenerCalls;
            heard.emplace_back(ok, type);
        };
    }
    void open(quint16 vid = kVid, quint16 pid = kPid) { manager.hidRequestReadMouseInfoVid(vid, pid, listener()); }

    // Lets the reading thread answer the read in flight and the main thread take it.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !manager.isReading(); }, 5000));
    }
    // Advances virtual time in steps, letting every read that falls due complete.
    void run(int ms, int step = 1)
    {
        for (int t = 0; t < ms; t += step) {
            sched.advance(step);
            settle();
        }
    }
    // Opens on a plan other than 2 with a complete first report, past the first information.
    void openPastFirstInfo(const char *infoHex = "0d0164012100000000")
    {
        lib.queueFeatureReport(featureReport(infoHex, 17));
        open();
        settle();
        lib.clearWrites();
        notes.clear();
    }
};
