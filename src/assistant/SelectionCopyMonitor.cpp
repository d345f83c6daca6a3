#include "SelectionCopyMonitor.h"

#include "PZLog.h"
#include "QXUserInfoData.h"
#include "SearchButtonWindow.h"
#include "platform/IClipboard.h"
#include "platform/ISelectionCopier.h"
#include "services/IAIWindow.h"
#include "services/IAppShell.h"
#include "services/ITranslationWindow.h"

#include <QMimeData>
#include <QWidget>

#include <cstdlib>

using platform::maskOf;
using platform::MouseEvent;
using platform::MouseEventType;

SelectionCopyMonitor::SelectionCopyMonitor(Deps deps) : m_deps(std::move(deps))
{
    Q_ASSERT(m_deps.state && m_deps.clipboard && m_deps.copier && m_deps.mouseMonitor && m_deps.scheduler
             && m_deps.translate);
}

SelectionCopyMonitor::~SelectionCopyMonitor()
{
    m_dragMonitor.reset();
    m_monitors.clear();
    cancelTimer(*m_deps.scheduler, m_completion);
}

namespace {
// Global only: our own windows (the guide's buttons, the search button) must not close
// or hide themselves on their own clicks.
std::unique_ptr<PZEventMonitor> globalMonitor(quint64 mask, PZEventMonitor::Handler handler,
                                              platform::IGlobalMouseMonitor *source)
{
    auto monitor = PZEventMonitor::monitorWithType(PZEventMonitor::Global, mask, std::move(handler), source);
    monitor->start();
    return monitor;
}
} // namespace

void SelectionCopyMonitor::start()
{
    m_monitors.clear();
    m_dragMonitor.reset();
    watchDrags();
    const auto add = [this](quint64 mask, PZEventMonitor::Handler handler) {
        m_monitors.push_back(globalMonitor(mask, std::move(handler), m_deps.mouseMonitor));
    };
    add(maskOf(MouseEventType::LeftMouseUp), [this](const MouseEvent &e) { leftMouseUp(e.globalPos); });
    add(maskOf(MouseEventType::LeftMouseDown), [this](const MouseEvent &e) { leftMouseDown(e.time, e.globalPos); });
    add(maskOf(MouseEventType::LeftMouseDown) | maskOf(MouseEventType::RightMouseDown),
        [this](const MouseEvent &e) { outsideClick(e.globalPos); });
}

// Only a drag with a device connected copies, so only then is the pointer's motion
// watched: without a device, moving the pointer wakes nothing here.
void SelectionCopyMonitor::watchDrags()
{
    const bool wanted = m_deps.state->isConnect();
    if (wanted && !m_dragMonitor)
        m_dragMonitor = globalMonitor(
            maskOf(MouseEventType::LeftMouseDragged), [this](const MouseEvent &) { m_dragged = true; },
            m_deps.mouseMonitor);
    else if (!wanted)
        m_dragMonitor.reset();
}

void SelectionCopyMonitor::leftMouseDown(quint32 time, QPoint pointer)
{
    watchDrags();
    if (m_deps.closeGuide)
        m_deps.closeGuide(pointer);
    // A gesture that starts while a copy is pending belongs to it: what either of
    // them selected counts.
    if (m_completion == Scheduler::kNoTimer)
        m_deps.copier->beginGesture(time);
}

void SelectionCopyMonitor::leftMouseUp(QPoint pointer)
{
    const bool dragged = m_dragged;
    m_dragged = false;
    QXUserInfoData &state = *m_deps.state;
    if (!dragged || !state.wordInputSwitch() || !state.isConnect())
        return;

    state.setIsManualSendCopy(true);
    // A second drag within the delay moves the one completion: two would read the
    // clipboard after the first had already put the user's content back.
    cancelTimer(*m_deps.scheduler, m_completion);
    m_completion = m_deps.scheduler->singleShot(kCopyDelayMs, [this] {
        m_completion = Scheduler::kNoTimer;
        completeCopy();
    });

    if (std::abs(pointer.x() - m_lastPoint.x()) >= kSearchButtonDistance
        || std::abs(pointer.y() - m_lastPoint.y()) >= kSearchButtonDistance) {
        if (!m_searchWindow) {
            m_searchWindow = std::make_unique<SearchButtonWindow>();
            QObject::connect(m_searchWindow.get(), &SearchButtonWindow::searchBtnClicked,
                             [this] { searchBtnClicked(); });
        }
        m_searchWindow->showAtPointer(pointer);
    }
}

// The clipboard is only touched when something was selected: a drag that selected
// nothing (a window moved, a picture drawn) leaves it with its owner, whatever it
// holds. Otherwise every format it held comes back after the copy, not only text.
void SelectionCopyMonitor::completeCopy()
{
    QXUserInfoData &state = *m_deps.state;
    platform::IClipboard &clipboard = *m_deps.clipboard;
    state.setIsManualSendCopy(false);
    if (!m_deps.copier->selectionChangedSinceGesture()) {
        qxInfo("selection") << "nothing was selected during the drag";
        state.setPasteboardContent(std::nullopt);
        return;
    }
    std::unique_ptr<QMimeData> saved = clipboard.snapshot();
    state.setLastPasteboardContent(saved ? std::optional<QString>(clipboard.text()) : std::nullopt);
    if (!m_deps.copier->copySelectionToClipboard()) {
        state.setPasteboardContent(std::nullopt);
        state.setLastPasteboardContent(QString());
        return;
    }
    state.setPasteboardContent(clipboard.text());
    if (!saved)
        return; // an empty clipboard keeps the selection
    clipboard.restore(std::move(saved));
    state.setLastPasteboardContent(QString());
}

void SelectionCopyMonitor::outsideClick(QPoint pointer)
{
    m_lastPoint = pointer;
    if (m_searchWindow)
        m_searchWindow->hide();
    ITranslationWindow *translation = m_deps.translationWindow;
    if (translation && translation->isShow() && !translation->frameGeometry().contains(pointer))
        translation->dismissWindow();
}

void SelectionCopyMonitor::searchBtnClicked()
{
    if (m_searchWindow)
        m_searchWindow->hide();
    if (m_deps.shell)
        if (QWidget *window = m_deps.shell->window())
            window->hide();
    m_deps.translate->hyperTranslate();
}
