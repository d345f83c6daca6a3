#pragma once

#include "BleFirmwareTransfer.h"
#include "BleNotificationParser.h"
#include "DeviceWorld.h"
#include "FakeBleCentral.h"
#include "NotificationNames.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "RecordingBleManagerDelegate.h"
#include "SimBleMouse.h"
#include "firmware/FirmwareTestImages.h"

#include <gtest/gtest.h>

#include <memory>

// The parser of a command manager whose frames reach a mouse over the fake adapter as
// GATT writes; the test hands values straight to the parser.
class BleParserTest : public ::testing::Test, protected DeviceWorld {
protected:
    FakeBleAdapter adapter;
    RecordingBleManagerDelegate app;
    std::unique_ptr<QXBLEManager> central = std::make_unique<QXBLEManager>(adapter.factory(), &app);
    QXBLEMouseCommandManager mgr{central.get(), nullptr, fakes.seams()};
    BleNotificationParser parser{mgr, central.get()};
    QList<std::pair<bool, QByteArray>> chunks; // what the voice block received
    fwtest::ImageFolder images;

    void SetUp() override
    {
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
    void TearDown() override
    {
        sched.advance(5000); // let delayed work end inside the test
        central.reset();
    }

    void feed(const char *hex) { parser.eventTypeConvertDataToHexStr(QByteArray::fromHex(hex)); }
    void feedBytes(const QByteArray &bytes) { parser.eventTypeConvertDataToHexStr(bytes); }
    QByteArrayList writes() const
    {
        QByteArrayList out;
        for (const auto &w : adapter.writes)
            out << w.data.toHex();
        return out;
    }
    // Starts a real firmware transfer of a `bytes`-byte image (128 bytes a packet); the
    // test then answers for the mouse. Clears the writes and notifications it made.
    void startTransfer(int bytes = 300)
    {
        const QString path = images.write(QStringLiteral("image.txt"), fwtest::mouseFile(fwtest::lines(bytes)));
        mgr.firmwareTransfer().setImagePathSource([path] { return path; });
        mgr.firmwareTransfer().sendStartOTAData();
        ASSERT_TRUE(mgr.firmwareTransfer().isOTATransferActive());
        adapter.writes.clear();
        notes.clear();
    }
    int firmwareWrites() const
    {
        int n = 0;
        for (const auto &w : adapter.writes)
            n += w.characteristic.characteristic == platform::normalizedBleUuid(sim::SimBleMouse::kOtaWrite);
        return n;
    }
    QByteArray recording() const { return fakes.speech.recording.data(); }
};
