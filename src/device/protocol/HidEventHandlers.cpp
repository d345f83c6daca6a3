#include "HidEventHandlers.h"

#include "QXHidReportParser.h"

HidEventHandlers::HidEventHandlers(QXHidReportParser &parser, IChipTokenClient *tokens)
    : m_parser(parser), m_keys(parser), m_lighting(parser)
{
    m_keys.setTokenClient(tokens);
    m_parser.setKeyEventHandler(&m_keys);
    m_parser.setLightingReplyHandler(&m_lighting);
}

HidEventHandlers::~HidEventHandlers()
{
    m_parser.setKeyEventHandler(nullptr);
    m_parser.setLightingReplyHandler(nullptr);
}
