// The pointer's loupe over a fixture desktop: the text under the pointer at 1.5 times.
#include "FakeScreenGrabber.h"
#include "FixtureDesktop.h"
#include "SceneWorld.h"

#include "PXLColorSampler.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

class LoupeDesk : public QWidget {
public:
    explicit LoupeDesk(SceneWorld &world)
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        setFixedSize(size);
        m_desk = fixtureDesktop(size);
        // The grabber's pixels are the screen's device pixels; the desk is painted in points.
        const qreal dpr = QGuiApplication::primaryScreen()->devicePixelRatio();
        m_grabber.pattern = [this, dpr](int x, int y) {
            return m_desk.pixel(int(x / dpr) % m_desk.width(), int(y / dpr) % m_desk.height());
        };
        m_loupe = std::make_unique<PXLColorSampler>(
            PXLColorSampler::Deps{{&m_grabber, {}, nullptr}, [this] { return m_pointer; }, {}, {}, &world.scheduler()});
        m_pointer = QPointF(world.intOption(QStringLiteral("x")), world.intOption(QStringLiteral("y")));
        const double width = world.doubleOption(QStringLiteral("width"));
        world.afterShow([this, &world, width] {
            m_loupe->zoomInPixelZoom(1.5, width);
            world.scheduler().advance(PXLColorSampler::kFollowMs);
        });
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, m_desk); }

private:
    QImage m_desk;
    FakeScreenGrabber m_grabber;
    QPointF m_pointer;
    std::unique_ptr<PXLColorSampler> m_loupe;
};

const SceneRegistrar reg({QStringLiteral("loupe"),
                          QStringLiteral("pointer loupe: a magnifying circle over the text under the pointer"),
                          {{QStringLiteral("x"), QStringLiteral("330"), QStringLiteral("pointer x")},
                           {QStringLiteral("y"), QStringLiteral("200"), QStringLiteral("pointer y")},
                           {QStringLiteral("width"), QStringLiteral("300"), QStringLiteral("loupe diameter")}},
                          [](SceneWorld &world) -> QWidget * { return new LoupeDesk(world); }});

} // namespace
