#pragma once

#include "DeviceWorld.h"
#include "SimulatedHidBus.h"
#include "SimulatedReceiver.h"

#include "HIDDevice.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZLog.h"
#include "ReceiverTable.h"

#include <gtest/gtest.h>

#include <memory>

// A transport over the simulated bus, on virtual time, with every neighbour recorded in
// one call log: the higher-layer fakes, the transport's sinks ("startTimer", ...), the
// user log ("log:接收器插入") and the device notifications ("post:kUSBInsertNotification").
class HidTransportTest : public ::testing::Test, protected DeviceWorld {
protected:
    HidTransportTest()
    {
        setWriteLogHandler([this](const QString &line) { fakes.log.calls << QStringLiteral("log:") + line; });
        for (const char *name : {qx::notify::kUSBInsertNotification, qx::notify::kUSBRemoveNotification,
                                 qx::notify::HadUSBInfoNotification}) {
            const QString n = QString::fromLatin1(name);
            NotificationCenter::defaultCenter().addObserver(
                n, &context, [this, n](const QVariant &) { fakes.log.calls << "post:" + n; });
        }
        hid = std::make_unique<HIDDevice>(&bus, fakes.seams());
        hid->setSinks(recordingSinks());
    }
    ~HidTransportTest() override
    {
        hid.reset();
        setWriteLogHandler(nullptr);
    }

    HidDeviceSinks recordingSinks()
    {
        QStringList &calls = fakes.log.calls;
        HidDeviceSinks s;
        s.startTimer = [&calls] { calls << "startTimer"; };
        s.invalidateTimer = [&calls] { calls << "invalidateTimer"; };
        s.setIsStartVoice = [&calls](bool on) { calls << QStringLiteral("setIsStartVoice(%1)").arg(on); };
        s.sendCloseMicData = [&calls] { calls << "sendCloseMicData"; };
        s.sendTelinkLaserPenOnlineData = [&calls] { calls << "sendTelinkLaserPenOnlineData"; };
        s.handleVoiceData = [this](const QByteArray &r) { voiceReports << r; };
        s.eventTypeConvertDataToHexStr = [this](const QByteArray &r, std::function<void(int)> complete) {
            parserReports << r;
            complete(parserCode);
        };
        s.setIsFromMicData = [&calls](bool on) { calls << QStringLiteral("setIsFromMicData(%1)").arg(on); };
        s.sendGetMouseInfoData = [&calls] { calls << "sendGetMouseInfoData"; };
        s.sendClosePopUpWebSiteData = [&calls] { calls << "sendClosePopUpWebSiteData"; };
        s.readDeviceInfo = [this](const QByteArray &r) { readerReports << r; };
        s.registerHotKey = [&calls] { calls << "registerHotKey"; };
        s.cancelPeripheralConnection = [&calls] { calls << "cancelPeripheralConnection"; };
        s.breakBindingWithDefaultsKey = [&calls](const QString &k) { calls << "break(" + k + ")"; };
        return s;
    }

    // A receiver of table row n (1-based), plugged in and taken up (event loop run).
    std::unique_ptr<SimulatedReceiver> plugRow(int n, SimulatedReceiver::Options options = {})
    {
        auto r = std::make_unique<SimulatedReceiver>(bus, qx::receivers::receiverTable()[std::size_t(n - 1)], options);
        r->plugIn();
        sched.runDue();
        return r;
    }
    void watch()
    {
        hid->startMonitor();
        sched.runDue();
    }

    QObject context;
    SimulatedHidBus bus;
    std::unique_ptr<HIDDevice> hid;

    QList<QByteArray> voiceReports;
    QList<QByteArray> parserReports;
    QList<QByteArray> readerReports;
    int parserCode = 1;
};

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
