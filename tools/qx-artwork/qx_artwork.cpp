// qx-artwork OUTDIR: draws the speech pop-up's, the tips', the translation window's, the command pages' and the
// account pages' pictures (plain shapes, no fonts) into OUTDIR/images/<name>.png and lists them in
// OUTDIR/voice_artwork.qrc. Runs at build time; the pictures are this project's own placeholders.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
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

    // The command list: a type icon per command type (file, folder, web page, shortcut,
    // text, phrase) on an accent tile, and the rows' edit and delete buttons.
    const std::function<void(QPainter &)> typeGlyphs[] = {
        [](QPainter &p) { // file: a page with a folded corner
            p.drawPolygon(QPolygonF{QPointF(8, 6), QPointF(14, 6), QPointF(17, 9), QPointF(17, 18), QPointF(8, 18)});
        },
        [](QPainter &p) { // folder
            p.drawPolygon(QPolygonF{QPointF(6, 8), QPointF(10, 8), QPointF(11.5, 10), QPointF(18, 10), QPointF(18, 17),
                                    QPointF(6, 17)});
        },
        [](QPainter &p) { // web page: a globe
            p.drawEllipse(QPointF(12, 12), 6, 6);
            p.drawEllipse(QPointF(12, 12), 2.5, 6);
            p.drawLine(QPointF(6, 12), QPointF(18, 12));
        },
        [](QPainter &p) { // shortcut: a key cap
            p.drawRoundedRect(QRectF(6, 7, 12, 10), 2, 2);
            p.drawLine(QPointF(9, 14), QPointF(15, 14));
        },
        [](QPainter &p) { // text: lines
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(7, 8 + 4 * i), QPointF(i == 2 ? 13 : 17, 8 + 4 * i));
        },
        [](QPainter &p) { // phrase: a speech bubble
            p.drawRoundedRect(QRectF(6, 6, 12, 9), 2, 2);
            p.drawLine(QPointF(9, 15), QPointF(8, 18));
        },
    };
    for (int i = 0; i < 6; ++i)
        w.add(QStringLiteral("4_commandType%1_icon").arg(i + 1), QSize(24, 24), [&typeGlyphs, i](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(0, 0, 24, 24), 5, 5);
            p.setPen(whitePen(1.5));
            p.setBrush(Qt::NoBrush);
            typeGlyphs[i](p);
        });
    const QColor rowGrey(150, 150, 150);
    w.add(QStringLiteral("4_command_edit_gray_icon"), QSize(40, 40), [rowGrey](QPainter &p) {
        p.setPen(QPen(rowGrey, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(QPolygonF{QPointF(13, 27), QPointF(14, 23), QPointF(24, 13), QPointF(27, 16), QPointF(17, 26)});
        p.drawLine(QPointF(22, 15), QPointF(25, 18));
    });
    w.add(QStringLiteral("4_command_delete_icon"), QSize(40, 40), [rowGrey](QPainter &p) {
        p.setPen(QPen(rowGrey, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(12, 14), QPointF(28, 14));
        p.drawLine(QPointF(17, 14), QPointF(18, 11));
        p.drawLine(QPointF(18, 11), QPointF(22, 11));
        p.drawLine(QPointF(22, 11), QPointF(23, 14));
        p.drawPolyline(QPolygonF{QPointF(14, 14), QPointF(15, 28), QPointF(25, 28), QPointF(26, 14)});
        p.drawLine(QPointF(18, 18), QPointF(18, 24));
        p.drawLine(QPointF(22, 18), QPointF(22, 24));
    });

    // The swap button between two language drop-downs.
    w.add(QStringLiteral("2_changeLanguage_icon"), QSize(30, 30), [](QPainter &p) {
        p.setPen(QPen(QColor(110, 110, 110), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        arrow(p, QPointF(7, 11), QPointF(23, 11), 4);
        arrow(p, QPointF(23, 19), QPointF(7, 19), 4);
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

    // The native chat window: the user's and the assistant's icons, copy and retry.
    w.add(QStringLiteral("user_icon"), QSize(40, 40), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 140));
        p.drawEllipse(QPointF(20, 14), 8, 8);
        p.drawPie(QRectF(6, 24, 28, 28), 0, 180 * 16);
    });
    w.add(QStringLiteral("chat_icon"), QSize(40, 40), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(4, 6, 32, 24), 8, 8);
        p.drawPolygon(QPolygonF{QPointF(12, 28), QPointF(10, 36), QPointF(20, 29)});
        p.setBrush(kWhite);
        for (int i = -1; i <= 1; ++i)
            p.drawEllipse(QPointF(20 + 8 * i, 18), 2.2, 2.2);
    });
    w.add(QStringLiteral("btn_copy_normal"), QSize(40, 40), [cardGrey](QPainter &p) {
        p.setPen(QPen(cardGrey, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(15, 15, 14, 16), 3, 3);
        p.drawPolyline(QPolygonF{QPointF(11, 25), QPointF(11, 11), QPointF(23, 11)});
    });
    w.add(QStringLiteral("btn_refresh_normal"), QSize(40, 40), [cardGrey](QPainter &p) {
        p.setPen(QPen(cardGrey, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(11, 11, 18, 18), 60 * 16, 280 * 16);
        p.drawPolyline(QPolygonF{QPointF(26, 8), QPointF(25, 13.5), QPointF(30.5, 14)});
    });

    // The transcription page's rows: open the transcript, and the pause glyph in the ring.
    w.add(QStringLiteral("person_open_icon"), QSize(40, 40), [](QPainter &p) {
        p.setPen(QPen(kAccent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF{QPointF(8, 14), QPointF(8, 31), QPointF(32, 31), QPointF(32, 17), QPointF(19, 17),
                                 QPointF(16, 13), QPointF(8, 13)});
    });
    w.add(QStringLiteral("person_btn_zanting"), QSize(40, 40), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kWhite);
        p.drawRoundedRect(QRectF(14, 12, 4, 16), 1.5, 1.5);
        p.drawRoundedRect(QRectF(22, 12, 4, 16), 1.5, 1.5);
    });
    // The capture's tool bar, grey on white (40 x 40): recognise, translate, save, copy, cancel.
    const QPen snipPen(QColor(96, 96, 96), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const Draw snipGlyphs[] = {
        [snipPen](QPainter &p) { // lines of text in a frame
            p.setPen(snipPen);
            p.drawPolyline(QPolygonF{QPointF(11, 15), QPointF(11, 11), QPointF(15, 11)});
            p.drawPolyline(QPolygonF{QPointF(25, 11), QPointF(29, 11), QPointF(29, 15)});
            p.drawPolyline(QPolygonF{QPointF(11, 25), QPointF(11, 29), QPointF(15, 29)});
            p.drawPolyline(QPolygonF{QPointF(25, 29), QPointF(29, 29), QPointF(29, 25)});
            for (double y : {16.0, 20.0, 24.0})
                p.drawLine(QPointF(15, y), QPointF(y == 24 ? 21 : 25, y));
        },
        [snipPen](QPainter &p) { // two arrows the other way round
            p.setPen(snipPen);
            arrow(p, QPointF(11, 16), QPointF(29, 16), 4);
            arrow(p, QPointF(29, 24), QPointF(11, 24), 4);
        },
        [snipPen](QPainter &p) { // down into a tray
            p.setPen(snipPen);
            arrow(p, QPointF(20, 10), QPointF(20, 24), 5);
            p.drawPolyline(QPolygonF{QPointF(11, 23), QPointF(11, 29), QPointF(29, 29), QPointF(29, 23)});
        },
        [snipPen](QPainter &p) { // two sheets
            p.setPen(snipPen);
            p.drawRoundedRect(QRectF(16, 15, 13, 15), 2, 2);
            p.drawPolyline(QPolygonF{QPointF(12, 25), QPointF(12, 11), QPointF(23, 11)});
        },
        [snipPen](QPainter &p) { // a cross
            p.setPen(snipPen);
            p.drawLine(QPointF(13, 13), QPointF(27, 27));
            p.drawLine(QPointF(27, 13), QPointF(13, 27));
        },
    };
    for (int i = 0; i < 5; ++i)
        w.add(QStringLiteral("snip%1_gray").arg(i + 1), QSize(40, 40), snipGlyphs[i]);

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
    // The account forms' check box, off and on.
    for (const bool on : {false, true})
        w.add(QStringLiteral("6_checkbox_%1_icon").arg(QLatin1String(on ? "sel" : "nor")), QSize(16, 16),
              [on, fieldGrey](QPainter &p) {
                  p.setPen(QPen(on ? kAccent : fieldGrey, 1.2));
                  p.setBrush(on ? kAccent : kWhite);
                  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
                  if (on) {
                      p.setPen(whitePen(1.6));
                      p.drawPolyline(QPolygonF{QPointF(4.5, 8), QPointF(7, 10.5), QPointF(11.5, 5.5)});
                  }
              });
    // The account header: the default avatar (a head and shoulders on a pale disc) and
    // the location pin.
    w.add(QStringLiteral("6_headerDefault_icon"), QSize(88, 88), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 236, 240));
        p.drawEllipse(QRectF(0, 0, 88, 88));
        p.setBrush(QColor(140, 196, 208));
        p.drawEllipse(QPointF(44, 34), 15, 15);
        QPainterPath body;
        body.moveTo(16, 80);
        body.cubicTo(20, 56, 68, 56, 72, 80);
        body.closeSubpath();
        p.drawPath(body);
    });
    w.add(QStringLiteral("6_location_icon"), QSize(16, 22), [](QPainter &p) {
        QPainterPath pin;
        pin.moveTo(8, 21);
        pin.cubicTo(2, 13, 1, 10, 1, 8);
        pin.arcTo(QRectF(1, 1, 14, 14), 180, -180);
        pin.cubicTo(15, 10, 14, 13, 8, 21);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(pin);
        p.setBrush(kWhite);
        p.drawEllipse(QPointF(8, 8), 2.6, 2.6);
    });

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
    // The AI page's download under way and done: an arrow down onto a tray.
    w.add(QStringLiteral("download"), tip, tipGlyph([](QPainter &p, QPointF c, double u) {
              ringed(p, c, u);
              p.setPen(whitePen(0.16 * u));
              arrow(p, c + QPointF(0, -0.6 * u), c + QPointF(0, 0.28 * u), 0.34 * u);
              p.drawLine(c + QPointF(-0.48 * u, 0.58 * u), c + QPointF(0.48 * u, 0.58 * u));
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

// The lighting page's radios, multicolour swatch and colour marker, the rows' switch, and
// the self-test page's diagram: four nodes and the three links between them, sound (accent) or
// broken (red, dashed).
void drawLightingAndSelfTest(Writer &w)
{
    const QColor grey(112, 112, 112);
    const QColor broken(220, 60, 60);
    for (const bool selected : {true, false})
        w.add(QStringLiteral("6_radio_%1").arg(QLatin1String(selected ? "sel" : "nor")), QSize(16, 16),
              [selected, grey](QPainter &p) {
                  p.setPen(QPen(selected ? kAccent : grey, 1.4));
                  p.setBrush(Qt::white);
                  p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
                  if (selected) {
                      p.setPen(Qt::NoPen);
                      p.setBrush(kAccent);
                      p.drawEllipse(QPointF(8, 8), 3.5, 3.5);
                  }
              });
    w.add(QStringLiteral("7_colorful_icon"), QSize(24, 24), [](QPainter &p) {
        QConicalGradient rainbow(QPointF(12, 12), 90);
        const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};
        for (int i = 0; i < 7; ++i)
            rainbow.setColorAt(i / 6.0, stops[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(rainbow);
        p.drawRoundedRect(QRectF(0, 0, 24, 24), 2, 2);
    });
    w.add(QStringLiteral("selected_color"), QSize(24, 24), [](QPainter &p) {
        p.setPen(whitePen(2.2));
        p.drawPolyline(QPolygonF{QPointF(6.5, 12.5), QPointF(10.5, 16.5), QPointF(17.5, 8)});
    });

    // The preference rows' switch (on: accent track, knob right) and the Mine page's mouse.
    for (const bool on : {true, false})
        w.add(QStringLiteral("2_switch_%1_icon").arg(QLatin1String(on ? "on" : "off")), QSize(39, 29),
              [on](QPainter &p) {
                  const QRectF track(2.5, 5.5, 34, 18);
                  p.setPen(on ? Qt::NoPen : QPen(QColor(200, 200, 200), 1));
                  p.setBrush(on ? kAccent : QColor(228, 228, 228));
                  p.drawRoundedRect(track, 9, 9);
                  p.setPen(QPen(QColor(0, 0, 0, 40), 0.8));
                  p.setBrush(kWhite);
                  p.drawEllipse(QPointF(on ? 27.5 : 11.5, 14.5), 7.5, 7.5);
              });
    w.add(QStringLiteral("6_mouse_icon"), QSize(24, 33), [grey](QPainter &p) {
        p.setPen(QPen(grey, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 2, 18, 29), 9, 9);
        p.drawLine(QPointF(12, 2), QPointF(12, 12));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
    });

    const QPen node(kAccent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    w.add(QStringLiteral("5_mouse_icon"), QSize(64, 64), [node](QPainter &p) {
        p.setPen(node);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(19, 8, 26, 48), 13, 13);
        p.drawLine(QPointF(32, 8), QPointF(32, 26));
        p.drawLine(QPointF(19, 26), QPointF(45, 26));
    });
    w.add(QStringLiteral("5_client"), QSize(64, 64), [node](QPainter &p) {
        p.setPen(node);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(8, 12, 48, 32), 3, 3);
        p.drawLine(QPointF(32, 44), QPointF(32, 52));
        p.drawLine(QPointF(20, 53), QPointF(44, 53));
    });
    w.add(QStringLiteral("5_network_out_icon"), QSize(64, 64), [node](QPainter &p) {
        p.setPen(node);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(32, 32), 23, 23);
        p.drawEllipse(QPointF(32, 32), 10, 23);
        p.drawLine(QPointF(9, 32), QPointF(55, 32));
    });
    w.add(QStringLiteral("5_network_in_icon"), QSize(64, 64), [node](QPainter &p) {
        p.setPen(node);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            p.drawRoundedRect(QRectF(12, 10 + 15 * i, 40, 12), 3, 3);
            p.drawPoint(QPointF(20, 16 + 15 * i));
        }
    });
    const struct {
        int line;
        QSize size;
        QPointF from, to;
    } links[] = {{1, QSize(52, 8), QPointF(3, 4), QPointF(49, 4)},
                 {2, QSize(60, 40), QPointF(3, 37), QPointF(57, 3)},
                 {3, QSize(60, 40), QPointF(3, 3), QPointF(57, 37)}};
    for (const auto &link : links)
        for (const bool sound : {true, false})
            w.add(QStringLiteral("5_line%1_%2icon").arg(link.line).arg(QLatin1String(sound ? "" : "error_")), link.size,
                  [link, sound, broken](QPainter &p) {
                      p.setPen(QPen(sound ? kAccent : broken, 2.5, sound ? Qt::SolidLine : Qt::DashLine, Qt::RoundCap));
                      p.drawLine(link.from, link.to);
                  });
}
// The pointer settings page: the preview's row icons and its sample picture (its switches
// and radios are the settings rows').
void drawPointerPage(Writer &w)
{
    const QColor light(235, 235, 235);
    w.add(QStringLiteral("laserPen_brightness_icon"), QSize(18, 18), [=](QPainter &p) {
        p.setPen(QPen(light, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 9), 3.5, 3.5);
        for (int i = 0; i < 8; ++i) {
            const QPointF d(std::cos(i * kPi / 4), std::sin(i * kPi / 4));
            p.drawLine(QPointF(9, 9) + d * 6, QPointF(9, 9) + d * 8);
        }
    });
    w.add(QStringLiteral("laserPen_zoom_icon"), QSize(18, 18), [=](QPainter &p) {
        p.setPen(QPen(light, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 9), 7, 7);
        p.drawEllipse(QPointF(9, 9), 3, 3);
    });
    w.add(QStringLiteral("laserPen_color_icon"), QSize(18, 18), [](QPainter &p) {
        const QColor dots[] = {QColor(231, 76, 60), QColor(46, 204, 113), QColor(52, 152, 219)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(QPointF(9 + 4.5 * std::cos(i * 2 * kPi / 3), 9 + 4.5 * std::sin(i * 2 * kPi / 3)), 3.5, 3.5);
        }
    });
    // A slide on a desk: what the preview's effects are drawn over.
    w.add(QStringLiteral("previewImage"), QSize(340, 200), [](QPainter &p) {
        QLinearGradient sky(0, 0, 0, 200);
        sky.setColorAt(0, QColor(72, 120, 170));
        sky.setColorAt(1, QColor(150, 188, 214));
        p.fillRect(QRectF(0, 0, 340, 200), sky);
        p.fillRect(QRectF(40, 22, 260, 150), QColor(250, 250, 250));
        p.fillRect(QRectF(60, 40, 120, 10), QColor(60, 70, 90));
        const QColor bars[] = {QColor(230, 126, 34), QColor(46, 204, 113), QColor(52, 152, 219), QColor(155, 89, 182)};
        for (int i = 0; i < 4; ++i)
            p.fillRect(QRectF(70 + i * 50, 150 - 20 - i * 18, 30, 20 + i * 18), bars[i]);
    });
}

// The device page's corner buttons (refresh, permissions, 30 x 30, grey); its RGB switch is
// the settings rows' switch.
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
    drawLightingAndSelfTest(w);
    drawPointerPage(w);
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
