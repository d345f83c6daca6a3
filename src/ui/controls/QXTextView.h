#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

// A read-only multi-line text that tells its caller the height it needs: the text
// wraps between words, or at any character where it has no word boundary, lines are 10 px apart, and the last line that
// fits is cut off with an ellipsis when more text follows. Callers set maxWidth and the text colour, then the string,
// then size the view to textH().
class QXTextView : public QWidget {
    Q_OBJECT
public:
    static constexpr qreal kDefaultMaxWidth = 300;
    static constexpr qreal kLineSpacing = 10;
    static constexpr qreal kExtraHeight = 30;

    explicit QXTextView(QWidget *parent = nullptr);

    QString string() const { return m_string; }
    // Stores the text and measures it at maxWidth: textH = ceil(height) + 30.
    void setString(const QString &text);

    qreal maxWidth() const { return m_maxWidth; }
    // Takes effect at the next setString. A width that is not a positive number
    // measures at the default.
    void setMaxWidth(qreal width);
    qreal textH() const { return m_textH; }
    void setTextH(qreal height) { m_textH = height; }

    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);

    // Height of the text laid out at the width: n lines of the font's line height
    // with 10 px between them; 0 for an empty text.
    static qreal measuredHeight(const QString &text, const QFont &font, qreal width);
    // The text of each line it is laid out in at the width.
    static QStringList wrappedLines(const QString &text, const QFont &font, qreal width);
    // The top of each line it is laid out in at the width, first line at 0.
    static QList<qreal> lineTops(const QString &text, const QFont &font, qreal width);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_string;
    qreal m_maxWidth = kDefaultMaxWidth;
    qreal m_textH = kExtraHeight;
    QColor m_textColor;
};
