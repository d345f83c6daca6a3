#include "PZColor.h"

#include <QRandomGenerator>
#include <QRegularExpression>

QColor pz_colorWithHexString(const QString &hex, qreal alpha)
{
    // anchoredPattern: "$" alone would also match before a final line break.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral("#[0-9a-fA-F]{6}")));
    if (!pattern.match(hex).hasMatch())
        return QColor(Qt::white);
    const auto pair = [&](int at) { return hex.mid(at, 2).toInt(nullptr, 16); };
    return QColor::fromRgbF(pair(1) / 255.0f, pair(3) / 255.0f, pair(5) / 255.0f, float(alpha));
}

QColor pz_colorWithIntR(int r, int g, int b, qreal alpha)
{
    return QColor::fromRgbF(r / 255.0f, g / 255.0f, b / 255.0f, float(alpha));
}

QColor pz_randomColor()
{
    const auto channel = [] { return (61 + QRandomGenerator::global()->bounded(40)) / 100.0f; };
    const float r = channel(), g = channel(), b = channel();
    return QColor::fromRgbF(r, g, b, 1.0f);
}
