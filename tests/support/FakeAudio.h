#pragma once

// Recording fakes of the audio services: the raw microphone, the speech synthesizer and
// the URL player. (The speech service's audio input has ScriptedAudioInput.)
#include "platform/IMicrophone.h"
#include "platform/ISpeechSynth.h"
#include "platform/IUrlAudioPlayer.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <vector>

// A microphone that delivers what the test feeds it, even after close if told to.
class FakeMicrophone : public platform::IMicrophone {
public:
    int openStatus = 0;
    int startStatus = 0;
    QByteArray heldAtClose; // what close() hands back as not yet delivered
    int opens = 0;
    int closes = 0;

    int open() override
    {
        ++opens;
        return openStatus;
    }
    int start(DataFn d, FailFn f) override
    {
        if (startStatus == 0) {
            data = std::move(d);
            failed = std::move(f);
        }
        return startStatus;
    }
    int close(QByteArray &rest) override
    {
        ++closes;
        rest += std::exchange(heldAtClose, {});
        return 0;
    }
    // The callbacks stay callable after close, as a late audio thread would.
    void feed(const QByteArray &pcm) { data(pcm); }
    void breakOff(const QString &reason) { failed(reason); }

    DataFn data;
    FailFn failed;
};

// A synthesizer that says yes to what its state allows and reports events on command.
class FakeSpeechSynth : public platform::ISpeechSynth {
public:
    QStringList said;
    QList<Utterance> utterances;
    QStringList calls; // "stop:Immediate", "pause:Word", "resume"
    bool speaking = false;
    bool paused = false;

    void setEventHandler(EventFn h) override { handler = std::move(h); }
    bool isSpeaking() const override { return speaking; }
    bool isPaused() const override { return paused; }
    void speak(const Utterance &u) override
    {
        said << u.text;
        utterances << u;
        speaking = true;
    }
    bool stop(Boundary b) override
    {
        calls << QStringLiteral("stop:") + name(b);
        return speaking || paused;
    }
    bool pause(Boundary b) override
    {
        calls << QStringLiteral("pause:") + name(b);
        return speaking;
    }
    void resume() override { calls << QStringLiteral("resume"); }

    // The engine's side: moves the state as a real one would and tells the handler.
    void report(Event e)
    {
        speaking = e == Event::Started || e == Event::Resumed;
        paused = e == Event::Paused;
        if (handler)
            handler(e);
    }

    EventFn handler;

private:
    static QString name(Boundary b)
    {
        return b == Boundary::Word ? QStringLiteral("Word") : QStringLiteral("Immediate");
    }
};

class FakeUrlAudioPlayer : public platform::IUrlAudioPlayer {
public:
    QStringList calls; // "pause", "play:<url>"
    void play(const QUrl &url) override { calls << QStringLiteral("play:") + url.toString(); }
    void pause() override { calls << QStringLiteral("pause"); }
};
