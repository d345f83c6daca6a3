// The pen's repaint per sampling tick with a long drawing on the screen: 10,000
// finished segments plus a stroke in progress, on a 1920 x 1080 view. A tick paints
// its segment into the stroke's layer and repaints that segment's rectangle from the
// cached layers; the full repaint and the uncached redraw of every path are for
// comparison. Goal: a tick within 5 ms.
//   QT_QPA_PLATFORM=offscreen build/bench/draw_view_bench
#include "QXDrawView.h"

#include <QApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

QPointF g_pointer;

// Ten strokes of 1,000 segments each across the screen, then a stroke in progress.
struct Drawing {
    QXDrawView view{[] { return g_pointer; }};
    int tick = 0;
    Drawing()
    {
        view.resize(1920, 1080);
        for (int s = 0; s < 10; ++s) {
            g_pointer = QPointF(100, 100 + 90 * s);
            view.mouseDown();
            for (int i = 1; i <= 1000; ++i) {
                g_pointer = QPointF(100 + 1.7 * i, 100 + 90 * s + 30 * std::sin(i * 0.05));
                view.mouseDragged();
            }
            view.mouseUp();
        }
        g_pointer = QPointF(960, 540);
        view.mouseDown();
    }
    // One sampling tick: the pointer moved a little.
    QRect step()
    {
        const QPointF from = g_pointer;
        ++tick;
        g_pointer = QPointF(960 + 200 * std::cos(tick * 0.01), 540 + 200 * std::sin(tick * 0.01));
        view.mouseDragged();
        const double pad = view.lineWidth() / 2 + 2;
        return QRectF(from, g_pointer).normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect();
    }
};

void BM_TickRepaint(benchmark::State &state)
{
    Drawing d;
    QImage frame(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const QRect dirty = d.step();
        d.view.render(&frame, dirty.topLeft(), QRegion(dirty), QWidget::RenderFlags());
    }
}
BENCHMARK(BM_TickRepaint)->Unit(benchmark::kMicrosecond);

void BM_FullRepaintCached(benchmark::State &state)
{
    Drawing d;
    QImage frame(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        d.step();
        d.view.render(&frame, {}, {}, QWidget::RenderFlags());
    }
}
BENCHMARK(BM_FullRepaintCached)->Unit(benchmark::kMillisecond);

// What a redraw of every stroke as a path on each tick would cost.
void BM_FullRedrawOfEveryPath(benchmark::State &state)
{
    Drawing d;
    QImage frame(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        d.step();
        frame.fill(Qt::transparent);
        QPainter p(&frame);
        p.setRenderHint(QPainter::Antialiasing);
        for (const QXDrawPath &s : d.view.drawPathArray()) {
            p.setPen(QPen(s.drawColor, s.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(s.drawPath);
        }
    }
}
BENCHMARK(BM_FullRedrawOfEveryPath)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
