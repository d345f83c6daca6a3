#pragma once

#include <QRgb>

// The picture the helper window paints: a colour for each of its pixels that differs
// from its neighbours', so a picture that is off by one pixel does not match.
inline QRgb patternColour(int x, int y)
{
    return qRgb((x * 7 + y) % 256, (y * 13) % 256, (x * 3 + y * 5) % 256);
}
