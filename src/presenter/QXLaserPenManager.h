#pragma once

#include "LaserPenSettings.h"
#include "Scheduler.h"
#include "services/ILaserPen.h"

#include <QColor>
#include <QObject>

#include <functional>
#include <memory>
#include <utility>

class IMouseCommands;
class IPopupTips;
class KeyValueStore;
class LaserPenEffects;
class ILaserPenHidCommands;
class VoiceKeyState;

// The presentation pointer: a receiver whose keys step through five modes (0 the
// receiver's own laser, 1 highlight, 2 light spot, 3 loupe, 4 pen) and show the
// current mode's effect while a key is held. Holds the mode, the per-mode switches and
// the look of every effect (in the preference store), tells the receiver the mode and
// when the computer draws the pointer, and runs the presentation countdown with its
// black screen. The voice mode lives in VoiceKeyState. Main thread.
class QXLaserPenManager final : public ILaserPen {
public:
    // How the device is reached. The root builds the manager before the device layers
    // that call it, so it hands this over once they exist; until then nothing goes out.
    struct DeviceLink {
        IMouseCommands *commands = nullptr;  // the facade: mode and mouse-status commands
        ILaserPenHidCommands *hid = nullptr; // the receiver's laser and countdown commands
        // Whether the open receiver is one whose pointer modes this follows.
        std::function<bool()> pointerReceiver;
    };
    struct Deps {
        KeyValueStore *store = nullptr;
        Scheduler *scheduler = nullptr; // required
        VoiceKeyState *keys = nullptr;
        IPopupTips *tips = nullptr;
        LaserPenEffects *effects = nullptr; // else nothing is drawn (logged once)
        DeviceLink device;
    };

    // After a key-down the receiver hears which side draws the pointer this much later.
    static constexpr int kDeviceDelayMs = 40;
    static constexpr int kCountdownTickMs = 1000;
    static constexpr int kModeCount = 5;

    explicit QXLaserPenManager(Deps deps);
    ~QXLaserPenManager() override;
    QXLaserPenManager(const QXLaserPenManager &) = delete;
    QXLaserPenManager &operator=(const QXLaserPenManager &) = delete;

    void setDeviceLink(DeviceLink link);
    void setEffects(LaserPenEffects *effects);

    // --- ILaserPen
    void changeLaserPenStatus(bool keep) override;
    void showLaserPenEffect() override;
    void dismissEffect() override;
    bool hasShowEffecf() const override { return m_hasShowEffecf; }
    void clearDraw() override;

    // --- the mode
    int laserPenStatus() const { return m_status; }
    int laserPenIndex() const { return m_index; }
    int vioceMode() const;
    void setVioceMode(int mode);

    // --- the settings; each setter keeps the value and writes its key at once
    double highlightedMaskAlpha() const { return m_s.highlightedMaskAlpha; }
    double highlightedCircleW() const { return m_s.highlightedCircleW; }
    QColor digitalLightSpotColor() const { return m_s.digitalLightSpotColor; }
    double digitalLightSpotCircleW() const { return m_s.digitalLightSpotCircleW; }
    double zoomInPixel() const { return m_s.zoomInPixel; }
    double zoomInCircleW() const { return m_s.zoomInCircleW; }
    QColor drawColor() const { return m_s.drawColor; }
    double drawWidth() const { return m_s.drawWidth; }
    bool laserPenHighlightedSwitch() const { return m_s.highlightedSwitch; }
    bool laserPenDigitalLightSpotSwitch() const { return m_s.digitalLightSpotSwitch; }
    bool laserPenZoomInSwitch() const { return m_s.zoomInSwitch; }
    bool laserPenDrawSwitch() const { return m_s.drawSwitch; }
    bool laserPenCountdownSwitch() const { return m_s.countdownSwitch; }
    int previewIndex() const { return m_s.previewIndex; }
    int warningTimeIndex() const { return m_s.warningTimeIndex; }
    int warningTime() const { return m_s.warningTime; }

    void setHighlightedMaskAlpha(double v);
    void setHighlightedCircleW(double v);
    void setDigitalLightSpotColor(const QColor &c);
    void setDigitalLightSpotCircleW(double v);
    void setZoomInPixel(double v);
    void setZoomInCircleW(double v);
    void setDrawColor(const QColor &c);
    void setDrawWidth(double v);
    // The switches and the preview are written only when they change.
    void setLaserPenHighlightedSwitch(bool on);
    void setLaserPenDigitalLightSpotSwitch(bool on);
    void setLaserPenZoomInSwitch(bool on);
    void setLaserPenDrawSwitch(bool on);
    void setLaserPenCountdownSwitch(bool on);
    void setPreviewIndex(int index);
    void setWarningTimeIndex(int index);
    void setWarningTime(int minutes);

    // --- the countdown and the black screen
    bool isBlackScreen() const { return m_isBlackScreen; }
    // Seconds left; -1 after the end.
    qint64 countDownNum() const { return m_countDownNum; }
    bool isCountingDown() const;
    // Called once when a countdown reaches 0.
    void setCountDownBlock(std::function<void()> block) { m_countDownBlock = std::move(block); }
    bool hasCountDownBlock() const { return bool(m_countDownBlock); }
    // The black screen, with the countdown when its switch is on.
    void enterBlackScreen();
    void quitBlackScreen();
    // Keeps the block and starts the countdown.
    void showCountDownWarningCallBack(std::function<void()> block);
    // Takes the countdown window down and stops the countdown without calling the block.
    void hideCountDownWarning();

private:
    bool deviceMatches() const;
    LaserPenEffects &effects();
    void sendDeferred();
    void startWarningTimer();
    void countDownTime();
    void setLaserPenStatus(int status);
    void writeNumber(const char *key, double value);
    void writeSwitch(bool &property, const char *key, bool on);

    Deps m_d;
    LaserPenSettings m_s;
    int m_status = 0;
    int m_index = 0;
    bool m_hasShowEffecf = false;
    bool m_isBlackScreen = false;
    qint64 m_countDownNum = 0;
    Scheduler::TimerId m_warningTimer = Scheduler::kNoTimer;
    std::function<void()> m_countDownBlock;
    // Deferred work names this as its context, so it dies with the manager.
    std::unique_ptr<QObject> m_lifetime = std::make_unique<QObject>();
};
