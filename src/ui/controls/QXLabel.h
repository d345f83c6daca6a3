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

    // Where the text is drawn (the contents rectangle inset by the centring rule).
    QRectF textRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background;
};
