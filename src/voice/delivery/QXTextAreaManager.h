#pragma once

#include "platform/IAccessibilityBridge.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <memory>

class NotificationCenter;

// Writes recognised text straight into the text field under the mouse pointer in
// another application, through the accessibility bus: an alternative to pasting.
// At a recognition's start it finds the field and remembers its value and caret;
// every interim and final text then rewrites the field as the remembered text
// before the caret + the recognised text + the remembered text after it, and after
// the final piece the caret goes just behind the inserted text.
//
// The text insertion service holds one for its field sessions; nothing in the
// application turns this path on yet: the speech pop-up with paste is the delivery
// that runs. Main thread only.
class QXTextAreaManager : public QObject {
public:
    struct Deps {
        platform::IAccessibilityBridge *bridge = nullptr;
        std::function<QPoint()> mousePosition;       // screen coordinates
        std::function<bool()> isLast;                // the final result of the recognition has arrived
        NotificationCenter *notifications = nullptr; // else the default centre
    };

    explicit QXTextAreaManager(Deps deps);
    ~QXTextAreaManager() override;

    // Starts a session at each "ASRStartNotification".
    void registerNotification();
    void asrStartNotification();

    // A session: the text element under the mouse, its value and caret.
    void startMonitorUIElement();
    void updateCurrentUIElement();
    void updateUIElementInfo();
    void getDeepestUIElementRef(const std::shared_ptr<platform::IAccessibleElement> &element);

    // The whole text recognised so far.
    void showTextToCurrentTextArea(const QString &text);

    QPoint lastMousePoint() const { return m_lastMousePoint; }

private:
    NotificationCenter &notifications() const;

    Deps m_deps;
    NotificationCenter *m_registeredWith = nullptr; // only a registered manager is observed
    QPoint m_lastMousePoint;
    std::shared_ptr<platform::IAccessibleElement> m_currentUIElement;
    std::shared_ptr<platform::IAccessibleElement> m_textElementRef;
    QString m_textElementRefValue;
    qint64 m_insertTextPos = 0;
};
