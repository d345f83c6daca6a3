#pragma once

#include "HidKeyMaps.h"
#include "HidReportHandlers.h"
#include "HidVoiceChipAuth.h"
#include "services/DeviceSeams.h"

class IChipTokenClient;
class QXHidReportParser;

// What the key events of every HID family become (the key maps are in HidKeyMaps):
// press types for the voice-key dispatcher, the device microphone opened and closed
// with a pending press type that the device's voice start and end events hand over,
// keyboard voice keys that toggle their input, the pointer's voice keys, AI helpers in
// the AI window, screenshot translation, mode tips, the voice stream's start and end
// events, and the voice chip's authorisation.
//
// Microphone commands go through the HID command manager, except those of the plan-6
// keyboard routines, which go through the command facade. The seams are the HID
// command manager's. Main thread only.
class HidKeyEventHandler : public IHidKeyEventHandler {
public:
    static constexpr int kPlan4KeyDelayMs = 100;
    static constexpr double kPlan3KeyGateSeconds = 1.0;
    static constexpr quint64 kKeyActionAiWindow = 18;

    explicit HidKeyEventHandler(QXHidReportParser &parser);

    void setTokenClient(IChipTokenClient *client) { m_chip.setTokenClient(client); }
    const HidVoiceChipAuth &voiceChip() const { return m_chip; }

    bool handleKeyReply(const proto::HidReport &report) override;
    void handlePlan4Key(const proto::HidReport &report) override;
    void handlePlan3Key(const proto::HidReport &report) override;
    void handleVoiceChip(const proto::HidReport &report) override { m_chip.handleVoiceChip(report); }
    void handleVoiceOutsideSession(const proto::HidReport &report) override;

private:
    bool handleFramed(const proto::HidReport &report);
    void handlePlan6Or7(const proto::HidReport &report);
    // Runs one step of a key map; false when a mode toggle was refused.
    bool run(proto::KeyStep step, bool translates = true);
    void keyboardToggle(int down);
    void notInTable(proto::HidReportFamily family, int key);
    void showTip(const char *text, const char *image);

    QXHidReportParser &m_parser;
    DeviceSeams m_seams;
    HidVoiceChipAuth m_chip;
};
