// libatspi before Qt: glib's headers use "signals" as a name.
#include <atspi/atspi.h>

#include "AtspiBridge.h"

#include "AtspiElement.h"
#include <QString>

#include <unistd.h>

namespace platform::linuxbackend {
namespace {

// Window nesting deeper than this is a loop in a broken tree, not a real window.
constexpr int kMaxDepth = 64;

// The program's log, handed over when the bridge is made (one per process).
void (*g_logOnce)(const QString &key, const QString &message) = nullptr;

void drop(GError *&error)
{
    g_clear_error(&error);
}

// Connects to the accessibility bus once per process; libatspi keeps the connection.
bool connected()
{
    static const bool ok = [] {
        const int result = atspi_init();
        if (result != 0 && result != 1) {
            atspiLogOnce(QStringLiteral("atspi.init"),
                         QStringLiteral("[platform] the AT-SPI accessibility bus is not available (%1)").arg(result));
            return false;
        }
        return true;
    }();
    return ok;
}

// The showing window of another application that holds the point: an active window
// first, else the one of the most recently started application.
AtspiAccessible *windowAt(AtspiAccessible *desktop, int x, int y)
{
    GError *error = nullptr;
    const int apps = atspi_accessible_get_child_count(desktop, &error);
    if (error) {
        drop(error);
        return nullptr;
    }
    const guint self = guint(getpid());
    AtspiAccessible *fallback = nullptr;
    for (int i = apps - 1; i >= 0; --i) {
        AtspiAccessible *app = atspi_accessible_get_child_at_index(desktop, i, &error);
        drop(error);
        if (!app)
            continue;
        const guint pid = atspi_accessible_get_process_id(app, &error);
        drop(error);
        const int windows = pid == self ? 0 : atspi_accessible_get_child_count(app, &error);
        drop(error);
        for (int w = 0; w < windows; ++w) {
            AtspiAccessible *window = atspi_accessible_get_child_at_index(app, w, &error);
            drop(error);
            if (!window)
                continue;
            AtspiStateSet *states = atspi_accessible_get_state_set(window);
            const bool showing = states && atspi_state_set_contains(states, ATSPI_STATE_SHOWING);
            const bool active = states && atspi_state_set_contains(states, ATSPI_STATE_ACTIVE);
            if (states)
                g_object_unref(states);
            AtspiComponent *component = showing ? atspi_accessible_get_component_iface(window) : nullptr;
            const bool holds = component && atspi_component_contains(component, x, y, ATSPI_COORD_TYPE_SCREEN, &error);
            drop(error);
            if (component)
                g_object_unref(component);
            if (holds && active) {
                if (fallback)
                    g_object_unref(fallback);
                g_object_unref(app);
                return window;
            }
            if (holds && !fallback)
                fallback = window;
            else
                g_object_unref(window);
        }
        g_object_unref(app);
    }
    return fallback;
}

} // namespace

void atspiLogOnce(const QString &key, const QString &message)
{
    if (g_logOnce)
        g_logOnce(key, message);
}

AtspiBridge::AtspiBridge(const ModuleHost &host)
{
    g_logOnce = host.logOnce;
}

bool AtspiBridge::isAvailable()
{
    if (!connected())
        return false;
    AtspiAccessible *desktop = atspi_get_desktop(0);
    if (!desktop)
        return false;
    GError *error = nullptr;
    (void)atspi_accessible_get_child_count(desktop, &error);
    g_object_unref(desktop);
    if (error) {
        atspiLogOnce(QStringLiteral("atspi.registry"),
                     QStringLiteral("[platform] the AT-SPI registry does not answer: %1")
                         .arg(QString::fromUtf8(error->message)));
        drop(error);
        return false;
    }
    return true;
}

std::shared_ptr<IAccessibleElement> AtspiBridge::elementAtPoint(const QPoint &point)
{
    if (!connected())
        return nullptr;
    AtspiAccessible *desktop = atspi_get_desktop(0);
    if (!desktop)
        return nullptr;
    AtspiAccessible *current = windowAt(desktop, point.x(), point.y());
    g_object_unref(desktop);
    if (!current)
        return nullptr;
    // Toolkits answer either the deepest element or the next level down: go down
    // until nothing deeper holds the point.
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        AtspiComponent *component = atspi_accessible_get_component_iface(current);
        if (!component)
            break;
        GError *error = nullptr;
        AtspiAccessible *child =
            atspi_component_get_accessible_at_point(component, point.x(), point.y(), ATSPI_COORD_TYPE_SCREEN, &error);
        g_object_unref(component);
        drop(error);
        if (!child || child == current) {
            if (child)
                g_object_unref(child);
            break;
        }
        g_object_unref(current);
        current = child;
    }
    return AtspiElement::adopt(current);
}

} // namespace platform::linuxbackend
