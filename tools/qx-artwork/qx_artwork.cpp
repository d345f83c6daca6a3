// qx-artwork OUTDIR: draws the speech pop-up's, the tips', the translation window's and the command pages' pictures
// (plain shapes, no fonts) into OUTDIR/images/<name>.png and lists them in OUTDIR/voice_artwork.qrc. Runs at build
// time; the pictures are this project's own placeholders.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QColor kAccent(0, 175, 204);
const QColor kWhite(255, 255, 255);
constexpr double kPi = 3.14159265358979323846;

using Draw = std::function<void(QPainter &)>;

struct Writer {
    QString dir;
    QStringList names;
    bool ok = true;

    void add(const QString &name, QSize size, const Draw &draw)
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            draw(p);
        }
        const QString file = QStringLiteral("images/%1.png").arg(name);
        if (!image.save(dir + QLatin1Char('/') + file, "PNG")) {
            std::fprintf(stderr, "qx-artwork: cannot write %s\n", qPrintable(file));
            ok = false;
        }
        names << file;
    }
};

QPen whitePen(double width)
{
    return QPen(kWhite, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The glyphs, drawn in white around the centre c with a size unit u (the glyph
// spans about 2u).
void microphone(QPainter &p, QPointF c, double u)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawRoundedRect(QRectF(c.x() - 0.35 * u, c.y() - 0.95 * u, 0.7 * u, 1.25 * u), 0.35 * u, 0.35 * u);
    p.setBrush(Qt::NoBrush);
    p.setPen(whitePen(0.14 * u));
    p.drawArc(QRectF(c.x() - 0.6 * u, c.y() - 0.55 * u, 1.2 * u, 1.15 * u), 180 * 16, 180 * 16);
    p.drawLine(QPointF(c.x(), c.y() + 0.6 * u), QPointF(c.x(), c.y() + 0.9 * u));
    p.drawLine(QPointF(c.x() - 0.35 * u, c.y() + 0.9 * u), QPointF(c.x() + 0.35 * u, c.y() + 0.9 * u));
}

void arrow(QPainter &p, QPointF from, QPointF to, double head)
{
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    for (double side : {-1.0, 1.0}) {
        const double b = a + kPi + side * 0.6;
        p.drawLine(to, to + QPointF(std::cos(b) * head, std::sin(b) * head));
    }
}

void swapArrows(QPainter &p, QPointF c, double u)
{
    p.setPen(whitePen(0.16 * u));
    arrow(p, QPointF(c.x() - 0.8 * u, c.y() - 0.35 * u), QPointF(c.x() + 0.8 * u, c.y() - 0.35 * u), 0.35 * u);
    arrow(p, QPointF(c.x() + 0.8 * u, c.y() + 0.35 * u), QPointF(c.x() - 0.8 * u, c.y() + 0.35 * u), 0.35 * u);
}

void magnifier(QPainter &p, QPointF c, double u, bool plus = false)
{
    p.setPen(whitePen(0.18 * u));
    p.setBrush(Qt::NoBrush);
    const QPointF lens = c + QPointF(-0.2 * u, -0.2 * u);
    p.drawEllipse(lens, 0.55 * u, 0.55 * u);
    p.drawLine(lens + QPointF(0.4 * u, 0.4 * u), c + QPointF(0.85 * u, 0.85 * u));
    if (plus) {
        p.setPen(whitePen(0.12 * u));
        p.drawLine(lens + QPointF(-0.25 * u, 0), lens + QPointF(0.25 * u, 0));
        p.drawLine(lens + QPointF(0, -0.25 * u), lens + QPointF(0, 0.25 * u));
    }
}

void speaker(QPainter &p, QPointF c, double u, int waves, bool minus)
{
    QPainterPath body;
    body.moveTo(c + QPointF(-0.9 * u, -0.3 * u));
    body.lineTo(c + QPointF(-0.5 * u, -0.3 * u));
    body.lineTo(c + QPointF(-0.05 * u, -0.75 * u));
    body.lineTo(c + QPointF(-0.05 * u, 0.75 * u));
    body.lineTo(c + QPointF(-0.5 * u, 0.3 * u));
    body.lineTo(c + QPointF(-0.9 * u, 0.3 * u));
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(whitePen(0.13 * u));
    for (int i = 0; i < waves; ++i) {
        const double r = (0.45 + 0.35 * i) * u;
        p.drawArc(QRectF(c.x() + 0.05 * u - r, c.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }
    if (minus)
        p.drawLine(c + QPointF(0.35 * u, 0), c + QPointF(0.85 * u, 0));
}

// The round badge of the type animations: an accent disc with a glyph, and a ring
// that widens and fades over the frames.
Draw badge(std::function<void(QPainter &, QPointF, double)> glyph, int frame, int frames)
{
    return [=](QPainter &p) {
        const QPointF c(40, 40);
        const double t = double(frame) / frames;
        p.setPen(QPen(QColor(0, 175, 204, int(160 * (1 - t))), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 30 + 8 * t, 30 + 8 * t);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(c, 28, 28);
        glyph(p, c, 17);
    };
}

// The listening loop: five bars rising and falling in a travelling wave.
Draw listening(int frame, int frames)
{
    return [=](QPainter &p) {
        const QPointF c(40, 40);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(c, 28, 28);
        p.setBrush(kWhite);
        for (int i = 0; i < 5; ++i) {
            const double phase = 2 * kPi * (double(frame) / frames + i * 0.18);
            const double h = 8 + 14 * (0.5 + 0.5 * std::sin(phase));
            p.drawRoundedRect(QRectF(c.x() - 17 + i * 7.5 - 2, c.y() - h / 2, 4, h), 2, 2);
        }
    };
}

// Tip pictures: white glyphs for the accent bubble.
Draw tipGlyph(std::function<void(QPainter &, QPointF, double)> glyph)
{
    return [=](QPainter &p) { glyph(p, QPointF(32, 32), 22); };
}

void ringed(QPainter &p, QPointF c, double u)
{
    p.setPen(whitePen(0.12 * u));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 1.1 * u, 1.1 * u);
}

void drawAll(Writer &w)
{
    const struct {
        const char *prefix;
        std::function<void(QPainter &, QPointF, double)> glyph;
    } types[] = {{"say", microphone}, {"trans", swapArrows}, {"search", [](QPainter &p, QPointF c, double u) {
                                                                  magnifier(p, c, u);
                                                              }}};
    for (const auto &type : types)
        for (int i = 0; i < 13; ++i)
            w.add(QStringLiteral("%1_000%2").arg(QLatin1String(type.prefix)).arg(i, 2, 10, QLatin1Char('0')),
                  QSize(80, 80), badge(type.glyph, i, 13));
    for (int i = 0; i < 39; ++i)
        w.add(QStringLiteral("start_000%1").arg(i, 2, 10, QLatin1Char('0')), QSize(80, 80), listening(i, 39));

    w.add(QStringLiteral("wave_icon"), QSize(316, 35), [](QPainter &p) {
        for (int k = 0; k < 2; ++k) {
            QPainterPath wave;
            for (int x = 0; x <= 316; x += 2) {
                const double env = std::sin(kPi * x / 316);
                const double y = 17.5 + env * (10 - 4 * k) * std::sin(x / (9.0 + 5 * k) + k);
                x == 0 ? wave.moveTo(x, y) : wave.lineTo(x, y);
            }
            p.setPen(QPen(QColor(0, 175, 204, k ? 90 : 200), 1.6));
            p.drawPath(wave);
        }
    });
    w.add(QStringLiteral("close_icon"), QSize(30, 30), [](QPainter &p) {
        p.setPen(QPen(QColor(150, 150, 150), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(20, 20));
        p.drawLine(QPointF(20, 10), QPointF(10, 20));
    });
    // The browse button at the end of the command dialog's target box: three dots.
    w.add(QStringLiteral("2_more_icon"), QSize(39, 34), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 110, 110));
        for (int i = -1; i <= 1; ++i)
            p.drawEllipse(QPointF(19.5 + 6 * i, 17), 1.8, 1.8);
    });

    // The translation window: white glyphs for its header, grey ones for its cards.
    w.add(QStringLiteral("close_white_icon"), QSize(40, 40), [](QPainter &p) {
        p.setPen(whitePen(2));
        p.drawLine(QPointF(15, 15), QPointF(25, 25));
        p.drawLine(QPointF(25, 15), QPointF(15, 25));
    });
    for (const bool up : {true, false})
        w.add(QStringLiteral("1_popUpBtn_%1_white").arg(QLatin1String(up ? "up" : "down")), QSize(12, 8),
              [up](QPainter &p) {
                  p.setPen(whitePen(1.6));
                  const double a = up ? 6 : 2, b = up ? 2 : 6;
                  p.drawPolyline(QPolygonF{QPointF(2, a), QPointF(6, b), QPointF(10, a)});
              });
    const QColor cardGrey(112, 112, 112);
    w.add(QStringLiteral("copy_icon_black"), QSize(30, 30), [cardGrey](QPainter &p) {
        p.setPen(QPen(cardGrey, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(11, 11, 10, 11), 2, 2);
        p.drawPolyline(QPolygonF{QPointF(8, 18), QPointF(8, 8), QPointF(17, 8)});
    });
    w.add(QStringLiteral("play_icon_black"), QSize(30, 30), [cardGrey](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(cardGrey);
        p.drawPolygon(QPolygonF{QPointF(11, 8), QPointF(22, 15), QPointF(11, 22)});
    });

    // The account fields' buttons: clear (36 x 36), and the password eye masked and shown
    // (24 x 24), grey on the white forms.
    const QColor fieldGrey(150, 150, 150);
    w.add(QStringLiteral("6_close_icon"), QSize(36, 36), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 200, 200));
        p.drawEllipse(QPointF(18, 18), 8, 8);
        p.setPen(QPen(kWhite, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
        p.drawLine(QPointF(21, 15), QPointF(15, 21));
    });
    const auto eye = [fieldGrey](bool open) {
        return [fieldGrey, open](QPainter &p) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(open ? kAccent : fieldGrey, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath lids;
            if (open) {
                // An open eye with its pupil.
                lids.moveTo(3, 12);
                lids.quadTo(12, 2, 21, 12);
                lids.quadTo(12, 22, 3, 12);
                p.drawPath(lids);
                p.setPen(Qt::NoPen);
                p.setBrush(kAccent);
                p.drawEllipse(QPointF(12, 12), 3, 3);
                return;
            }
            // A closed eye: the lid's curve with three lashes below it.
            lids.moveTo(3, 10);
            lids.quadTo(12, 18, 21, 10);
            p.drawPath(lids);
            p.drawLine(QPointF(7, 12.7), QPointF(5.5, 15.8));
            p.drawLine(QPointF(12, 14), QPointF(12, 17.6));
            p.drawLine(QPointF(17, 12.7), QPointF(18.5, 15.8));
        };
    };
    w.add(QStringLiteral("6_eye_nor_icon"), QSize(24, 24), eye(false));
    w.add(QStringLiteral("6_eye_sel_icon"), QSize(24, 24), eye(true));

    const QSize tip(64, 64);
    w.add(QStringLiteral("info_icon"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              ringed(p, c, u);
              p.setPen(Qt::NoPen);
              p.setBrush(kWhite);
              p.drawEllipse(c + QPointF(0, -0.5 * u), 0.13 * u, 0.13 * u);
              p.drawRoundedRect(QRectF(c.x() - 0.1 * u, c.y() - 0.2 * u, 0.2 * u, 0.75 * u), 0.08 * u, 0.08 * u);
          }));
    w.add(QStringLiteral("success_icon"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              ringed(p, c, u);
              p.setPen(whitePen(0.16 * u));
              p.drawPolyline(QPolygonF{c + QPointF(-0.5 * u, 0), c + QPointF(-0.12 * u, 0.38 * u),
                                       c + QPointF(0.55 * u, -0.35 * u)});
          }));
    w.add(QStringLiteral("error_icon"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              ringed(p, c, u);
              p.setPen(whitePen(0.16 * u));
              p.drawLine(c + QPointF(-0.4 * u, -0.4 * u), c + QPointF(0.4 * u, 0.4 * u));
              p.drawLine(c + QPointF(0.4 * u, -0.4 * u), c + QPointF(-0.4 * u, 0.4 * u));
          }));
    // The pointer's and the voice keys' mode tips.
    const std::function<void(QPainter &, QPointF, double)> modes[] = {
        [](QPainter &p, QPointF c, double u) { // 1 the receiver's own laser
            p.setPen(whitePen(0.3 * u));
            p.drawLine(c + QPointF(-0.9 * u, 0.9 * u), c + QPointF(-0.1 * u, 0.1 * u));
            p.setPen(QPen(kWhite, 0.08 * u, Qt::DashLine));
            p.drawLine(c + QPointF(0.05 * u, -0.05 * u), c + QPointF(0.8 * u, -0.8 * u));
            p.setPen(Qt::NoPen);
            p.setBrush(kWhite);
            p.drawEllipse(c + QPointF(0.85 * u, -0.85 * u), 0.15 * u, 0.15 * u);
        },
        [](QPainter &p, QPointF c, double u) { // 2 screen projection
            p.setPen(whitePen(0.13 * u));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(c.x() - u, c.y() - 0.8 * u, 2 * u, 1.25 * u), 0.1 * u, 0.1 * u);
            p.drawLine(c + QPointF(0, 0.45 * u), c + QPointF(0, 0.85 * u));
            p.drawLine(c + QPointF(-0.45 * u, 0.85 * u), c + QPointF(0.45 * u, 0.85 * u));
        },
        [](QPainter &p, QPointF c, double u) { magnifier(p, c, u, true); }, // 3 loupe
        [](QPainter &p, QPointF c, double u) {                              // 4 light spot
            p.setPen(Qt::NoPen);
            p.setBrush(kWhite);
            p.drawEllipse(c, 0.35 * u, 0.35 * u);
            p.setPen(whitePen(0.1 * u));
            for (int i = 0; i < 8; ++i) {
                const double a = i * kPi / 4;
                p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 0.6 * u,
                           c + QPointF(std::cos(a), std::sin(a)) * 0.95 * u);
            }
        },
        [](QPainter &p, QPointF c, double u) { // 5 pen
            p.setPen(whitePen(0.28 * u));
            p.drawLine(c + QPointF(0.7 * u, -0.7 * u), c + QPointF(-0.45 * u, 0.45 * u));
            p.setPen(whitePen(0.1 * u));
            p.drawLine(c + QPointF(-0.6 * u, 0.6 * u), c + QPointF(-0.8 * u, 0.8 * u));
        },
        microphone,                                                   // 6 typing
        swapArrows,                                                   // 7 translation
        [](QPainter &p, QPointF c, double u) { magnifier(p, c, u); }, // 8 search
        [](QPainter &p, QPointF c, double u) {                        // 9 highlight
            p.setPen(whitePen(0.12 * u));
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawEllipse(c, 0.9 * u, 0.9 * u);
        },
        [](QPainter &p, QPointF c, double u) { speaker(p, c, u, 2, false); }, // 10 volume up
        [](QPainter &p, QPointF c, double u) { speaker(p, c, u, 0, true); },  // 11 volume down
    };
    for (int i = 0; i < int(std::size(modes)); ++i)
        w.add(QStringLiteral("laserPen_icon-%1").arg(i + 1), tip, tipGlyph(modes[i]));
    w.add(QStringLiteral("aimode"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              QPainterPath star;
              for (int i = 0; i < 8; ++i) {
                  const double a = i * kPi / 4 - kPi / 2;
                  const double r = (i % 2 ? 0.28 : 1.0) * u;
                  const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * r;
                  i == 0 ? star.moveTo(pt) : star.lineTo(pt);
              }
              star.closeSubpath();
              p.setPen(Qt::NoPen);
              p.setBrush(kWhite);
              p.drawPath(star);
          }));
    w.add(QStringLiteral("kbmode"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              p.setPen(whitePen(0.1 * u));
              p.setBrush(Qt::NoBrush);
              p.drawRoundedRect(QRectF(c.x() - u, c.y() - 0.6 * u, 2 * u, 1.2 * u), 0.15 * u, 0.15 * u);
              p.setPen(Qt::NoPen);
              p.setBrush(kWhite);
              for (int row = 0; row < 2; ++row)
                  for (int col = 0; col < 5; ++col)
                      p.drawRect(
                          QRectF(c.x() - 0.8 * u + col * 0.34 * u, c.y() - 0.4 * u + row * 0.3 * u, 0.2 * u, 0.18 * u));
              p.drawRect(QRectF(c.x() - 0.5 * u, c.y() + 0.22 * u, u, 0.16 * u));
          }));
}

