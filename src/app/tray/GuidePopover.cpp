#include "GuidePopover.h"

#include "desktop/WindowPlacement.h"

#include <QCloseEvent>
#include <QCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kGap = 4; // between the item and the popover
} // namespace

GuidePopover::GuidePopover(QWidget *content, Mode mode) : QXBaseView(nullptr), m_mode(mode)
{
    if (mode == Mode::Popover) {
        // Not a Qt::Popup: that would close itself on the next click and leave the
        // item's shown flag wrong.
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
        // Over a light window it would have no edge.
        setLayerBorder(QColor(0, 0, 0, 46), 1);
    } else {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setWindowTitle(QStringLiteral("Quorvex"));
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setFixedSize(content->size());
}

QPoint GuidePopover::popoverOrigin(const QRect &anchor, const QSize &size, const QRect &screen, const QPoint &cursor)
{
    const QRect at = anchor.isEmpty() ? QRect(cursor, QSize(1, 1)) : anchor;
    int x = at.center().x() - size.width() / 2;
    int y = at.bottom() + 1 + kGap;
    if (!screen.isEmpty()) {
        if (y + size.height() > screen.bottom() + 1)
            y = at.top() - kGap - size.height();
        x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
        y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    }
    return {x, y};
}

void GuidePopover::showAt(const QRect &anchor)
{
    if (m_mode == Mode::Popover) {
        const QPoint cursor = QCursor::pos();
        const QRect screen = windowplacement::workAreaAt(anchor.isEmpty() ? cursor : anchor.center());
        move(popoverOrigin(anchor, size(), screen, cursor));
        show();
        raise();
        return;
    }
    if (!isVisible())
        windowplacement::centreOnPointerScreen(*this);
    show();
    raise();
    activateWindow();
}

void GuidePopover::closeEvent(QCloseEvent *event)
{
    // Closing only hides: the guide comes back on the next disconnection or launch request.
    event->accept();
    if (m_onClosed)
        m_onClosed();
}
