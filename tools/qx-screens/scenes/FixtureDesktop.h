#pragma once

// A desktop to put the full-screen effects over in scenes (an offscreen grab shows
// nothing): a blue backdrop with a document window holding a few lines of text.
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

inline QImage fixtureDesktop(QSize size)
{
    QImage desk(size, QImage::Format_RGB32);
    QPainter p(&desk);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(46, 94, 146));
    sky.setColorAt(1, QColor(120, 170, 205));
    p.fillRect(desk.rect(), sky);
    const QRect doc(size.width() / 8, size.height() / 8, size.width() * 5 / 8, size.height() * 5 / 8);
    p.fillRect(doc, QColor(250, 250, 248));
    p.fillRect(QRect(doc.topLeft(), QSize(doc.width(), 28)), QColor(222, 225, 230));
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRect(doc.left() + 12 + 20 * i, doc.top() + 9, 10, 10), QColor(170, 175, 182));
    QFont font = p.font();
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(40, 40, 40));
    const char *lines[] = {"Quarterly review", "The new receiver pairs in two seconds.",
                           "Battery life grew by a third.", "Next: voice commands in more languages."};
    for (int i = 0; i < 4; ++i)
        p.drawText(doc.left() + 24, doc.top() + 70 + 36 * i, QString::fromLatin1(lines[i]));
    return desk;
}
