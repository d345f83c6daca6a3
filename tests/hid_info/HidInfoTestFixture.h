#pragma once

#include "DeviceWorld.h"
#include "FakeDesktop.h"
#include "FakeGlobalShortcuts.h"
#include "HRVLocalizedString.h"
#include "HidInfoReader.h"
#include "IHidInfoCommands.h"
#include "KeyValueStore.h"
#include "NotificationNames.h"
#include "platform/ShortcutBinder.h"

#include <gtest/gtest.h>

class FakeHidInfoCommands : public IHidInfoCommands {
public:
    explicit FakeHidInfoCommands(CallLog &log) : m_log(log) {}
    void sendOpenMicData() override { m_log.calls << "sendOpenMicData"; }
    void sendCloseMicData() override { m_log.calls << "sendCloseMicData"; }
    void sendSetDpiData(int index) override { m_log.calls << QStringLiteral("sendSetDpiData(%1)").arg(index); }

private:
    CallLog &m_log;
};

// The reader over a fresh application state, recording neighbours and commands,
// virtual time, a fake output volume and fake global shortcuts.
class HidInfoTest : public ::testing::Test, protected DeviceWorld {
protected:
    static constexpr quint16 kMouseVid = 0x3151, kMousePid = 0x22ab;

    FakeSystemVolume volume;
    FakeGlobalShortcuts shortcuts;
    MemoryKeyValueStore shortcutStore;
    platform::ShortcutBinder binder{shortcutStore, &shortcuts};
    FakeHidInfoCommands commands{fakes.log};
    HidInfoReader::Deps deps()
    {
        HidInfoReader::Deps d;
        d.seams = fakes.seams();
        d.commands = &commands;
        d.volume = &volume;
        d.binder = &binder;
        return d;
    }
    HidInfoReader reader{deps()};

    void feed(const char *hex, quint16 vid = kMouseVid, quint16 pid = kMousePid)
    {
        reader.getDeivceInfoWithBuf(QByteArray::fromHex(hex), vid, pid);
    }
    static QString tr(const char *text) { return hrvAppLocalizedString(QString::fromUtf8(text)); }
    QString tipCall(const char *text, const char *image)
    {
        return QStringLiteral("showTipMessage(%1,%2)").arg(tr(text), QString::fromLatin1(image));
    }
};
