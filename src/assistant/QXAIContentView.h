#pragma once

#include "views/QXBaseView.h"

#include <functional>

class QLabel;
class QXButton;
class QXTextView;

// One turn of the chat: the question beside the user's icon, the answer on a tinted
// card beside the assistant's icon, and under the card a copy and a retry button.
class QXAIContentView : public QXBaseView {
    Q_OBJECT
public:
    // Height of a text laid out at a width in the given font.
    using TextHeight = std::function<double(const QString &text, double width, const QFont &font)>;

    explicit QXAIContentView(TextHeight textHeight, QWidget *parent = nullptr);

    // Fills the bubble for its width and computes viewHeight.
    void showQuestion(const QString &question, const QString &answer);
    double viewHeight() const { return m_viewHeight; }
    double answerBackgroundHeight() const { return m_answerHeight; }
    QString question() const;
    QString answer() const;

    std::function<void(const QString &answer)> copyBlock;
    std::function<void(const QString &question)> retryBlock;

    void fuzhiBtnClicked();
    void retryBtnClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();
    double textWidth() const;

    TextHeight m_textHeight;
    QLabel *m_userIcon = nullptr;
    QXTextView *m_questionText = nullptr;
    QLabel *m_chatIcon = nullptr;
    QXBaseView *m_answerBg = nullptr;
    QXTextView *m_answerText = nullptr;
    QXButton *m_copyBtn = nullptr;
    QXButton *m_retryBtn = nullptr;
    double m_questionHeight = 0;
    double m_answerTextHeight = 0;
    double m_answerHeight = 0;
    double m_viewHeight = 0;
};
