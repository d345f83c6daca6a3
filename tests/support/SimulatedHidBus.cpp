#include "SimulatedHidBus.h"

#include "SimulatedReceiver.h"

platform::HidResult SimulatedHidBus::writeReport(const QString &path, const QByteArray &report)
{
    const platform::HidResult result = m_fake.writeReport(path, report);
    if (!result.ok())
        return result;
    const QList<SimulatedReceiver *> receivers = m_receivers; // a responder may unplug
    for (SimulatedReceiver *r : receivers)
        if (r->owns(path))
            r->received(path, report);
    return result;
}
