#pragma once

#include "BleNotificationParser.h"
#include "FakeBleCentral.h"
#include "FakeNeighbours.h"
#include "IBleFirmwareTransfer.h"
#include "ManualScheduler.h"
#include "NotificationRecorder.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "RecordingBleManagerDelegate.h"
#include "ScopedUserInfoData.h"
#include "SimBleMouse.h"

#include <gtest/gtest.h>

#include <memory>

// The firmware sender as the parser sees it: records what it is asked.
struct FakeFirmwareTransfer : IBleFirmwareTransfer {
    bool active = false;
    QList<qint64> packetsAsked; // currentOTAIndex at each request
    QList<Outcome> outcomes;
    QXBLEMouseCommandManager *manager = nullptr;
    bool isOTATransferActive() const override { return active; }
    void sendOTAFileData() override { packetsAsked << manager->currentOTAIndex(); }
    void otaTransferEnded(Outcome o) override {
        outcomes << o;
        active = false;
    }
};

// The parser of a command manager whose frames reach a mouse over the fake adapter as
// GATT writes; the test hands values straight to the parser.
class BleParserTest : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    FakeNeighbours fakes;
    NotificationRecorder notes;
    FakeBleAdapter adapter;
    RecordingBleManagerDelegate app;
    std::unique_ptr<QXBLEManager> central = std::make_unique<QXBLEManager>(adapter.factory(), &app);
    QXBLEMouseCommandManager mgr{central.get()};
    BleNotificationParser parser{mgr, central.get()};
    QList<std::pair<bool, QByteArray>> chunks; // what the voice block received

    void SetUp() override {
        adapter.addPeripheral(sim::SimBleMouse::peripheral());
        central->startScan();
        sched.runDue();
        ASSERT_TRUE(adapter.advertise(sim::SimBleMouse::kId));
        sched.runDue();
        ASSERT_EQ(central->stateNOW(), QXBLEManager::kStateConnected);
        adapter.writes.clear();
        notes.clear();
        state->setBleConnect(true);
        parser.setFormatSizeSource([] { return 0; });
        mgr.setVoiceDataBlock([this](bool start, QByteArrayView audio) {
            chunks.append({start, audio.toByteArray()});
        });
    }
    void TearDown() override {
        sched.advance(5000); // let delayed work end inside the test
        central.reset();
    }

    void feed(const char *hex) { parser.eventTypeConvertDataToHexStr(QByteArray::fromHex(hex)); }
    void feedBytes(const QByteArray &bytes) { parser.eventTypeConvertDataToHexStr(bytes); }
    QByteArrayList writes() const {
        QByteArrayList out;
        for (const auto &w : adapter.writes)
            out << w.data.toHex();
        return out;
    }
    QXMouseInfoItem &item() { return state->mouseInfoItem(); }
    QByteArray recording() const { return fakes.speech.recording.data(); }
};
