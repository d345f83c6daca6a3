#pragma once

#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "FrameDecoder.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXKeyPressManager.h"
#include "QXMouseCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"
#include "platform/PrimarySelectionCopier.h"

#include <QJsonDocument>

#include <ostream>

// Readable failures.
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

// The key-action manager over recording fakes, the real command facade on a recording
// HID device (read back as a device of plan 2 reads it) and the plain selection copier.
struct KeyWorld {
    ScopedUserInfoData state;
    CallLog log;
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
    QXMouseCommandManager facade{&hidMgr, &bleMgr};
    std::unique_ptr<QXKeyPressManager> keys;

    explicit KeyWorld(platform::IGlobalMouseMonitor *monitor = nullptr)
    {
        hidMgr.setHidSink(&hid);
        state->setChipPlan(2);
        state->setMouseIsConnect(true);
        state->setCompatibleModeSwitch(false);
        QXKeyPressManager::Deps d{
            &state.state(), &facade, &poster, &clipboard, &copier, &workspace, monitor ? monitor : &fakeMonitor,
            &power,         &voice,  &ai,     &translate, &tips,   nullptr,    {}};
        d.hasTargetRecord = [](const QString &path) { return path == QLatin1String("/tmp"); };
        keys = std::make_unique<QXKeyPressManager>(d);
    }
    ~KeyWorld() { hidMgr.setHidSink(nullptr); }

    // The key settings as the server sends them.
    void setKeys(const char *json)
    {
        state->setMouseSettingArr(MouseSettingModel::listFromJson(QJsonDocument::fromJson(json).array()));
    }
    // One key whose press kind ("sk", "dk", "lk") has the one chosen option.
    void assign(const char *key, const char *kind, const QString &cmd, const QString &attr0 = {})
    {
        QJsonObject option{{"first", "1"}, {"cmd", cmd}};
        if (!attr0.isNull())
            option.insert("attr0", attr0);
        const QJsonObject press{{"operation", kind}, {"childs", QJsonArray{option}}};
        const QJsonObject k{{"key", key}, {"childs", QJsonArray{press}}};
        state->setMouseSettingArr(MouseSettingModel::listFromJson(QJsonArray{k}));
    }

    // Everything that happened since the last call, by where it went; then forgotten.
    QStringList effects()
    {
        QStringList out = log.calls;
        for (const PostedStroke &s : poster.strokes)
            out << QStringLiteral("key(%1,%2)").arg(s.macKeyCode).arg(s.macFlags, 0, 16);
        for (const QByteArray &r : hid.reports) {
            const auto f = sim::FrameDecoder::decodeHid(2, r);
            QStringList args;
            for (int a : f ? f->args : QList<int>{})
                args << QString::number(a);
            out << QStringLiteral("dev:%1(%2)").arg(f ? f->command : QStringLiteral("?"), args.join(','));
        }
        for (int i = 0; i < power.sleepRequests; ++i)
            out << QStringLiteral("sleep");
        for (const QUrl &u : workspace.opened)
            out << QStringLiteral("open:") + u.toString();
        if (clipboard.contents)
            out << QStringLiteral("clipboard:") + clipboard.text();
        if (const auto p = state->pasteboardContent())
            out << QStringLiteral("pasteboard:") + *p;
        log.clear();
        poster.strokes.clear();
        hid.reports.clear();
        power.sleepRequests = 0;
        workspace.opened.clear();
        clipboard.contents.reset();
        state->setPasteboardContent(std::nullopt);
        return out;
    }
};
