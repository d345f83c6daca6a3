#pragma once

#include "services/ITranslationWindow.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class IPopupTips;
class NotificationCenter;
class QWidget;
class QXLanguageManager;
class QXTranslateContentView;
class QXUserInfoData;
namespace platform {
class IClipboard;
}

// The floating card selection and screenshot translations show in: a frameless tool
// window at the right of the primary screen, 100 px above its bottom, growing upward
// with its texts; it never takes the focus. Its widgets are made the first time it
// shows. Choosing a target language in its header stores the choice, tells the
// settings rows, and translates the source again. Main thread.
class QXTranslateWindow final : public QObject, public ITranslationWindow {
    Q_OBJECT
public:
    struct Deps {
        QXUserInfoData *state = nullptr;                    // isScreenshotsTranslate picks the list
        QXLanguageManager *languages = nullptr;             // the lists and the chosen indices
        std::function<bool()> isScreenshotsOCR;             // recognition only (the capture's choice)
        std::function<void(const QString &)> translateText; // the manager's, for a new target
        platform::IClipboard *clipboard = nullptr;
        IPopupTips *tips = nullptr;
        bool translucent = false;
        // Where the laid-out text heights come from; empty: the cards' own measurement.
        std::function<double(const QString &)> textMeasure;
        // The screen the window sits on; empty: the primary screen.
        std::function<QRect()> screen;
        NotificationCenter *notifications = nullptr; // told of a newly chosen language
    };

    explicit QXTranslateWindow(Deps deps);
    ~QXTranslateWindow() override;

    // showInWindow, then the source, then the translation.
    void showTranslateWindow(const QString &fanText, const QString &yiText) override;
    void showInWindow();
    void setFanText(const QString &text);
    // An empty translation changes nothing on screen.
    void setYiText(const QString &text);
    void dismissWindow() override;
    void closeBtnClicked() { dismissWindow(); }
    // The user chose entry `index` of the header's pop-up.
    void languageChosen(int index);

    bool isShow() const override { return m_isShow; }
    QRect frameGeometry() const override;
    QString fanText() const { return m_fanText; }
    QString yiText() const { return m_yiText; }

    // Made on first use.
    QWidget &window();
    QXTranslateContentView &popContentView();
    bool isBuilt() const { return m_window != nullptr; }

private:
    void copy(const QString &text);
    void placeWindow();
    QStringList languageNames() const;

    Deps m_deps;
    bool m_isShow = false;
    QString m_fanText;
    QString m_yiText;
    std::unique_ptr<QWidget> m_window;
    QXTranslateContentView *m_content = nullptr;
};
