#pragma once

// What the composition root is built on in its tests: simulated receivers on a
// simulated HID bus, a fake Bluetooth LE adapter, in-memory preferences and secrets,
// a fresh data root, virtual time; no desktop services (a test installs fakes).
#include "root/CompanionApp.h"

#include "FakeBleCentral.h"
#include "FakeSecretStore.h"
#include "FakeStatusItem.h"
#include "FrameDecoder.h"
#include "ManualScheduler.h"
#include "SimulatedHidBus.h"
#include "SimulatedReceiver.h"
#include "TempDataRoot.h"

#include "KeyValueStore.h"
#include "ReceiverTable.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

struct AppWorld {
    explicit AppWorld(platform::BleAdapterState adapterState = platform::BleAdapterState::PoweredOn)
        : adapter(adapterState)
    {
        // Every outside host at a port where nothing listens (a test may point one at a
        // local server): the launch's version check must not reach the internet.
        for (const char *var : {"QX_API_BASE", "QX_API2_BASE", "QX_WEB_BASE", "QX_WEATHER_BASE", "QX_SEMANTIC_BASE",
                                "QX_CHIP_TOKEN_BASE", "QX_AI_WEB_BASE"})
            if (qEnvironmentVariableIsEmpty(var))
                qputenv(var, "http://127.0.0.1:9");
        if (qEnvironmentVariableIsEmpty("QX_ASR_BASE"))
            qputenv("QX_ASR_BASE", "ws://127.0.0.1:9");
    }
    TempDataRoot root;
    MemoryKeyValueStore store;
    FakeSecretStore secrets;
    SimulatedHidBus bus;
    FakeBleAdapter adapter;
    FakeStatusItem tray;
    CompanionApp::Options options()
    {
        CompanionApp::Options o;
        o.store = &store;
        o.secrets = &secrets;
        o.hid = &bus;
        o.bleCentral = adapter.factory();
        o.desktopServices = false;
        o.statusItem = &tray;
        return o;
    }
};

class AppTest : public ::testing::Test {
protected:
    AppTest() { Scheduler::setInstance(&scheduler); }
    ~AppTest() override { Scheduler::setInstance(nullptr); }

    static const qx::receivers::ReceiverRow &row(int n) { return qx::receivers::receiverTable()[std::size_t(n - 1)]; }
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            scheduler.runDue();
        }
    }
    // The commands a receiver of the family heard on its command interface.
    static QStringList heard(const SimulatedReceiver &rx, int plan)
    {
        QStringList out;
        for (const QByteArray &r : rx.writtenTo(SimulatedReceiver::Role::Command)) {
            const auto d = sim::FrameDecoder::decodeHid(plan, r);
            out << (d ? d->command : QStringLiteral("?"));
        }
        return out;
    }

    ManualScheduler scheduler;
};
