#pragma once

#include <QColor>
#include <QString>

// A colour from "#RRGGBB" text (the whole text, nothing before or after it, not even
// a line break); any other text gives white.
QColor pz_colorWithHexString(const QString &hex, qreal alpha = 1.0);
// Components on the 0-255 scale.
QColor pz_colorWithIntR(int r, int g, int b, qreal alpha = 1.0);
// Each of red, green and blue one of 0.61, 0.62 ... 1.00.
QColor pz_randomColor();
