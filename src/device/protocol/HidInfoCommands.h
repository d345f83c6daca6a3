#pragma once

#include "IHidInfoCommands.h"
#include "QXMouseCommandManager.h"

// The device-information reader's and the hot keys' commands, carried out by the
// command facade, so they reach the mouse on whichever transport it is.
class HidInfoCommands final : public IHidInfoCommands {
public:
    explicit HidInfoCommands(QXMouseCommandManager &facade) : m_facade(facade) {}

    void sendOpenMicData() override { m_facade.sendOpenMicData(); }
    void sendCloseMicData() override { m_facade.sendCloseMicData(); }
    void sendSetDpiData(int index) override { m_facade.sendSetDpiData(index); }

private:
    QXMouseCommandManager &m_facade;
};
