#pragma once

#include "HidKeyEventHandler.h"
#include "HidLightingReplyHandler.h"

class IChipTokenClient;
class QXHidReportParser;

// The key-event and lighting-reply handlers of a report parser, registered with it
// for this object's lifetime. The composition root makes one for the shared parser.
class HidEventHandlers {
public:
    explicit HidEventHandlers(QXHidReportParser &parser, IChipTokenClient *tokens = nullptr);
    ~HidEventHandlers();
    HidEventHandlers(const HidEventHandlers &) = delete;
    HidEventHandlers &operator=(const HidEventHandlers &) = delete;

    HidKeyEventHandler &keys() { return m_keys; }
    HidLightingReplyHandler &lighting() { return m_lighting; }

private:
    QXHidReportParser &m_parser;
    HidKeyEventHandler m_keys;
    HidLightingReplyHandler m_lighting;
};
