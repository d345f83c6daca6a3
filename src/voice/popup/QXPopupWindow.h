#pragma once

#include <QWidget>

#include <functional>

class QXButton;
class QXPopContentView;

// The floating speech pop-up at the right edge of the screen: a frameless tool window
// above the others that never takes the keyboard focus, so the text the pipeline then
// pastes still goes to the application the user is typing in.
class QXPopupWindow : public QWidget {
    Q_OBJECT
public:
    struct Deps {
        // Whether the pop-up shows for this press at all (the AI window's key action on
        // the products whose AI window takes the voice text shows none); empty: always.
        std::function<bool()> suppressed;
        // Whether a recognition runs (translations arrive only then).
        std::function<bool()> hadStart;
        // The close button: ends the running recognition without a result.
        std::function<void()> cancelAsr;
        // Dismissing ends the key action's voice mode.
        std::function<void()> resetLastPressType;
        // Per-pixel translucency (a compositor runs); else an opaque window shaped to
        // its cards.
        bool translucent = false;
    };

    explicit QXPopupWindow(Deps deps);

    bool isShow() const { return m_isShow; }
    QString fanText() const;
    QString yiText() const;
    QXPopContentView *popContentView() const { return m_content; }
    QXButton *closeBtn() const { return m_closeBtn; }

    void showSpeechView(const QString &text, qint64 type);
    void showYiText(const QString &text);
    void dismissSpeechView();
    void closeBtnClicked();

signals:
    // isShow changed (a show, a dismiss, the close button).
    void shownChanged(bool isShow);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeWithHeight(int height);
    void updateShape();
    void setIsShow(bool on);

    Deps m_deps;
    bool m_isShow = false;
    QXPopContentView *m_content = nullptr;
    QXButton *m_closeBtn = nullptr;
};
