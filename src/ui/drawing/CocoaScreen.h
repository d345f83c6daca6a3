#pragma once

#include <QRectF>

// Window frames in bottom-left screen coordinates (y grows upwards from the bottom
// of the primary screen), the form that window positions are computed in. The one
// place that converts between them and Qt's top-left desktop coordinates.
class CocoaScreen {
public:
    // Over a desktop whose primary screen is `primaryHeight` high.
    static QRectF toQt(const QRectF &cocoa, qreal primaryHeight);
    static QRectF fromQt(const QRectF &qt, qreal primaryHeight);
    // Over the primary screen's full geometry.
    static QRectF toQt(const QRectF &cocoa);
    static QRectF fromQt(const QRectF &qt);
    static qreal primaryHeight();
};
