#pragma once

#include <QLabel>

// A label that never takes a click (presses reach whatever lies under it), with its
// text centred vertically the way the input fields centre theirs.
class QXLabel : public QLabel {
    Q_OBJECT
public:
    explicit QXLabel(QWidget *parent = nullptr);
    explicit QXLabel(const QString &text, QWidget *parent = nullptr);

    QColor textColor() const;
    void setTextColor(const QColor &color);
    // Filled behind the text; invalid: none.
    QColor backgroundColor() const { return m_background; }
    void setBackgroundColor(const QColor &color);
    // How a single-line text wider than the label is cut: Qt::ElideRight puts "…" at
    // its end (the full text stays the label's text); Qt::ElideNone clips it.
    Qt::TextElideMode elideMode() const { return m_elide; }
    void setElideMode(Qt::TextElideMode mode);

    // The height the text takes wrapped at word breaks in a label `labelWidth` wide, as
    // the label draws it: for a page that grows the label to show a whole instruction.
    int wrappedHeight(int labelWidth) const;
    // Where the text is drawn (the contents rectangle inset by the centring rule).
    QRectF textRect() const;
    // The font the text is drawn in: smaller than font() when a line would not fit the
    // label (then, past the smallest size, the line is cut and becomes the tool tip).
    virtual QFont drawnFont() const;
    // Whether the text is drawn cut short with "…": one line wider than the room the
    // label gives it, at any overrun.
    virtual bool drawsCut() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background;
    Qt::TextElideMode m_elide = Qt::ElideNone;
    bool m_autoToolTip = false; // the tool tip is the text a cut drew short

    qreal textRoom() const;
};
