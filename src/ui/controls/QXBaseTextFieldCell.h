#pragma once

#include <QFont>
#include <QRectF>

// Vertical centring of one line of text, shared by the label and the input field:
// the rectangle is inset by d = floor(H/2 - (ascent - descent)) + 2 at top and
// bottom, and the text is drawn from the inset rectangle's top. (Qt's descent is
// positive, so ascent - descent is the part of the line above the baseline less the
// part below it.)
class QXBaseTextFieldCell {
public:
    static int verticalInset(qreal height, const QFont &font);
    static QRectF adjustedFrameToVerticallyCenterText(const QRectF &rect, const QFont &font);
};
