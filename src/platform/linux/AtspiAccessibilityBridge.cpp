#include "AtspiAccessibilityBridge.h"

#include "ModuleLoader.h"
#include "PZLog.h"
#include "Scheduler.h"

namespace platform::linuxbackend {
namespace {

using CreateBridge = IAccessibilityBridge *(*)(const ModuleHost *);

CreateBridge moduleEntry()
{
    static const CreateBridge create = [] {
        QString error;
        const QList<QFunctionPointer> found =
            loadModule(QStringLiteral("libqx_atspi.so"), {"qxCreateAccessibilityBridge"}, &error);
        if (found.isEmpty())
            qxLogOnce(QStringLiteral("atspi.module"),
                      QStringLiteral("[platform] the accessibility module cannot be loaded (%1); the AT-SPI "
                                     "accessibility bus is not available")
                          .arg(error));
        return found.isEmpty() ? nullptr : reinterpret_cast<CreateBridge>(found.first());
    }();
    return create;
}

} // namespace

AtspiAccessibilityBridge::AtspiAccessibilityBridge() = default;
AtspiAccessibilityBridge::~AtspiAccessibilityBridge() = default;

IAccessibilityBridge *AtspiAccessibilityBridge::real()
{
    if (!m_real) {
        if (const CreateBridge create = moduleEntry()) {
            const ModuleHost host = moduleHost(Scheduler::instance());
            m_real.reset(create(&host));
        }
    }
    return m_real.get();
}

bool AtspiAccessibilityBridge::isAvailable()
{
    IAccessibilityBridge *bridge = real();
    return bridge && bridge->isAvailable();
}

std::shared_ptr<IAccessibleElement> AtspiAccessibilityBridge::elementAtPoint(const QPoint &screenPoint)
{
    IAccessibilityBridge *bridge = real();
    return bridge ? bridge->elementAtPoint(screenPoint) : nullptr;
}

} // namespace platform::linuxbackend
