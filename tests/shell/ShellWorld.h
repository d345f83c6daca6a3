#pragma once

#include "FakeNeighbours.h"
#include "FakeStatusItem.h"
#include "FrameDecoder.h"
#include "ManualScheduler.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"
#include "tray/StatusItemController.h"

#include <QWidget>

// The status item over a fake tray, the real command facade on a recording HID device
// (a pointer receiver's family), recording voice and AI-window fakes, a stand-in main
// window and virtual time.
struct ShellWorld {
    ScopedUserInfoData state;
    QXLanguageManager &languages = state.languages();
    ManualScheduler scheduler;
    CallLog log;
    FakeVoiceKeyDispatcher voice{log};
    FakeAIWindow ai{log};
    FakeAppShell shell;
    QWidget mainWindow;
    FakeStatusItem item;
    RecordingHidSink hid;
    QXHidCommandManager hidMgr;
    QXBLEMouseCommandManager bleMgr;
    QXMouseCommandManager facade{hidMgr, bleMgr};
    int rebinds = 0;
    int terminated = 0;
    std::unique_ptr<StatusItemController> status;

    explicit ShellWorld(bool trayAvailable = true)
    {
        item.available = trayAvailable;
        hidMgr.setHidSink(&hid);
        state->setChipPlan(7);
        shell.mainWindow = &mainWindow;
        StatusItemController::Deps deps;
        deps.state = &state.state();
        deps.item = &item;
        deps.shell = &shell;
        deps.device = &facade;
        deps.hidCommands = &hidMgr;
        deps.voice = &voice;
        deps.aiWindow = &ai;
        deps.scheduler = &scheduler;
        deps.rebindSnipShortcut = [this] { ++rebinds; };
        deps.terminate = [this] { ++terminated; };
        status = std::make_unique<StatusItemController>(std::move(deps));
    }
    ~ShellWorld()
    {
        status.reset();
        facade.invalidateTimer();
        hidMgr.setHidSink(nullptr);
    }

    void build(bool connected)
    {
        state->setMouseIsConnect(connected);
        status->addStatusItem();
    }
    // The commands the device received since the last call.
    QStringList sent()
    {
        QStringList out;
        for (const QByteArray &r : std::exchange(hid.reports, {})) {
            const auto f = sim::FrameDecoder::decodeHid(int(state->chipPlan()), r);
            out << (f ? f->command : QStringLiteral("?"));
        }
        return out;
    }
};
