#pragma once

#include "drawing/LayerStyle.h"

#include <QPixmap>
#include <QPushButton>

// The push button of every page: borderless, painted from its layer look, with a
// title colour of its own and optional colours while pressed. The action (clicked)
// is sent on every release that follows a press on the button, wherever the pointer
// is then; a checkable button flips its state first. It takes no keyboard focus and
// shows the pointing hand.
class QXButton : public QPushButton {
    Q_OBJECT
public:
    explicit QXButton(QWidget *parent = nullptr);
    explicit QXButton(const QString &title, QWidget *parent = nullptr);

    QString title() const { return text(); }
    // Keeps the title colour and font.
    void setTitle(const QString &title);

    // Invalid: the text colour of the palette.
    QColor titleColor() const { return m_titleColor; }
    // An invalid colour changes nothing.
    void setTitleColor(const QColor &color);

    // Applied while pressed; invalid: unchanged.
    QColor highlightTitleColor() const { return m_highlightTitle; }
    void setHighlightTitleColor(const QColor &c) { m_highlightTitle = c; }
    QColor highlightBackGroundColor() const { return m_highlightBackground; }
    void setHighlightBackGroundColor(const QColor &c) { m_highlightBackground = c; }
    QColor highlightBorderColor() const { return m_highlightBorder; }
    void setHighlightBorderColor(const QColor &c) { m_highlightBorder = c; }
    // What a press saved and its release puts back.
    QColor originalColor() const { return m_originalTitle; }
    QColor originalBackGroundColor() const { return m_originalBackground; }
    QColor originalBorderColor() const { return m_originalBorder; }

    const LayerStyle &layerStyle() const { return m_layer; }
    void setLayerStyle(const LayerStyle &style);
    void setLayerBackgroundColor(const QColor &color);
    void setLayerBorder(const QColor &color, qreal width);
    void setLayerBorderColor(const QColor &color);
    void setLayerCornerRadius(qreal radius);

    // The picture drawn with (or instead of) the title, scaled down to fit.
    QPixmap image() const { return m_image; }
    void setImage(const QPixmap &image);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    bool isPressedNow() const { return m_pressed; }

    QSize sizeHint() const override;

    // The picture's size as drawn (scaled down to fit the button).
    QSizeF drawnImageSize() const;
    // The width the title has beside the picture.
    qreal titleRoom() const;
    // The title's font as drawn: smaller than font() when the title would not fit its
    // room (then, past the smallest size, it is cut and becomes the tool tip).
    QFont drawnTitleFont() const;
    // The width at which `title` is drawn whole at the button's own font, beside its
    // picture, with `padding` on each side: what a row gives a button whose caption
    // differs from language to language.
    int widthShowingWhole(const QString &title, int padding = 0) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_titleColor;
    QColor m_highlightTitle, m_highlightBackground, m_highlightBorder;
    QColor m_originalTitle, m_originalBackground, m_originalBorder;
    LayerStyle m_layer;
    QPixmap m_image;
    int m_tag = 0;
    bool m_pressed = false;
    bool m_autoToolTip = false; // the tool tip is the title a cut drew short
};
