#pragma once

#include "platform/IGlobalMouseMonitor.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QEvent;

// Watches mouse events: local ones (sent to this application's windows), global
// ones (sent to other applications), or both. Observing only; events are never
// swallowed or changed. Idle until start(), active until stop() or destruction,
// unless detach() leaves its global half running for the rest of the process.
class PZEventMonitor {
public:
    enum Type : quint64 { Local = 0, Global = 1, Both = 2 }; // any other value acts as Both
    using Handler = std::function<void(const platform::MouseEvent &)>;

    static std::unique_ptr<PZEventMonitor> monitorWithType(quint64 type, quint64 mask, Handler handler,
                                                           platform::IGlobalMouseMonitor *global = nullptr);
    static std::unique_ptr<PZEventMonitor> localMonitorWithEvent(quint64 mask, Handler handler);
    static std::unique_ptr<PZEventMonitor> globalMonitorWithEvent(quint64 mask, Handler handler);
    static std::unique_ptr<PZEventMonitor> bothMonitorWithEvent(quint64 mask, Handler handler);

    PZEventMonitor(quint64 type, quint64 mask, Handler handler, platform::IGlobalMouseMonitor *global = nullptr);
    ~PZEventMonitor();

    void start();
    void stop();
    // Forgets the global half without removing it: it keeps calling the handler for
    // the life of the process (launch-time monitors nobody keeps).
    void detach();

    quint64 type() const { return m_type; }
    quint64 mask() const { return m_mask; }
    bool hasLocalMonitor() const { return m_local != nullptr; }
    bool hasGlobalMonitor() const { return m_globalToken != platform::IGlobalMouseMonitor::kNoToken; }

    // The monitors' event type of a Qt mouse event, if it is one they know.
    static std::optional<platform::MouseEventType> typeOfQtEvent(const QEvent *event);

private:
    class LocalFilter;
    platform::IGlobalMouseMonitor &globalMonitor() const;

    quint64 m_type;
    quint64 m_mask;
    Handler m_handler;
    platform::IGlobalMouseMonitor *m_global;
    std::unique_ptr<LocalFilter> m_local;
    platform::IGlobalMouseMonitor::Token m_globalToken = platform::IGlobalMouseMonitor::kNoToken;
};
