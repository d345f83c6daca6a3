#pragma once

#include "views/QXBaseView.h"

class QLabel;
class QXLabel;

// The tip bubble: an accent rounded rectangle with a picture and a line of white text
// at the bottom.
class QXShowTipContentView : public QXBaseView {
    Q_OBJECT
public:
    explicit QXShowTipContentView(QWidget *parent = nullptr);

    QLabel *statusImageView() const { return m_statusImageView; }
    QXLabel *tipTextField() const { return m_tipTextField; }

    // A null pixmap (a missing picture) leaves the text alone in the bubble.
    void setStatusImage(const QPixmap &image);
    // The bubble's size for a text: wide enough for it on one line, from the picture's
    // width up to popupgeometry::kTipMaxWidth, past which it wraps at word boundaries
    // and the bubble grows a line at a time.
    QSize sizeForText(const QString &text) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_statusImageView = nullptr;
    QXLabel *m_tipTextField = nullptr;
};
