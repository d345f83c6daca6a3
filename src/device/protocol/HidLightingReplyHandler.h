#pragma once

#include "HidReportHandlers.h"

class QXHidReportParser;

// Framed lighting, handedness and pointer replies. A report reply (odd command) stores
// its value (byte 5) in the device state and tells the pages; a "changed on the
// device" reply (even command) reads the value back. The pointer's mode and effect
// keys drive the presentation overlay. Main thread only.
class HidLightingReplyHandler : public IHidLightingReplyHandler {
public:
    explicit HidLightingReplyHandler(QXHidReportParser &parser) : m_parser(parser) {}

    void handleLightingReply(const proto::HidReport &report) override;

private:
    QXHidReportParser &m_parser;
};
