#pragma once

#include "popup/QXWordView.h"

#include <functional>

class QXButton;

// One text card of the translation window: the self-sizing word card with a copy
// button in its lower right corner. The play button is kept hidden.
class QXTranslateView : public QXWordView {
    Q_OBJECT
public:
    explicit QXTranslateView(QWidget *parent = nullptr);

    bool isYiView() const { return m_isYiView; }
    void setIsYiView(bool on);

    // What the copy button does with the card's text.
    void setCopyBlock(std::function<void(const QString &)> block) { m_copyBlock = std::move(block); }
    void fuzhiBtnClicked();

    QXButton *fuzhiBtn() const { return m_fuzhiBtn; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutButtons();

    bool m_isYiView = false;
    QXButton *m_fuzhiBtn = nullptr;
    QXButton *m_playBtn = nullptr;
    std::function<void(const QString &)> m_copyBlock;
};
