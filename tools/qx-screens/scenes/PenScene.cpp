// The pointer's pen: a circle and an underline drawn over a fixture desktop (the
// picture a drawing without a compositor stands on).
#include "FakeGlobalShortcuts.h"
#include "FakeScreenGrabber.h"
#include "FixtureDesktop.h"
#include "SceneWorld.h"

#include "PenDrawing.h"
#include "QXDrawView.h"
#include "overlay/EscapeArbiter.h"
#include "platform/ShortcutBinder.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

class PenDesk : public QWidget {
public:
    explicit PenDesk(SceneWorld &world) : m_binder(world.store(), &m_keys), m_escape(m_binder)
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        setFixedSize(size);
        m_desk = fixtureDesktop(size);
        m_grabber.pattern = [this](int x, int y) { return m_desk.pixel(x % m_desk.width(), y % m_desk.height()); };
        m_pen = std::make_unique<PenDrawing>(PenDrawing::Deps{
            {&m_grabber, [] { return false; }, &m_escape}, [this] { return m_pointer; }, {}, &world.scheduler()});
        const QColor color(world.option(QStringLiteral("color")));
        const double width = world.doubleOption(QStringLiteral("width"));
        world.afterShow([this, &world, color, width, size] {
            m_pen->startDraw(color, width);
            // A ring around the title, then a line under the second sentence.
            const QPointF centre(size.width() / 8 + 110, size.height() / 8 + 64);
            stroke(world, 60,
                   [centre](double t) { return centre + QPointF(105 * std::cos(t * 6.6), 26 * std::sin(t * 6.6)); });
            const QPointF from(size.width() / 8 + 24, size.height() / 8 + 110);
            stroke(world, 40, [from](double t) { return from + QPointF(330 * t, 2 * std::sin(t * 9)); });
        });
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_desk); }

private:
    void stroke(SceneWorld &world, int ticks, const std::function<QPointF(double)> &at)
    {
        m_pointer = at(0);
        m_pen->mouseDown();
        for (int i = 1; i <= ticks; ++i) {
            m_pointer = at(double(i) / ticks);
            world.scheduler().advance(QXDrawView::kSampleMs);
        }
        m_pen->mouseUp();
    }

    QImage m_desk;
    FakeScreenGrabber m_grabber;
    FakeGlobalShortcuts m_keys;
    platform::ShortcutBinder m_binder;
    EscapeArbiter m_escape;
    QPointF m_pointer;
    std::unique_ptr<PenDrawing> m_pen;
};

const SceneRegistrar reg({QStringLiteral("pen"),
                          QStringLiteral("pointer pen: two strokes drawn over the screen"),
                          {{QStringLiteral("color"), QStringLiteral("#e8261c"), QStringLiteral("pen colour")},
                           {QStringLiteral("width"), QStringLiteral("6"), QStringLiteral("pen width in points")}},
                          [](SceneWorld &world) -> QWidget * { return new PenDesk(world); }});

} // namespace
