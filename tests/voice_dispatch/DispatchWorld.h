#pragma once

#include "FakeBleCentral.h"
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "FrameDecoder.h"
#include "LocalHttpServer.h"
#include "ManualScheduler.h"
#include "RecordingHidSink.h"
#include "RecordingSpeechPopup.h"
#include "ScopedUserInfoData.h"

#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXBLEManager.h"
#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXMouseCommandManager.h"
#include "asr/IAsrService.h"
#include "asr/QXAudioMonitorService.h"
#include "delivery/IVoiceCommandRunner.h"
#include "delivery/QXLocalTextPoster.h"
#include "delivery/QXResultDelivery.h"
#include "translation/ISpeechTranslator.h"

#include <QCoreApplication>

#include <ostream>

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{' << list.join(QStringLiteral(" | ")).toStdString() << '}';
}

// The speech service as the dispatcher sees it: a result goes to the listener first,
// then to the block, as the real service reports.
struct FakeAsr : IAsrService {
    explicit FakeAsr(CallLog &l) : log(l) {}
    CallLog &log;
    ResultBlock block;
    ISpeechStatusListener *listener = nullptr;
    bool open = true;
    void beginAsrIsTransferAudio(bool, ResultBlock cb) override { log.calls << "asr.begin", block = std::move(cb); }
    void endAsr() override { log.calls << "asr.end"; }
    void cancelAsr() override { log.calls << "asr.cancel"; }
    void addStatusListener(ISpeechStatusListener *l) override { listener = l; }
    void removeStatusListener(ISpeechStatusListener *) override { listener = nullptr; }
    bool isSocketOpen() const override { return open; }
    void say(const QString &text, int status = 0)
    {
        if (listener)
            listener->speechManagerRecognitionStatusChangeRecognizingAsrNewResult(text, text, status);
        if (block)
            block(true, text, status == 2);
    }
};

// Logs what the real one would translate whole and paste.
struct FakeTranslator : ISpeechTranslator {
    FakeTranslator(CallLog &l, const VoiceKeyState &k) : log(l), keys(k) {}
    CallLog &log;
    const VoiceKeyState &keys;
    void resetTranslation() override {}
    void speechManagerRecognitionStatusChangeRecognizingAsr(const QString &d, const QString &, int status) override
    {
        const int press = keys.pressType();
        if (status == 2 && !keys.hadStart() && (press == 37 || press == 38) && !d.isEmpty())
            log.calls << QStringLiteral("translate(%1)").arg(d);
    }
    void requestTranslateText(const QString &, const QString &, const QString &, TranslateCallback) override {}
};

// Runs a command for the texts in `commands`; otherwise answers with the word to search.
struct FakeRunner : IVoiceCommandRunner {
    explicit FakeRunner(CallLog &l) : log(l) {}
    CallLog &log;
    QStringList commands;
    QString word;
    bool runSpokenCommand(const QString &text, QString *search) override
    {
        log.calls << QStringLiteral("run(%1)").arg(text);
        *search = word.isEmpty() ? text : word;
        return commands.contains(text);
    }
    bool openFileWithCmdPath(const QString &target, const QString &type) override
    {
        log.calls << QStringLiteral("open(%1|%2)").arg(target, type);
        return true;
    }
};

// The dispatcher and its delivery over the real command facade (HID to a recording
// device, Bluetooth LE to a fake adapter), recording fakes of everything else, and a
// local listener for the text posts. Times are virtual milliseconds from 0. A test of
// the real desktop hands its key poster and clipboard instead of the fakes.
struct DispatchWorld {
    ManualScheduler sched;
    ScopedUserInfoData state;
    NotificationCenter center;
    CallLog log;
    VoiceKeyState keys;
    RecordingHidSink hid;
    FakeBleAdapter adapter;
    QXBLEManager central{adapter.factory()};
    QXHidCommandManager hidMgr{DeviceSeams{&keys}};
    QXBLEMouseCommandManager bleMgr{&central, nullptr, DeviceSeams{&keys}};
    QXMouseCommandManager facade{hidMgr, bleMgr};
    FakeClipboard clipboard;
    // The focused application takes the clipboard when the paste chord reaches it.
    struct PastedKeyPoster : FakeKeyPoster {
        FakeClipboard &clipboard;
        explicit PastedKeyPoster(FakeClipboard &c) : clipboard(c) {}
        bool postKeyStroke(int macKeyCode, quint64 macFlags) override
        {
            const bool posted = FakeKeyPoster::postKeyStroke(macKeyCode, macFlags);
            if (posted && macKeyCode == 9)
                clipboard.readByAnotherApplication();
            return posted;
        }
    } poster{clipboard};
    FakeAsr asr{log};
    RecordingSpeechPopup popup;
    FakeKeyPressManager keyPress{log};
    FakeTranslator translator{log, keys};
    FakeRunner runner{log};
    FakeAIWindow ai{log};
    bool aiShowing = false;
    platform::IKeyPoster *keysTo;
    platform::IClipboard *clipboardTo;
    LocalHttpServer listener;
    QXLocalTextPoster localPost{listener.port()};
    TextInsertionService text{{*clipboardTo, *keysTo, &state.state(), &facade}};
    QXResultDelivery delivery{
        {state.state(), state.languages(), text, ai, runner, popup, localPost, [this] { return aiShowing; }}};
    QXAudioMonitorService voice{
        {state.state(), keys, facade, *keysTo, asr, popup, keyPress, translator, delivery, &center}};

    explicit DispatchWorld(platform::IKeyPoster *realKeys = nullptr, platform::IClipboard *realClipboard = nullptr)
        : keysTo(realKeys ? realKeys : &poster), clipboardTo(realClipboard ? realClipboard : &clipboard)
    {
        popup.log = &log.calls;
        hidMgr.setHidSink(&hid);
        state->setChipPlan(2);
        state->setMouseIsConnect(true);
        state->setCompatibleModeSwitch(false);
        state->setSno(QStringLiteral("SN001"));
        for (const char *name : {qx::notify::ASRStartNotification, qx::notify::ASRFinishNotification})
            center.addObserver(QString::fromLatin1(name), &listener, [this, name](const QVariant &) {
                log.calls << QString::fromLatin1(name).chopped(12); // "ASRStart", "ASRFinish"
            });
    }
    ~DispatchWorld() { hidMgr.setHidSink(nullptr); }

    void at(qint64 ms) { sched.advance(ms - sched.monotonicMs()); }
    void key(qint64 ms, int code)
    {
        at(ms);
        voice.hidCallbackType(code);
    }

    // Everything since the last call, then forgotten: the calls in order, then the
    // posted keys, the device's key commands and the clipboard when it changed.
    QString shownClipboard;
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
        if (clipboard.text() != std::exchange(shownClipboard, clipboard.text()))
            out << QStringLiteral("clipboard:") + clipboard.text();
        return out;
    }
    QString pressTypes() const { return QStringLiteral("%1/%2").arg(keys.pressType()).arg(bleMgr.pressType()); }
};
