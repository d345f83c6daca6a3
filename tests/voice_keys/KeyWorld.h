#pragma once

#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "FrameDecoder.h"
#include "KeyValueStore.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"
#include "TargetRecords.h"
#include "commands/QXKeyPressManager.h"
#include "delivery/TextInsertionService.h"
#include "platform/PrimarySelectionCopier.h"

#include <QJsonDocument>

#include <ostream>

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

// The key-action manager over recording fakes, the real command facade on a recording
// HID device (read back as a device of plan 2 reads it) and the plain selection copier.
struct KeyWorld {
    ScopedUserInfoData state;
    CallLog log;
    VoiceKeyState flags;
    FakeVoiceKeyDispatcher voice{log};
    FakeAIWindow ai{log};
    FakeTranslateManager translate{log};
    FakePopupTips tips{log};
    FakeKeyPoster poster;
    FakeClipboard clipboard;
    platform::PrimarySelectionCopier copier{clipboard};
    FakeWorkspace workspace;
    FakeMouseMonitor fakeMonitor;
    FakePowerManager power;
    RecordingHidSink hid;
    QXHidCommandManager hidMgr;
    QXBLEMouseCommandManager bleMgr;
    QXMouseCommandManager facade{hidMgr, bleMgr};
    MemoryKeyValueStore picked;
    TargetRecords targets{picked}; // "/tmp" is the one picked target
    TextInsertionService text{{clipboard, poster, &state.state(), &facade}};
    std::unique_ptr<QXKeyPressManager> keys;

    explicit KeyWorld(platform::IGlobalMouseMonitor *monitor = nullptr)
    {
        targets.record(QStringLiteral("/tmp"));
        hidMgr.setHidSink(&hid);
        state->setChipPlan(2);
        state->setMouseIsConnect(true);
        state->setCompatibleModeSwitch(false);
        keys = std::make_unique<QXKeyPressManager>(QXKeyPressManager::Deps{
            &state.state(), &facade, &clipboard, &copier, &workspace, monitor ? monitor : &fakeMonitor, &power, &voice,
            &ai, &translate, &tips, nullptr, &targets, &flags, &text});
    }
    ~KeyWorld() { hidMgr.setHidSink(nullptr); }

    void setKeys(const char *json)
    {
        state->setMouseSettingArr(MouseSettingModel::listFromJson(QJsonDocument::fromJson(json).array()));
    }
    // The voice key's press kind ("sk", "dk", "lk") with one chosen option.
    void assign(const char *kind, const QString &cmd, const char *attr0 = nullptr)
    {
        QJsonObject option{{"first", "1"}, {"cmd", cmd}};
        if (attr0)
            option.insert("attr0", QString::fromUtf8(attr0));
        const QJsonObject press{{"operation", kind}, {"childs", QJsonArray{option}}};
        state->setMouseSettingArr(MouseSettingModel::listFromJson(
            QJsonArray{QJsonObject{{"key", "voice_key"}, {"childs", QJsonArray{press}}}}));
    }

    // Everything that happened since the last call, by where it went; then forgotten.
    QStringList effects()
    {
        QStringList out = std::exchange(log.calls, {});
        for (const PostedStroke &s : std::exchange(poster.strokes, {}))
            out << QStringLiteral("key(%1,%2)").arg(s.macKeyCode).arg(s.macFlags, 0, 16);
        for (const QByteArray &r : std::exchange(hid.reports, {})) {
            const auto f = sim::FrameDecoder::decodeHid(2, r);
            QStringList args;
            for (int a : f ? f->args : QList<int>{})
                args << QString::number(a);
            out << QStringLiteral("dev:%1(%2)").arg(f ? f->command : QStringLiteral("?"), args.join(','));
        }
        for (; power.sleepRequests > 0; --power.sleepRequests)
            out << QStringLiteral("sleep");
        for (const QUrl &u : std::exchange(workspace.opened, {}))
            out << QStringLiteral("open:") + u.toString();
        if (clipboard.contents)
            out << QStringLiteral("clipboard:") + std::exchange(clipboard.contents, nullptr)->text();
        if (const auto p = state->pasteboardContent())
            out << QStringLiteral("pasteboard:") + *p;
        state->setPasteboardContent(std::nullopt);
        return out;
    }
};
