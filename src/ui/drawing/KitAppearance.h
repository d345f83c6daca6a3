#pragma once

#include <QColor>
#include <QFont>

class QString;
class QStyle;
class QWidget;

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

// Paints the whole of the widget in the colour before its children are drawn (its
// palette's Window role): how a page, a pane or a bar gets a flat ground.
void qxFillBackground(QWidget *widget, const QColor &color);
// A new page on a white ground, named for tests and scenes.
QWidget *qxWhitePage(const QString &objectName);

// The system font at a size given in pixels: every size and offset of the windows is
// in device-independent pixels, so font sizes are too (a point size would grow the
// text by the screen's dpi against the fixed layout).
QFont qxSystemFont(qreal pixelSize, QFont::Weight weight = QFont::Normal);

// The application always looks light: Fusion with its own light palette, whatever
// the desktop's theme (a dark GTK or Qt theme would otherwise reach the windows).
void qxApplyLightAppearance();
// A new instance of the application's style, for a proxy that alters one detail of it.
QStyle *qxCreateApplicationStyle();
