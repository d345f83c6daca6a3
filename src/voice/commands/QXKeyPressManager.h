#pragma once

#include "Scheduler.h"
#include "desktop/QXToolManagerUI.h"
#include "keys/CenterButtonClassifier.h"
#include "keys/KeyActionTable.h"
#include "services/IAIWindow.h"
#include "services/IKeyPressManager.h"
#include "services/VoiceKeyState.h"

#include <QObject>

#include <memory>

class IPopupTips;
class IVoiceKeyDispatcher;
class PZEventMonitor;
class QXMouseCommandManager;
class QXUserInfoData;
class TextInsertionService;
namespace platform {
class IClipboard;
class IGlobalMouseMonitor;
class IPowerManager;
class ISelectionCopier;
class IWorkspace;
} // namespace platform

// Where a press of a programmable key becomes the user's action: classifies the
// centre button's presses by timing and performs the operation the key settings
// assign to a key and press kind (voice input in one of its modes, a key chord, a web
// address, a file, a text, a DPI step, sleep, the AI window ...). Keeps the voice mode
// a key action started, so the matching press stops the same mode. Main thread only.
class QXKeyPressManager final : public IKeyPressManager {
public:
    // Every pointer is required.
    struct Deps {
        QXUserInfoData *state = nullptr;
        QXMouseCommandManager *device = nullptr;
        platform::IClipboard *clipboard = nullptr;
        platform::ISelectionCopier *selectionCopier = nullptr;
        platform::IWorkspace *workspace = nullptr;
        platform::IGlobalMouseMonitor *mouseMonitor = nullptr; // other applications' mouse events
        platform::IPowerManager *power = nullptr;
        IVoiceKeyDispatcher *voice = nullptr;
        IAIWindow *aiWindow = nullptr;
        ITranslateManager *translate = nullptr;
        IPopupTips *tips = nullptr;
        Scheduler *scheduler = nullptr;
        // The file and folder targets the user picked (only those are opened);
        // nullptr: the records in the application's store.
        const TargetRecords *targets = nullptr;
        // The key and voice flags shared with the device layers (lastPressType among
        // them); nullptr: the manager's own.
        VoiceKeyState *keys = nullptr;
        TextInsertionService *text = nullptr; // pastes, chords and recorded shortcuts
    };

    static constexpr int kDeleteRepeatMs = 100;
    static constexpr int kFullScreenKeyDelayMs = 1000;
    static constexpr int kCopyTranslateDelayMs = 400;

    // Marks the state as supporting key settings.
    explicit QXKeyPressManager(Deps deps);
    ~QXKeyPressManager() override;
    QXKeyPressManager(const QXKeyPressManager &) = delete;
    QXKeyPressManager &operator=(const QXKeyPressManager &) = delete;

    // Watches the centre button in this application's windows and in all others.
    void startCenterMouseMonitor();
    void stopCenterMouseMonitor();

    void handlePressKeyEvent(int pressKind, int keyType) override;
    int lastPressType() const { return keys().lastPressType(); }
    void setLastPressType(int type) { keys().setLastPressType(type); }

    bool isDeleteRepeating() const { return m_delTimer != Scheduler::kNoTimer; }

private:
    void perform(const keyaction::Operation &op, const std::optional<KeySettingSubModel> &option, int pressKind,
                 int keyType);
    void centreVoice(int pressKind, int keyType);
    void voiceToggle(int start, int pressKind);
    void sendChord(const keyaction::Chord &chord);
    void insertText(const QString &text);
    void switchMode();
    void nextDpi();
    void copyAndTranslate();
    VoiceKeyState &keys() const { return d.keys ? *d.keys : m_ownKeys; }
    void startDelTimer(int keyType);
    void invalidateDelTimer();

    Deps d;
    QXToolManagerUI m_tools;
    CenterButtonClassifier m_classifier;
    std::unique_ptr<PZEventMonitor> m_centerMouseMonitor;
    QObject m_pending; // delayed steps die with the manager
    mutable VoiceKeyState m_ownKeys;
    Scheduler::TimerId m_delTimer = Scheduler::kNoTimer;
    int m_delTimerKeyType = 0;
};
