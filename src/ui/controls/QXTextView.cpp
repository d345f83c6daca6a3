#include "QXTextView.h"

#include "drawing/KitAppearance.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {
// Between words where the text has them (English), anywhere else (Chinese, a word
// longer than the line).
QTextOption wrapAtWords()
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Lays the text out line by line at the width; calls `line` for each with its top
// y, stopping when it returns false.
// Hard line breaks as the layout understands them.
QString layoutText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(u'\n', QChar::LineSeparator);
    text.replace(u'\r', QChar::LineSeparator);
    return text;
}

template <typename Fn> void layoutLines(QTextLayout &layout, qreal width, Fn line)
{
    layout.setTextOption(wrapAtWords());
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine l = layout.createLine();
        if (!l.isValid())
            break;
        l.setLineWidth(width);
        l.setPosition(QPointF(0, y));
        if (!line(l))
            break;
        y += l.height() + QXTextView::kLineSpacing;
    }
    layout.endLayout();
}
} // namespace

QXTextView::QXTextView(QWidget *parent) : QWidget(parent)
{
    setFont(qxSystemFont(14));
    setFocusPolicy(Qt::NoFocus);
    m_textColor = palette().color(QPalette::WindowText);
}

void QXTextView::setMaxWidth(qreal width)
{
    m_maxWidth = (std::isfinite(width) && width > 0) ? width : kDefaultMaxWidth;
}

void QXTextView::setTextColor(const QColor &color)
{
    if (!color.isValid())
        return;
    m_textColor = color;
    update();
}

qreal QXTextView::measuredHeight(const QString &text, const QFont &font, qreal width)
{
    if (text.isEmpty())
        return 0;
    QTextLayout layout(layoutText(text), font);
    qreal bottom = 0;
    layoutLines(layout, width, [&](const QTextLine &l) {
        bottom = l.y() + l.height();
        return true;
    });
    return bottom;
}

QStringList QXTextView::wrappedLines(const QString &text, const QFont &font, qreal width)
{
    const QString laid = layoutText(text);
    QTextLayout layout(laid, font);
    QStringList lines;
    layoutLines(layout, width, [&](const QTextLine &l) {
        lines << laid.mid(l.textStart(), l.textLength());
        return true;
    });
    return lines;
}

QList<qreal> QXTextView::lineTops(const QString &text, const QFont &font, qreal width)
{
    QTextLayout layout(layoutText(text), font);
    QList<qreal> tops;
    layoutLines(layout, width, [&](const QTextLine &l) {
        tops << l.y();
        return true;
    });
    return tops;
}

void QXTextView::setString(const QString &text)
{
    m_string = text;
    m_textH = std::ceil(measuredHeight(m_string, font(), m_maxWidth)) + kExtraHeight;
    updateGeometry();
    update();
}

QSize QXTextView::sizeHint() const
{
    return QSize(int(std::ceil(m_maxWidth)), int(std::ceil(m_textH)));
}

void QXTextView::paintEvent(QPaintEvent *)
{
    if (m_string.isEmpty() || width() <= 0)
        return;
    QPainter painter(this);
    painter.setPen(m_textColor);
    painter.setFont(font());

    // Find the lines that fit; the last of them is cut with an ellipsis when text
    // remains after it.
    const QString text = layoutText(m_string);
    QTextLayout layout(text, font());
    int lastStart = 0;
    int shownEnd = 0;
    int lines = 0;
    const qreal w = width();
    const qreal h = height();
    layoutLines(layout, w, [&](const QTextLine &l) {
        if (lines > 0 && l.y() + l.height() > h)
            return false;
        lastStart = l.textStart();
        shownEnd = l.textStart() + l.textLength();
        ++lines;
        return true;
    });
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine l = layout.lineAt(i);
        if (l.textStart() >= lastStart)
            break;
        l.draw(&painter, QPointF(0, 0));
    }
    const QFontMetricsF metrics(font());
    QString last = text.mid(lastStart, shownEnd - lastStart);
    if (shownEnd < text.size()) {
        QString rest = text.mid(lastStart);
        if (const qsizetype br = rest.indexOf(QChar::LineSeparator); br >= 0)
            rest = rest.left(br) + QChar(0x2026);
        last = metrics.elidedText(rest, Qt::ElideRight, w);
    }
    last.remove(QChar::LineSeparator);
    const QTextLine lastLine = layout.lineForTextPosition(lastStart);
    const qreal top = lastLine.isValid() ? lastLine.y() : 0;
    painter.drawText(QPointF(0, top + metrics.ascent()), last);
}
