#pragma once

#include "PZEventMonitor.h"
#include "Scheduler.h"

#include <QPoint>

#include <functional>
#include <memory>
#include <vector>

class IAppShell;
class ITranslateManager;
class ITranslationWindow;
class QXUserInfoData;
class SearchButtonWindow;
namespace platform {
class IClipboard;
class ISelectionCopier;
} // namespace platform

// Watches the mouse in other applications. A left-button drag that ends while word
// input is on and a device is connected copies the selection for translation
// (pasteboardContent), gives the user's clipboard back, and shows a search button at
// the pointer that translates it. Mouse-downs close the guide, hide the button and
// dismiss the translation window when they land outside it. Main thread.
class SelectionCopyMonitor {
public:
    struct Deps {
        QXUserInfoData *state = nullptr;
        platform::IClipboard *clipboard = nullptr;
        platform::ISelectionCopier *copier = nullptr;
        platform::IGlobalMouseMonitor *mouseMonitor = nullptr;
        Scheduler *scheduler = nullptr;
        ITranslateManager *translate = nullptr;
        IAppShell *shell = nullptr;                      // its window hides for a search
        ITranslationWindow *translationWindow = nullptr; // none until translation is built
        // A left mouse-down in another application at this point: closes the guide
        // popover unless the point is on the status item, whose own click toggles it.
        std::function<void(QPoint)> closeGuide;
    };
    // The selection is read this long after the release: the application that owns
    // it may take it only once it has handled the release itself.
    static constexpr int kCopyDelayMs = 200;
    // How far the pointer must have moved since the last mouse-down for the button.
    static constexpr int kSearchButtonDistance = 5;

    explicit SelectionCopyMonitor(Deps deps);
    ~SelectionCopyMonitor();
    SelectionCopyMonitor(const SelectionCopyMonitor &) = delete;
    SelectionCopyMonitor &operator=(const SelectionCopyMonitor &) = delete;

    // Installs the monitors: left up, left down, left or right down, and left dragged
    // while a device is connected (looked at again on every left mouse-down).
    void start();

    void searchBtnClicked();

    QPoint lastPoint() const { return m_lastPoint; }
    SearchButtonWindow *searchWindow() const { return m_searchWindow.get(); } // made on first show

private:
    void watchDrags();
    void leftMouseUp(QPoint pointer);
    void leftMouseDown(quint32 time, QPoint pointer);
    void outsideClick(QPoint pointer);
    void completeCopy();

    Deps m_deps;
    std::vector<std::unique_ptr<PZEventMonitor>> m_monitors;
    std::unique_ptr<PZEventMonitor> m_dragMonitor;
    bool m_dragged = false;
    QPoint m_lastPoint;
    Scheduler::TimerId m_completion = Scheduler::kNoTimer;
    std::unique_ptr<SearchButtonWindow> m_searchWindow;
};
