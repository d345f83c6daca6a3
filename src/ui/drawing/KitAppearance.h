#pragma once

#include <QColor>
#include <QFont>

class QStyle;

// The kit's recurring colours (0-255 RGB).
inline QColor qxAccentColor()
{
    return QColor(0, 175, 204);
}
inline QColor qxDarkGreyColor()
{
    return QColor(60, 60, 60);
}
inline QColor qxGreyColor()
{
    return QColor(116, 116, 116);
}

// The system font at a size given in pixels: every size and offset of the windows is
// in device-independent pixels, so font sizes are too (a point size would grow the
// text by the screen's dpi against the fixed layout).
QFont qxSystemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);

// The application always looks light: Fusion with its own light palette, whatever
// the desktop's theme (a dark GTK or Qt theme would otherwise reach the windows).
void qxApplyLightAppearance();
// A new instance of the application's style, for a proxy that alters one detail of it.
QStyle *qxCreateApplicationStyle();
