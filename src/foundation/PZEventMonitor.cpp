#include "PZEventMonitor.h"

#include "PZLog.h"
#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QMouseEvent>

using platform::MouseEventType;

// Application-wide filter that only looks.
class PZEventMonitor::LocalFilter final : public QObject {
public:
    LocalFilter(quint64 mask, Handler handler) : m_mask(mask), m_handler(std::move(handler))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Every mouse event of the window system reaches a QWindow first, and only
        // then the widgets inside it: looking at windows sees each event once.
        if (!watched->isWindowType())
            return false;
        const auto type = typeOfQtEvent(event);
        if (!type || !platform::maskMatches(m_mask, *type) || !m_handler)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        platform::MouseEvent ev;
        ev.type = *type;
        ev.globalPos = mouse->globalPosition().toPoint();
        ev.buttonNumber = buttonNumber(mouse->button());
        m_handler(ev);
        return false;
    }

private:
    static int buttonNumber(Qt::MouseButton b)
    {
        switch (b) {
        case Qt::LeftButton:
            return 0;
        case Qt::RightButton:
            return 1;
        case Qt::MiddleButton:
            return 2;
        default:
            return 0;
        }
    }
    quint64 m_mask;
    Handler m_handler;
};

std::optional<MouseEventType> PZEventMonitor::typeOfQtEvent(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const bool down = event->type() != QEvent::MouseButtonRelease;
        switch (static_cast<const QMouseEvent *>(event)->button()) {
        case Qt::LeftButton:
            return down ? MouseEventType::LeftMouseDown : MouseEventType::LeftMouseUp;
        case Qt::RightButton:
            return down ? MouseEventType::RightMouseDown : MouseEventType::RightMouseUp;
        case Qt::NoButton:
            return std::nullopt;
        default:
            return down ? MouseEventType::OtherMouseDown : MouseEventType::OtherMouseUp;
        }
    }
    case QEvent::MouseMove: {
        const Qt::MouseButtons held = static_cast<const QMouseEvent *>(event)->buttons();
        if (held & Qt::LeftButton)
            return MouseEventType::LeftMouseDragged;
        if (held & Qt::RightButton)
            return MouseEventType::RightMouseDragged;
        if (held != Qt::NoButton)
            return MouseEventType::OtherMouseDragged;
        return MouseEventType::MouseMoved;
    }
    default:
        return std::nullopt;
    }
}

std::unique_ptr<PZEventMonitor> PZEventMonitor::monitorWithType(quint64 type, quint64 mask, Handler handler,
                                                                platform::IGlobalMouseMonitor *global)
{
    return std::make_unique<PZEventMonitor>(type, mask, std::move(handler), global);
}

std::unique_ptr<PZEventMonitor> PZEventMonitor::localMonitorWithEvent(quint64 mask, Handler handler)
{
    return monitorWithType(Local, mask, std::move(handler));
}

std::unique_ptr<PZEventMonitor> PZEventMonitor::globalMonitorWithEvent(quint64 mask, Handler handler)
{
    return monitorWithType(Global, mask, std::move(handler));
}

std::unique_ptr<PZEventMonitor> PZEventMonitor::bothMonitorWithEvent(quint64 mask, Handler handler)
{
    return monitorWithType(Both, mask, std::move(handler));
}

PZEventMonitor::PZEventMonitor(quint64 type, quint64 mask, Handler handler, platform::IGlobalMouseMonitor *global)
    : m_type(type), m_mask(mask), m_handler(std::move(handler)), m_global(global)
{
}

PZEventMonitor::~PZEventMonitor()
{
    stop();
}

platform::IGlobalMouseMonitor &PZEventMonitor::globalMonitor() const
{
    return m_global ? *m_global : *platform::services().mouseMonitor;
}

void PZEventMonitor::start()
{
    stop();
    const bool local = m_type != Global;
    const bool global = m_type != Local;
    if (local) {
        if (QCoreApplication::instance())
            m_local = std::make_unique<LocalFilter>(m_mask, m_handler);
        else
            qxWarning("monitor") << "no application object: local mouse monitor not installed";
    }
    if (global)
        m_globalToken = globalMonitor().add(m_mask, m_handler);
}

void PZEventMonitor::stop()
{
    m_local.reset();
    if (m_globalToken != platform::IGlobalMouseMonitor::kNoToken) {
        globalMonitor().remove(m_globalToken);
        m_globalToken = platform::IGlobalMouseMonitor::kNoToken;
    }
}

void PZEventMonitor::detach()
{
    m_globalToken = platform::IGlobalMouseMonitor::kNoToken;
}