// The device page's corner buttons (refresh, permissions, 30 x 30, grey) and the RGB
// switch (39 x 29) on and off.
void drawDevicePage(Writer &w)
{
    const QColor grey(112, 112, 112);
    w.add(QStringLiteral("1_shuaxin"), QSize(30, 30), [grey](QPainter &p) {
        p.setPen(QPen(grey, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 7, 16, 16), 60 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawPolygon(QPolygonF{QPointF(17, 4), QPointF(23, 8.5), QPointF(16.5, 11.5)});
    });
    w.add(QStringLiteral("1_shezhi"), QSize(30, 30), [grey](QPainter &p) {
        p.setPen(QPen(grey, 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(15 + 6 * std::cos(a), 15 + 6 * std::sin(a)),
                       QPointF(15 + 10 * std::cos(a), 15 + 10 * std::sin(a)));
        }
        p.setPen(QPen(grey, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(15, 15), 6.5, 6.5);
        p.drawEllipse(QPointF(15, 15), 2.5, 2.5);
    });
    for (const bool on : {true, false})
        w.add(QStringLiteral("2_switch_%1_icon").arg(QLatin1String(on ? "on" : "off")), QSize(39, 29),
              [on](QPainter &p) {
                  p.setPen(Qt::NoPen);
                  p.setBrush(on ? QColor(0, 175, 204) : QColor(200, 200, 200));
                  p.drawRoundedRect(QRectF(2, 5, 35, 19), 9.5, 9.5);
                  p.setBrush(Qt::white);
                  p.drawEllipse(QPointF(on ? 27.5 : 11.5, 14.5), 7.5, 7.5);
              });
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qx-artwork OUTDIR\n");
        return 2;
    }
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Writer w;
    w.dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(w.dir + QStringLiteral("/images"))) {
        std::fprintf(stderr, "qx-artwork: cannot create %s/images\n", argv[1]);
        return 1;
    }
    drawAll(w);
    drawDevicePage(w);

    QFile qrc(w.dir + QStringLiteral("/voice_artwork.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "qx-artwork: cannot write the resource list\n");
        return 1;
    }
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString &name : w.names)
        out << "    <file>" << name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    return w.ok ? 0 : 1;
}
