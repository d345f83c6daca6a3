#pragma once

// Recording fakes of the desktop services (platform/PlatformServices.h).
#include "platform/IFileRevealer.h"
#include "platform/IPowerManager.h"
#include "platform/PlatformServices.h"

#include <QMimeData>
#include <QStringList>
#include <QUrl>

#include <map>
#include <optional>
#include <vector>

struct PostedStroke {
    int macKeyCode;
    quint64 macFlags;
    bool operator==(const PostedStroke &o) const { return macKeyCode == o.macKeyCode && macFlags == o.macFlags; }
};

class FakeKeyPoster : public platform::IKeyPoster {
public:
    std::vector<PostedStroke> strokes;
    bool available = true;
    bool isAvailable() const override { return available; }
    bool postKeyStroke(int macKeyCode, quint64 macFlags) override
    {
        if (!available)
            return false;
        strokes.push_back({macKeyCode, macFlags});
        return true;
    }
};

class FakeClipboard : public platform::IClipboard {
public:
    std::unique_ptr<QMimeData> contents;
    QString selection; // the X11 PRIMARY selection
    bool refuseWrites = false;
    int clears = 0;

    QString text() const override { return contents ? contents->text() : QString(); }
    void clear() override
    {
        ++clears;
        contents.reset();
        m_served = {};
    }
    bool setText(const QString &text) override
    {
        if (refuseWrites)
            return false;
        m_served = {};
        contents = std::make_unique<QMimeData>();
        contents->setText(text);
        return true;
    }
    bool setWatchedText(const QString &text, std::function<void()> served) override
    {
        const bool taken = setText(text);
        if (taken)
            m_served = std::move(served);
        return taken;
    }
    // Another application pastes: it takes the text, and a watching writer hears of it.
    QString readByAnotherApplication()
    {
        const QString taken = text();
        if (m_served)
            m_served();
        return taken;
    }
    int imageWrites = 0; // every call, taken or refused
    bool setImage(const QImage &image) override
    {
        ++imageWrites;
        if (refuseWrites || image.isNull())
            return false;
        m_served = {};
        contents = std::make_unique<QMimeData>();
        contents->setImageData(image);
        return true;
    }
    QImage image() const { return contents ? qvariant_cast<QImage>(contents->imageData()) : QImage(); }
    QString selectionText() const override { return selection; }
    std::unique_ptr<QMimeData> snapshot() const override
    {
        if (!contents)
            return nullptr;
        auto copy = std::make_unique<QMimeData>();
        for (const QString &f : contents->formats())
            copy->setData(f, contents->data(f));
        return copy;
    }
    void restore(std::unique_ptr<QMimeData> c) override
    {
        m_served = {};
        contents = std::move(c);
    }

private:
    std::function<void()> m_served;
};

class FakeMouseMonitor : public platform::IGlobalMouseMonitor {
public:
    std::map<Token, std::pair<quint64, Handler>> installed;
    bool available = true;
    int adds = 0, removes = 0;
    bool isAvailable() const override { return available; }
    Token add(quint64 mask, Handler handler) override
    {
        if (!available)
            return kNoToken;
        ++adds;
        installed.emplace(m_next, std::make_pair(mask, std::move(handler)));
        return m_next++;
    }
    void remove(Token token) override { removes += int(installed.erase(token)); }
    // Delivers an event the way the real monitor does: to every handler whose mask has it.
    void emitEvent(const platform::MouseEvent &ev)
    {
        auto copy = installed;
        for (auto &[token, entry] : copy)
            if (platform::maskMatches(entry.first, ev.type))
                entry.second(ev);
    }

private:
    Token m_next = 1;
};

// A sound server with one output device whose properties tests set at will.
class FakeSystemVolume : public platform::ISystemVolume {
public:
    quint32 device = 1; // 0: no output device
    std::optional<float> volumeValue = 0.5f;
    std::optional<bool> mutedValue = false;
    bool volumeSettable = true;
    bool muteSettable = true;
    int volumeWrites = 0, muteWrites = 0;

    quint32 defaultOutputDevice() override { return device; }
    std::optional<float> volume(quint32 d) override { return d == device && device ? volumeValue : std::nullopt; }
    bool isVolumeSettable(quint32 d) override { return d == device && device && volumeSettable && volumeValue; }
    bool setVolume(quint32 d, float v) override
    {
        if (!isVolumeSettable(d))
            return false;
        ++volumeWrites;
        volumeValue = v;
        return true;
    }
    std::optional<bool> muted(quint32 d) override { return d == device && device ? mutedValue : std::nullopt; }
    bool isMuteSettable(quint32 d) override { return d == device && device && muteSettable && mutedValue; }
    bool setMuted(quint32 d, bool m) override
    {
        if (!isMuteSettable(d))
            return false;
        ++muteWrites;
        mutedValue = m;
        return true;
    }
};

class FakeWorkspace : public platform::IWorkspace {
public:
    std::vector<QUrl> opened;
    bool fails = false; // the desktop has nothing that opens the URL
    bool openUrl(const QUrl &url) override
    {
        opened.push_back(url);
        return !fails;
    }
};

class FakePowerManager : public platform::IPowerManager {
public:
    int sleepRequests = 0;
    void requestSleep() override { ++sleepRequests; }
};

class FakeFileRevealer : public platform::IFileRevealer {
public:
    QStringList revealed;
    void reveal(const QString &path) override { revealed << path; }
};

// Installs the fakes as the process's desktop services while alive.
struct FakeDesktop {
    FakeKeyPoster keyPoster;
    FakeClipboard clipboard;
    FakeMouseMonitor mouseMonitor;
    FakeSystemVolume volume;
    FakeWorkspace workspace;
    platform::PlatformServices previous;

    FakeDesktop()
    {
        platform::PlatformServices s;
        s.keyPoster = &keyPoster;
        s.clipboard = &clipboard;
        s.mouseMonitor = &mouseMonitor;
        s.volume = &volume;
        s.workspace = &workspace;
        previous = platform::installServices(s);
    }
    ~FakeDesktop() { platform::installServices(previous); }
    FakeDesktop(const FakeDesktop &) = delete;
    FakeDesktop &operator=(const FakeDesktop &) = delete;
};
