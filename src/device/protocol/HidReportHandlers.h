#pragma once

#include "HidReportClassifier.h"

// The handlers QXHidReportParser hands recognised reports to, one interface per theme.
// The parser has already checked each report's length against what its kind reads
// (HidReport::requiredLength) and sent the family's acknowledgement; a handler reads
// further bytes through HidReport::at() or after checking HidReport::size().
// All calls come on the main thread, one report at a time.

// Keys, voice keys, keyboard keys, voice start and end events and the voice chip.
class IHidKeyEventHandler {
public:
    virtual ~IHidKeyEventHandler() = default;
    // A reply routed HidReplyRoute::Key (framed, plan 7 or plan 6). Returns false when a
    // framed reply must end without its completion call (the mode toggle while a typing
    // or translation session runs); the return value is ignored for the other families.
    virtual bool handleKeyReply(const proto::HidReport &report) = 0;
    // One of the eight plan-4 key prefixes ("0c1133", ...), already acknowledged.
    virtual void handlePlan4Key(const proto::HidReport &report) = 0;
    // The key byte (byte 8) of a plan-3 status record, after the record's fields are stored.
    virtual void handlePlan3Key(const proto::HidReport &report) = 0;
    // A plan-6 voice-chip report ("0c4e"); command is the sub-command (byte 2).
    virtual void handleVoiceChip(const proto::HidReport &report) = 0;
    // A plan-6 or plan-4 voice report ("1b") while no voice stream runs.
    virtual void handleVoiceOutsideSession(const proto::HidReport &report) = 0;
};

// Framed lighting, handedness and pointer replies (HidReplyRoute::Lighting).
class IHidLightingReplyHandler {
public:
    virtual ~IHidLightingReplyHandler() = default;
    virtual void handleLightingReply(const proto::HidReport &report) = 0;
};

// Firmware-transfer acknowledgements.
class IHidOtaAckHandler {
public:
    virtual ~IHidOtaAckHandler() = default;
    // Framed mouse replies 0x70, 0x71, 0x72, 0x74 (HidReplyRoute::Firmware), acknowledged;
    // the completion call follows.
    virtual void handleFirmwareReply(const proto::HidReport &report) = 0;
    // "0dabc0", "0dabc1", "0dabc2"; command is byte 2 (0xc0, 0xc1, 0xc2).
    virtual void handleReceiverFirmwareReply(const proto::HidReport &report) = 0;
    // "0d81abc06400", "0d81abc1", "0d81abc2"; command is byte 3.
    virtual void handleRemoteFirmwareReply(const proto::HidReport &report) = 0;
};
