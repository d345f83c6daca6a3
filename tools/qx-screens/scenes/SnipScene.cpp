// The screen capture after a drag: the screen dimmed, the selection as it is, the tool
// bar under it; over a fixture desktop (the picture a capture without a compositor takes).
#include "FakeDesktop.h"
#include "FakeGlobalShortcuts.h"
#include "FakeNeighbours.h"
#include "FakeScreenGrabber.h"
#include "FixtureDesktop.h"
#include "SceneWorld.h"

#include "QXSnip.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

class SnipDesk : public QWidget {
public:
    explicit SnipDesk(SceneWorld &world) : m_binder(world.store(), &m_keys), m_escape(m_binder), m_tips(m_log)
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        setFixedSize(size);
        m_desk = fixtureDesktop(size);
        m_grabber.pattern = [this](int x, int y) { return m_desk.pixel(x % m_desk.width(), y % m_desk.height()); };
        QXSnip::Deps deps;
        deps.state = &world.state();
        deps.tips = &m_tips;
        deps.clipboard = &m_clipboard;
        deps.overlays = {&m_grabber, [] { return false; }, &m_escape};
        deps.scheduler = &world.scheduler();
        m_snip = std::make_unique<QXSnip>(deps);
        const QRect sel(world.intOption(QStringLiteral("x")), world.intOption(QStringLiteral("y")),
                        world.intOption(QStringLiteral("width")), world.intOption(QStringLiteral("height")));
        world.afterShow([this, sel] {
            m_snip->startSnip();
            m_snip->mouseDown(sel.topLeft());
            m_snip->mouseDragged(sel.topLeft() + QPoint(sel.width() / 2, sel.height() / 2));
            m_snip->mouseDragged(sel.topLeft() + QPoint(sel.width(), sel.height()));
            m_snip->mouseUp();
        });
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_desk); }

private:
    QImage m_desk;
    FakeScreenGrabber m_grabber;
    FakeGlobalShortcuts m_keys;
    platform::ShortcutBinder m_binder;
    EscapeArbiter m_escape;
    CallLog m_log;
    FakePopupTips m_tips;
    FakeClipboard m_clipboard;
    std::unique_ptr<QXSnip> m_snip;
};

const SceneRegistrar reg({QStringLiteral("snip"),
                          QStringLiteral("screen capture: the dimmed screen, the selection and its tool bar"),
                          {{QStringLiteral("x"), QStringLiteral("120"), QStringLiteral("selection left")},
                           {QStringLiteral("y"), QStringLiteral("130"), QStringLiteral("selection top")},
                           {QStringLiteral("width"), QStringLiteral("380"), QStringLiteral("selection width")},
                           {QStringLiteral("height"), QStringLiteral("150"), QStringLiteral("selection height")}},
                          [](SceneWorld &world) -> QWidget * { return new SnipDesk(world); }});

} // namespace
