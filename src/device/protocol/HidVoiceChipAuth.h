#pragma once

#include "HidReportClassifier.h"

#include <QByteArray>

#include <optional>

class IChipTokenClient;
class QXHidCommandManager;

namespace proto {

// One voice-chip report: "0c4e", the sub-command, the data length n, n data bytes.
struct VoiceChipPiece {
    int subCommand = 0;
    QByteArray data;
};

// The piece a report carries, or nullopt when it claims more data than it holds (a
// truncated or corrupt report: its length byte cannot be trusted, so nothing of it is).
std::optional<VoiceChipPiece> voiceChipPiece(const HidReport &report);

} // namespace proto

// The voice chip's authorisation over plan-6 receivers. The chip reports its firmware
// version, id and device id; after the device id the application asks for the chip's
// authorisation data, which arrives as a first piece (it starts the data afresh) and
// following pieces. Each following piece appends to the data, stores the text gathered
// so far and asks the chip vendor for a token; when that request completes the AI
// window is rebuilt for the device.
//
// Main thread only.
class HidVoiceChipAuth {
public:
    explicit HidVoiceChipAuth(QXHidCommandManager &hid) : m_hid(hid) {}

    // Not owned; nullptr (none yet) makes no token request and logs why.
    void setTokenClient(IChipTokenClient *client) { m_tokens = client; }
    IChipTokenClient *tokenClient() const { return m_tokens; }

    void handleVoiceChip(const proto::HidReport &report);

private:
    void requestToken();

    QXHidCommandManager &m_hid;
    IChipTokenClient *m_tokens = nullptr;
};
