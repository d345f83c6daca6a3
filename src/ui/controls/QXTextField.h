#pragma once

#include "Scheduler.h"

#include <QColor>
#include <QLineEdit>

// The input field of the pages: no frame, a clear background, text centred
// vertically, and once it has had the focus a caret in the accent colour. Qt has no
// caret colour, so the field hides the style's caret and blinks its own on the
// scheduler.
class QXTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit QXTextField(QWidget *parent = nullptr);
    ~QXTextField() override;

    // The colour the caret is drawn in: the text colour until the field first takes
    // the focus, the accent colour from then on.
    QColor caretColor() const;
    // Whether the caret is drawn now (focused, editable, in the "on" half of a blink).
    bool isCaretShown() const;

protected:
    // The secure field does not centre its text.
    void setCentresText(bool on);

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void updateTextMargins();
    void startBlinking();
    void stopBlinking();

    QColor m_caretColor;
    bool m_centres = true;
    bool m_caretOn = false;
    Scheduler::TimerId m_blink = Scheduler::kNoTimer;
};
